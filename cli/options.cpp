// options.cpp - parsing vantorel-host's command line.
#include "options.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace vhost {

namespace {

// The most lights --lights makes.
constexpr long long kMaxLights = 100000;
// The panel creates 13 controls; --fail control:K picks one of them.
constexpr long long kPanelControls = 13;

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
    // Options with a value say it once: a second one would silently win
    // (--save x --save y writes only y). --without and --fail add up.
    std::set<std::string> given;
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
            if (arg != "--without" && arg != "--fail" && !given.insert(arg).second) {
                error = arg + " is given twice; give it once (only --without and --fail may be repeated)";
                return false;
            }
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
            if (!toInt(value, 0, kMaxLights, n)) {
                error = "--lights takes a whole number from 0 to " + std::to_string(kMaxLights) +
                        " (the most it makes), not '" + value + "'";
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
        } else if (arg == "--diff") {
            out.diff = true;
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
            else if (value.rfind("control:", 0) == 0 && toInt(value.substr(8), 1, kPanelControls, n)) {
                if (out.conditions.failControl) {
                    error = "--fail control:K is given twice; one addControl call can fail, give one K";
                    return false;
                }
                out.conditions.failControl = static_cast<int>(n);
            } else {
                error = "--fail takes panel, raster or control:K with K from 1 to " +
                        std::to_string(kPanelControls) + " (the panel's controls, in creation order), not '" +
                        value + "'";
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
    if (out.diff && !out.scene) {
        error = "--diff shows what --save would write over the --scene file; add --scene FILE.lws";
        return false;
    }
    if (out.diff && out.save) {
        error =
            "--diff shows what --save would write and writes nothing; give one of them (look with --diff, "
            "then save with --save)";
        return false;
    }
    if (out.diff && out.shell) {
        error = "--diff does not go with --shell; the shell's \"Show changes\" button shows the diff";
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
    if (out.list && (out.validate || out.script || out.save || out.png || out.window || out.diff)) {
        error =
            "--list only reads the scene file and runs nothing; leave out --validate, --script, --save, "
            "--png, --diff and --window";
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
  --lights N               a scene of N point lights "Light 1".."Light N", N
                           from 0 to 100000: intensity 1.0, white, shadow off,
                           range 1.0, flags 0 (default: a built-in scene of
                           nine named lights of mixed types: Key, Fill, Rim,
                           Sun, Spot Left, Spot Right, spot back, Bounce,
                           Window). The panel lists the first 510 lights of
                           any scene; with more, stderr says so before it opens
  --scene FILE.lws         the lights of a LightWave scene file (LWSC 1 to 8),
                           in file order; a malformed file is an error naming
                           the file and line (exit 2). Not with --lights
  --save OUT.lws           after OK, write the scene with the edits the plug-in
                           sent: only changed settings' lines are rewritten,
                           every other byte stays as it was; animated channels
                           are never flattened (stderr names each one left
                           alone). After Cancel, if the panel never opened, or
                           if the script failed, nothing is written and stderr
                           says so. OUT may be the --scene file itself (the one
                           input an output may name); it is replaced only once
                           the new file is completely written. Needs --scene.
                           OK sends every light back, edited or not, as the
                           plug-in splits it into colour x intensity, so an
                           untouched light whose brightest colour is below 255
                           is rewritten, renormalised: colour 99 150 160 at 15%
                           comes back as 158 239 255 at 9.41%, the same light.
                           --diff shows every line a save changes
  --diff                   with --scene: run the session and write no scene;
                           stdout is a unified diff of what --save would write
                           against the --scene file as read ("--- a/NAME",
                           "+++ b/NAME", three lines of context), which patch
                           applies; stderr gets the warnings --save gives and
                           a line that counts the changes. The Layout commands
                           are not printed. After Cancel, or when the file
                           would not change, stdout stays empty and stderr
                           says why. A paste carries the copied light's
                           limited-range flag: the range may then be written
                           for a light whose falloff stays off in the file
                           (no command turns it on), which a warning names.
                           With --window the diff is printed once the window
                           has closed. Not with --save or --shell
  --force                  with --save over the --scene file: replace it even
                           though it changed on disk since it was read (by
                           default that save is refused, exit 3)
  --png FILE.png           write a picture of the panel as it was when it
                           closed; if it never opened, nothing is written
                           (with a warning), nor if the script failed
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
                           (K from 1 to 13, the panel's controls in creation
                           order) fails; may be repeated to combine panel,
                           raster and one control:K
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
                           options replays it with the same stdout. Work done
                           by hand is not lost: when the save after OK fails
                           (the scene changed on disk, a read-only file, a
                           full disk) or FILE cannot be written, the session
                           is kept as NAME-session-N.vts beside the scene file
                           (else beside --save, in the current folder or in
                           the temporary folder), with or without --record;
                           stderr names it and says how to replay it
  --shell                  with --window: a small stand-in for Layout instead
                           of one run: the scene's lights as a table (name,
                           type, intensity, colour, shadow, range) and the
                           buttons "vantorel" (run the plug-in's panel; as
                           often as you like, in one process, so its copied
                           settings carry over between runs), "Save" (to
                           --save; without it, over the --scene file after
                           asking), "Show changes" (what Save would write
                           now, as a diff against the file as read or as last
                           saved) and "Quit" (asks before dropping unsaved
                           edits). A save that fails offers "Save as..." (a
                           path typed into a field) and, when the file changed
                           on disk, "Save anyway" (as --force)
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

Each option that takes a value is given at most once, except --without and
--fail, which add up: a second --scene, --save or --lights is bad usage
(exit 2) naming it, rather than one of the two silently winning. Options
without a value (--force, --window, ...) may be repeated.

Output:
  stdout  exactly the Layout commands the plug-in sent, one per line, in order
          (with --diff: the diff instead)
  stderr  a transcript: "result: N" (the activation result), "error: TEXT" for
          each error box, "info: TEXT" for each text set on the info field,
          warnings, and failed expectations as FILE:LINE: LINE: what was
          expected and what was seen; with --save, "saved: FILE", or a note
          that nothing was written, and "warning: ..." for each setting the
          scene file could not take as edited; with --window, what SDL and
          the display libraries print comes as "vantorel-host: note: SDL: ..."

Files are written safely: the new bytes go to a temporary file in the same
folder, are flushed to the disk and then renamed over the old file, and the
folder is flushed; if any step fails the old file is left as it was (and a
new one is not made). A symbolic link is kept (the file it points to is
replaced); a FIFO or a device such as /dev/null or /dev/stdout is written
into, never replaced; a read-only file is refused; the old file's permission
bits are kept.

No output overwrites an input or another output. Before anything is loaded,
run or written, every output (--save, --png, --record, each snapshot FILE of
the script, and with --shell the Save target: --save, else the --scene file)
is compared with every input (--scene, --script or the file standard input
reads, the plug-in, also when found without --plugin) and with the other
outputs: as files on disk, so that symbolic and hard links count, and by full
path for files that do not exist yet. A match is bad usage (exit 2) naming
both, and nothing is run or written. --save may name the --scene file, and
snapshot lines may name one file (each picture replaces the one before). A
FIFO or a device (/dev/null twice) is no match; /dev/stdout counts as the
file it leads to.

The outputs are checked at start too, before the plug-in is loaded or a
window opens, so that no work is lost at the end to a wrong name: the folder
of each must exist and be writable, and an existing one must not be a folder
or read-only. Otherwise it is bad usage (exit 2) naming the option and the
folder, and nothing is run or written.

Pictures (--png, snapshot) are PNG files: the title bar, every control at its
place with its label and value (choices with the chosen item pressed, the
colour as a swatch and three numbers), ghosted controls dimmed, the light list
exactly as the plug-in painted it, the slider at its value, and OK and Cancel
(the one that closed the panel pressed). The same session gives the same bytes.

Exit status:
  0  the session ran, whatever the panel's outcome
  1  an expectation or an action of the script failed: the rest of the script
     was skipped and nothing was written (no --save, --png or later snapshot)
  2  bad usage (an unknown option, one given twice, an output that names an
     input or another output, an output whose folder is missing or not
     writable), an unreadable or malformed script or scene file (a folder or a
     device is neither), or a plug-in that cannot be loaded or is not ours;
     nothing is run or written
  3  the session ran but a file could not be written: --save, --png or a
     snapshot (stderr names the step that failed; the file that was there is
     left as it was), --save was refused because the --scene file changed
     on disk since it was read (see --force), or the edits hold a light type
     change that an LWSC 6 to 8 file cannot take (--save and --diff alike;
     nothing is written)
  4  the session ran but standard output could not be written completely (a
     full disk, a closed stream, or a reader that went away before the end);
     the commands on it are incomplete. 3 wins when both happen. With
     "| head -1" it depends on whether a write comes after head has exited:
     output of up to 4 KiB (the demo session's) goes out in one write at the
     end and gives 0; longer output usually gives 4, and always beyond what
     the pipe holds (64 KiB on Linux)

Exit status with --validate:
  0  every check passed
  1  a check failed
  2  bad usage or a plug-in that cannot be loaded
  4  standard output could not be written (--help and --version too: 0, or 4)

Exit status with --list:
  0  listed
  2  bad usage or an unreadable or malformed scene file
  4  standard output could not be written

In the window (--window):
  Click a light's name to select it (as the script's click), the wheel over
  the list scrolls one row per notch, press or drag the slider to scroll;
  click a field to edit it (a caret shows; Left, Right, Home, End, Backspace,
  Delete; Return or Tab commits and Tab moves on; Escape drops the edit;
  clicking elsewhere commits; a number field holding no number keeps its value
  and the status line below the panel says why); press the drag button and
  move sideways for a drag; click a choice item or a button. While no field is
  edited, keys go to the panel as the script's key action: printable
  characters (type-to-select), Backspace and the other mapped keys. Ghosted
  controls ignore the mouse in the window, as in Layout (scripts still reach
  them).
  The plug-in sends a light's range on OK only when its range is limited (its
  falloff is on); when Range is edited while selected lights have no limited
  range in the scene, the status line says so, e.g. "Range is not sent for
  Key: its range is not limited".

Session scripts:
  One action per line; # starts a comment; double quotes group words
  ("Spot Left"); inside quotes \" and \\ stand for " and \. Scripts are text:
  a NUL byte is an error naming its line and column. Numbers are decimal as in
  scene files: a sign, digits with a point and an exponent if wanted
  (50, -0.5, 1e-3), at most 400 characters; no hexadecimal, inf or nan. Whole
  numbers are plain digits from -2147483648 to 2147483647. A refused number
  says why (not a number, not whole, out of range, written with an exponent,
  too many digits). Scripts deliver values beyond the controls' ranges as
  written (color 300 0 -5, scroll -40, intensity -50), on purpose, to test how
  the plug-in takes them; the window holds the colour numbers to 0..255 and
  the slider to its range, as Layout does.

  click NAME [N]      click the row of the light named NAME, or of the Nth
                      light of that name (from 1; the first without N), in
                      the scene's order; a row out of view is scrolled to
                      first (the slider, 16 per row). NAME is UTF-8 and
                      matches the scene's names as --list shows them. Fails
                      if the scene has no such light, fewer than N of them,
                      or the list does not show it (it lists 510 lights);
                      --record writes clicks on rows this way
  click-y Y [X]       click at mouse y Y (and x X, default 0) of the list area
  scroll Y            move the list's slider to Y
  key K               a panel key: one character, backspace, or a code of two
                      or more characters, decimal or 0x-hex (key 0x1030)
  type TEXT           one key per character
  prefix TEXT         enter TEXT in the prefix field
  intensity V         intensity field (percent), then its event
  color R G B         colour control (0..255 each), then its event
  lighttype Distant|Point|Spot|Linear|Area|N
                      the light type choice, then its event
  shadow Off|Raytrace|ShadowMap|N
                      the shadow type choice, then its event
  range V             range field, then its event
  drag D1 D2 ...      one drag gesture: a starting event of distance 0, then
                      one event per distance with step counters rising by
                      one; each sets the intensity to the one at the start of
                      the gesture minus D/10 percent, so a negative distance
                      (the pointer moved right) raises it: drag -100 adds 10
  drag-event DIST COUNTER
                      one raw drag event; it continues a gesture when COUNTER
                      is one more than the last event's
  copy, paste, clear  press "copy", "paste" or "Clear selection"
  snapshot FILE.png   write a picture of the panel as it is now; if it cannot
                      be written the script fails there (exit 3)
  ok, cancel          close the panel; a script without one closes with Cancel
                      and warns; only expect lines may follow

Expectations (numbers compare within 1e-6):
  expect selected NAME...
                      exactly the rows drawn on a selection bar in the last
                      paint, in list order; none if no NAME
  expect field intensity|range V
                      the field's value
  expect field color R G B
                      the colour control's three numbers
  expect field lighttype|shadow WORD-or-N
                      the choice's item
  expect ghosted yes|no
                      the draw state of all nine property controls; fails if
                      they disagree
  expect info TEXT    the info field's text
  expect error TEXT   an error box with this text was shown
  expect prefix TEXT  the prefix field's text
  expect result N     the activation result, checked at the end

A failed expectation stops the script at that line, as an action that
cannot be delivered (no such row, no handler) does: the rest is skipped, the
panel is cancelled, nothing is written after it (no --save, no --png, no
later snapshot; stderr says so) and the exit status is 1. Expectations after
ok/cancel see the panel as it was when it closed; they are checked before any
file is written, and one that fails writes nothing either (the commands of an
OK are on stdout by then).

If the panel never opens (a result other than 0, a toolkit below 18, a
failure exit) the script does not run; that is no error (exit 0, with a
warning), and only its "expect result" and "expect error" lines are checked.

Events reach controls whether or not they are drawn ghosted.
)";
}

}  // namespace vhost
