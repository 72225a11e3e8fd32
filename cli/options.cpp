// options.cpp - parsing vantorel-host's command line.
#include "options.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vhost {

namespace {

bool toInt(const std::string &w, long long lo, long long hi, long long &out) {
    if (w.empty()) return false;
    errno = 0;
    char *end = nullptr;
    long long v = std::strtoll(w.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

bool parseOptions(int argc, char **argv, Options &out, std::string &error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (arg.rfind("--", 0) == 0) {
            size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                hasValue = true;
            }
        }
        auto need = [&](const char *what) -> bool {
            if (hasValue) return true;
            if (i + 1 >= argc) {
                error = arg + " needs " + what;
                return false;
            }
            value = argv[++i];
            return true;
        };
        long long n = 0;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--plugin") {
            if (!need("a file name")) return false;
            out.plugin = value;
        } else if (arg == "--lights") {
            if (!need("a number of lights")) return false;
            if (!toInt(value, 0, 100000, n)) {
                error = "--lights takes a whole number from 0 to 100000, not '" + value + "'";
                return false;
            }
            out.lights = static_cast<int>(n);
        } else if (arg == "--scene" || arg == "--save" || arg == "--png") {
            if (!need("a file name")) return false;
            if (value.empty()) {
                error = arg + " needs a file name, not an empty one";
                return false;
            }
            (arg == "--scene" ? out.scene : arg == "--save" ? out.save : out.png) = value;
        } else if (arg == "--script") {
            if (!need("a file name, or - for standard input")) return false;
            out.script = value;
        } else if (arg == "--interface-version" || arg == "--toolkit-version") {
            if (!need("a number")) return false;
            if (!toInt(value, INT32_MIN, INT32_MAX, n)) {
                error = arg + " takes a whole number, not '" + value + "'";
                return false;
            }
            (arg == "--interface-version" ? out.conditions.interfaceVersion : out.conditions.toolkitVersion) =
                static_cast<int32_t>(n);
        } else if (arg == "--without") {
            if (!need("the name of a global, such as \"LW Light Info\"")) return false;
            out.conditions.missingGlobals.insert(value);
        } else if (arg == "--validate") {
            out.validate = true;
        } else if (arg == "--force") {
            out.force = true;
        } else if (arg == "--seed") {
            if (!need("a number")) return false;
            if (!toInt(value, 0, INT64_MAX, n)) {
                error = "--seed takes a whole number from 0, not '" + value + "'";
                return false;
            }
            out.seed = static_cast<unsigned long long>(n);
        } else if (arg == "--runs") {
            if (!need("a number of random sessions")) return false;
            if (!toInt(value, 0, 10000000, n)) {
                error = "--runs takes a whole number from 0 to 10000000, not '" + value + "'";
                return false;
            }
            out.runs = static_cast<int>(n);
        } else if (arg == "--list") {
            out.list = true;
        } else if (arg == "--json") {
            out.json = true;
        } else if (arg == "--fail") {
            if (!need("panel, raster or control:K")) return false;
            if (value == "panel") out.conditions.failPanelCreate = true;
            else if (value == "raster") out.conditions.failRasterCreate = true;
            else if (value.rfind("control:", 0) == 0 && toInt(value.substr(8), 1, 1000000, n))
                out.conditions.failControl = static_cast<int>(n);
            else {
                error = "--fail takes panel, raster or control:K with K from 1, not '" + value + "'";
                return false;
            }
        } else if (arg == "--window") {
            out.window = true;
        } else if (arg == "--shell") {
            out.shell = true;
        } else if (arg == "--zoom") {
            if (!need("a zoom factor from 1 to 4")) return false;
            if (!toInt(value, 1, 4, n)) {
                error = "--zoom takes a whole number from 1 to 4, not '" + value + "'";
                return false;
            }
            out.zoom = static_cast<int>(n);
        } else if (arg == "--record") {
            if (!need("a file name")) return false;
            if (value.empty()) {
                error = "--record needs a file name, not an empty one";
                return false;
            }
            out.record = value;
        } else {
            error = "unknown argument '" + std::string(argv[i]) + "'";
            return false;
        }
    }
    if ((out.seed || out.runs) && !out.validate) {
        error = "--seed and --runs go with --validate";
        return false;
    }
    if (out.scene && out.lights) {
        error = "--scene and --lights both say which lights to use; give one of them";
        return false;
    }
    if (out.save && !out.scene) {
        error = "--save writes the scene read with --scene; add --scene FILE.lws";
        return false;
    }
    if (out.force && !out.save) {
        error = "--force goes with --save (it saves over a scene file that changed on disk)";
        return false;
    }
    if (out.save && out.png && *out.save == *out.png) {
        error = "--save and --png name the same file '" + *out.save + "'; give two different files";
        return false;
    }
    if (out.json && !out.list) {
        error = "--json is the output format of --list; add --list --scene FILE.lws";
        return false;
    }
    if (out.list && !out.scene) {
        error = "--list lists the lights of a scene file; add --scene FILE.lws";
        return false;
    }
    if (out.list && (out.validate || out.script || out.save || out.png || out.window)) {
        error =
            "--list only reads the scene file and runs nothing; leave out --validate, --script, --save, "
            "--png "
            "and --window";
        return false;
    }
    if ((out.shell || out.zoom || out.record) && !out.window) {
        error = "--shell, --zoom and --record go with --window";
        return false;
    }
    if (out.window && out.script) {
        error =
            "--script plays a session without a window and --window lets you play it by hand; "
            "give one of them (record a window session with --record FILE.vts)";
        return false;
    }
    if (out.window && out.validate) {
        error = "--validate runs without a window; leave out --window";
        return false;
    }
    if (out.record && out.shell) {
        error = "--record records one run of the panel; it does not go with --shell";
        return false;
    }
    if (out.record && ((out.save && *out.record == *out.save) || (out.png && *out.record == *out.png) ||
                       (out.scene && *out.record == *out.scene))) {
        error = "--record names a file also given to --scene, --save or --png; give a file of its own";
        return false;
    }
    return true;
}

const char *helpText() {
    return R"(Usage: vantorel-host [OPTIONS]

Runs the Vantorel plug-in once inside a simulated LightWave Layout: loads the
plug-in, activates it on a scene, drives its modal panel with a session script
and applies the Layout commands it sends back to the scene.

Options:
  --plugin FILE            the plug-in to load (default: vantorel.p beside
                           this program, else in ../lib/vantorel/ relative to
                           it, where cmake --install puts it)
  --lights N               a scene of N point lights "Light 1".."Light N":
                           intensity 1.0, white, shadow off, range 1.0, flags 0
                           (default: a built-in scene of nine named lights of
                           mixed types: Key, Fill, Rim, Sun, Spot Left,
                           Spot Right, spot back, Bounce, Window)
  --scene FILE.lws         the lights of a LightWave scene file (LWSC 1 to 8),
                           in file order; a malformed file is an error naming
                           the file and line (exit 2). Not with --lights
  --save OUT.lws           after OK, write the scene with the edits the plug-in
                           sent: only changed settings' lines are rewritten,
                           every other byte stays as it was; animated channels
                           are never flattened (stderr names each one left
                           alone). After Cancel, or if the panel never opened,
                           nothing is written and stderr says so. OUT may be
                           the --scene file itself; it is replaced only once
                           the new file is completely written. Needs --scene
  --force                  with --save over the --scene file: replace it even
                           though it changed on disk since it was read (by
                           default that save is refused, exit 3)
  --png FILE.png           write a picture of the panel as it was when it
                           closed; if it never opened, nothing is written
                           (with a warning)
  --script FILE|-          the session script to play; - reads standard input
                           (default: a built-in demo session that selects,
                           edits, copies, pastes and presses OK; it clicks the
                           built-in scene's lights by name, so give a script
                           with --scene)
  --interface-version N    interface version passed to the activation (default 4)
  --toolkit-version N      panel toolkit version the host reports (default 20)
  --without NAME           the global lookup answers null for NAME, e.g.
                           --without "LW Light Info"; may be repeated
  --fail panel|raster|control:K
                           panel create, raster create, or the Kth addControl
                           (counting from 1 in creation order) fails
  --validate               check the plug-in instead of running a session:
                           its descriptor; 1,000 activations of one loaded
                           library on random scenes of 0 to 600 lights; every
                           host fault (each global lookup answering null, panel
                           or raster create failing, each of the 13 addControl
                           calls failing, an old interface or toolkit version);
                           random sessions with hostile values, each checked
                           for well-formed commands, no nan/inf, a prefix of at
                           most 255 characters, no row past the filled ones
                           written, and against a model of the light table that
                           predicts the commands sent on OK; every light no
                           event edited must come back as the host reported it.
                           Prints one PASS/FAIL line per check and a summary
                           line; a failing lifecycle or random session is shrunk
                           to the fewest activations, events and lights that
                           still fail, and printed with its seed. --plugin,
                           --seed and --runs apply; the other options are ignored
  --window                 play the panel by hand in a real window instead of
                           with a script: mouse and keyboard drive the same
                           host events as the script actions; the window title
                           is the panel's title; OK is the only way to OK,
                           closing the window or Escape (no field being
                           edited) is Cancel. Works with --scene, --lights,
                           --save, --png, --plugin and the host conditions;
                           stdout, stderr and the exit status are those of a
                           script run. Needs SDL2 at build time (Debian
                           package libsdl2-dev) and a display (or xvfb-run).
                           The Windows vantorel-host.exe has no windows
  --zoom N                 with --window: every panel pixel is N x N screen
                           pixels, N from 1 to 4 (default: the largest N at
                           which the window fits the screen; 1 on a 1080p
                           screen, 2 from 1440 lines up)
  --record FILE.vts        with --window: when the panel closes, write what
                           was done as a session script ending in ok or
                           cancel; --script FILE.vts with the same scene and
                           options replays it with the same stdout
  --shell                  with --window: a small stand-in for Layout instead
                           of one run: the scene's lights as a table (name,
                           type, intensity, colour, shadow, range) and the
                           buttons "vantorel" (run the plug-in's panel; as
                           often as you like, in one process, so its copied
                           settings carry over between runs), "Save" (to
                           --save; without it, over the --scene file after
                           asking) and "Quit" (asks before dropping unsaved
                           edits)
  --seed S                 with --validate: seed of every random choice
                           (default 1); the same seed replays the same checks
  --runs N                 with --validate: random sessions (default 300)
  --version                print the version, the plug-in's file name and
                           whether window support was built in
  --list                   with --scene: print the file's lights, one line
                           each, and exit without loading the plug-in or
                           writing anything: item ID, name, light type,
                           intensity in percent, colour (0-255, rounded),
                           shadow type, range and whether the range is limited.
                           A "*" marks an animated value, shown at time 0.
                           Names are UTF-8 in double quotes (names that are
                           not UTF-8 are read as Windows-1252)
  --json                   with --list: print one JSON document instead: the
                           file, its LWSC version and the lights with the same
                           fields, numbers as numbers
  -h, --help               show this text

Output:
  stdout  exactly the Layout commands the plug-in sent, one per line, in order
  stderr  a transcript: "result: N" (the activation result), "error: TEXT" for
          each error box, "info: TEXT" for each text set on the info field,
          warnings, and failed expectations as FILE:LINE: LINE: what was
          expected and what was seen; with --save, "saved: FILE", or a note
          that nothing was written, and "warning: ..." for each setting the
          scene file could not take as edited

Files are written safely: the new bytes go to a temporary file in the same
folder, are flushed to the disk and then renamed over the old file, and the
folder is flushed; if any step fails the old file is left as it was. A
symbolic link is kept (the file it points to is replaced); a FIFO or a device
such as /dev/null or /dev/stdout is written into, never replaced; a read-only
file is refused; the old file's permission bits are kept.

Pictures (--png, snapshot) are PNG files: the title bar, every control at its
place with its label and value (choices with the chosen item pressed, the
colour as a swatch and three numbers), ghosted controls dimmed, the light list
exactly as the plug-in painted it, the slider at its value, and OK and Cancel
(the one that closed the panel pressed). The same session gives the same bytes.

Exit status:
  0  the session ran, whatever the panel's outcome
  1  an expectation or an action of the script failed
  2  bad usage, an unreadable or malformed script or scene file, or a plug-in
     that cannot be loaded or is not ours; nothing is written
  3  the session ran but a file could not be written: --save, --png or a
     snapshot (stderr names the step that failed; the file that was there is
     left as it was), or --save was refused because the --scene file changed
     on disk since it was read (see --force)
  4  the session ran but standard output could not be written completely (a
     full disk, a closed stream, or a reader that stopped early such as
     "| head -1"); the commands on it are incomplete. 3 wins when both happen
  With --validate: 0 every check passed, 1 a check failed, 2 bad usage or a
  plug-in that cannot be loaded, 4 standard output could not be written
  (--help too: 0, or 4)
  With --list: 0 listed, 2 bad usage or an unreadable or malformed scene
  file, 4 standard output could not be written

In the window (--window): click a light's name to select it (as the script's
click-y), the wheel over the list scrolls one row per notch, press or drag the
slider to scroll; click a field to edit it (a caret shows; Left, Right, Home,
End, Backspace, Delete; Return or Tab commits and Tab moves on; Escape drops the
edit; clicking elsewhere commits; a number field holding no number keeps its
value and the status line below the panel says why); press the drag button and
move sideways for a drag; click a choice item or a button. While no field is
edited, keys go to the panel as the script's key action: printable characters
(type-to-select), Backspace and the other mapped keys. Ghosted controls ignore
the mouse in the window, as in Layout (scripts still reach them).

Session scripts: one action per line; # starts a comment; double quotes group
words ("Spot Left"); inside quotes \" and \\ stand for " and \.
  click NAME          click the first row drawn with exactly that text in the
                      list's last paint; an error if no visible row holds it
  click-y Y [X]       click at mouse y Y (and x X, default 0) of the list area
  scroll Y            move the list's slider to Y
  key K               a panel key: one character, backspace, or a code of two
                      or more characters, decimal or 0x-hex (key 0x1030)
  type TEXT           one key per character
  prefix TEXT         enter TEXT in the prefix field
  intensity V         intensity field (percent), then its event
  color R G B         colour control (0..255 each), then its event
  lighttype Distant|Point|Spot|Linear|Area|N
  shadow Off|Raytrace|ShadowMap|N
  range V             range field, then its event
  drag D1 D2 ...      one drag gesture: a starting event of distance 0, then
                      one event per distance with step counters rising by one
  drag-event DIST COUNTER   one raw drag event
  copy, paste, clear  press "copy", "paste" or "Clear selection"
  snapshot FILE.png   write a picture of the panel as it is now; if it cannot
                      be written the script fails there (exit 3)
  ok, cancel          close the panel; a script without one closes with Cancel
                      and warns; only expect lines may follow
Expectations (numbers compare within 1e-6; a failure sets exit status 1):
  expect selected NAME...     exactly the rows drawn on a selection bar in the
                              last paint, in list order; none if no NAME
  expect field intensity|range V
  expect field color R G B
  expect field lighttype|shadow WORD-or-N
  expect ghosted yes|no       the draw state of all nine property controls;
                              fails if they disagree
  expect info TEXT            the info field's text
  expect error TEXT           an error box with this text was shown
  expect prefix TEXT          the prefix field's text
  expect result N             the activation result, checked at the end
Expectations after ok/cancel see the panel as it was when it closed. If the
panel never opens (a result other than 0, a toolkit below 18, a failure exit)
the script does not run; that is no error (exit 0, with a warning), and only
its "expect result" and "expect error" lines are checked.
An action that cannot be delivered (no such row, no handler) fails the script:
the rest is skipped, the panel is cancelled and the exit status is 1.
Events reach controls whether or not they are drawn ghosted.
)";
}

}  // namespace vhost
