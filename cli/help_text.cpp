// help_text.cpp - the --help text: the option list from the option table,
// and each prose section once.
#include "option_table.h"
#include "options.h"

namespace vhost {

namespace {

// What the program is.
constexpr const char *kIntro =
    "Usage: vantorel-host [OPTIONS]\n"
    "\n"
    "Runs the Vantorel plug-in once inside a simulated LightWave Layout: loads the\n"
    "plug-in, activates it on a scene, drives its modal panel with a session script\n"
    "and applies the Layout commands it sends back to the scene.\n"
    "\n";

// Where its output goes.
constexpr const char *kOutput =
    "Output:\n"
    "  stdout  exactly the Layout commands the plug-in sent, one per line, in order\n"
    "          (with --diff: the diff instead)\n"
    "  stderr  the plug-in's transcript: \"result: N\" (the activation result),\n"
    "          \"error: TEXT\" for each error box and \"info: TEXT\" for each text set\n"
    "          on the info field; the host's own messages, each line marked\n"
    "          \"vantorel-host: error: \", \"vantorel-host: warning: \" or\n"
    "          \"vantorel-host: note: \"; a failed expectation or action as\n"
    "          FILE:LINE: error: LINE: what was expected and what was seen (the\n"
    "          form an editor jumps to, as for a compiler); with --save, \"saved:\n"
    "          FILE\", or a note that nothing was written, and a warning for each\n"
    "          setting the scene file could not take as edited; with --window,\n"
    "          what SDL and the display libraries print comes as \"vantorel-host:\n"
    "          note: SDL: ...\"\n"
    "\n";

// How files are written, and the checks made before a run.
constexpr const char *kFiles =
    "Files are written safely: the new bytes go to a temporary file in the same\n"
    "folder, are flushed to the disk and then renamed over the old file, and the\n"
    "folder is flushed; if any step fails the old file is left as it was (and a\n"
    "new one is not made). A symbolic link is kept (the file it points to is\n"
    "replaced); a FIFO or a device such as /dev/null or /dev/stdout is written\n"
    "into, never replaced; a read-only file is refused; the old file's permission\n"
    "bits are kept.\n"
    "\n"
    "No output overwrites an input or another output. Before anything is loaded,\n"
    "run or written, every output (--save, --png, --record, each snapshot FILE of\n"
    "the script, and with --shell the Save target: --save, else the --scene file)\n"
    "is compared with every input (--scene, --script or the file standard input\n"
    "reads, the plug-in, also when found without --plugin) and with the other\n"
    "outputs: as files on disk, so that symbolic and hard links count, and by full\n"
    "path for files that do not exist yet. A match is bad usage (exit 2) naming\n"
    "both, and nothing is run or written. --save may name the --scene file, and\n"
    "snapshot lines may name one file (each picture replaces the one before). A\n"
    "FIFO or a device (/dev/null twice) is no match; /dev/stdout counts as the\n"
    "file it leads to.\n"
    "\n"
    "The outputs are checked at start too, before the plug-in is loaded or a\n"
    "window opens, so that no work is lost at the end to a wrong name: the folder\n"
    "of each must exist and be writable, and an existing one must not be a folder\n"
    "or read-only. Otherwise it is bad usage (exit 2) naming the option and the\n"
    "folder, and nothing is run or written.\n"
    "\n";

// What the pictures show.
constexpr const char *kPictures =
    R"(Pictures (--png, snapshot) are PNG files: the title bar, every control at its
place with its label and value (choices with the chosen item pressed, the
colour as a swatch and three numbers), ghosted controls dimmed, the light list
exactly as the plug-in painted it, the slider at its value, and OK and Cancel
(the one that closed the panel pressed). The same session gives the same bytes.

)";

// The exit statuses of each mode.
constexpr const char *kExitStatus =
    "Exit status:\n"
    "  0  the session ran, whatever the panel's outcome\n"
    "  1  an expectation or an action of the script failed: the rest of the script\n"
    "     was skipped and nothing was written (no --save, --png or later snapshot)\n"
    "  2  bad usage (an unknown option, one given twice, an output that names an\n"
    "     input or another output, an output whose folder is missing or not\n"
    "     writable), an unreadable or malformed script or scene file (a folder or a\n"
    "     device is neither), or a plug-in that cannot be loaded or is not ours;\n"
    "     nothing is run or written\n"
    "  3  the session ran but a file could not be written: --save, --png or a\n"
    "     snapshot (stderr names the step that failed; the file that was there is\n"
    "     left as it was), --save was refused because the --scene file changed\n"
    "     on disk since it was read (see --force), or the edits hold a light type\n"
    "     change that an LWSC 6 to 8 file cannot take (--save and --diff alike;\n"
    "     nothing is written)\n"
    "  4  the session ran but standard output could not be written completely (a\n"
    "     full disk, a closed stream, or a reader that went away before the end);\n"
    "     the commands on it are incomplete. 3 wins when both happen. With\n"
    "     \"| head -1\" it depends on whether a write comes after head has exited:\n"
    "     output of up to 4 KiB (the demo session's) goes out in one write at the\n"
    "     end and gives 0; longer output usually gives 4, and always beyond what\n"
    "     the pipe holds (64 KiB on Linux)\n"
    "\n"
    "Exit status with --validate:\n"
    "  0  every check passed\n"
    "  1  a check failed\n"
    "  2  bad usage or a plug-in that cannot be loaded\n"
    "  3  the failure script or its scene (--failure-script) could not be written\n"
    "  4  standard output could not be written (--help and --version too: 0, or 4)\n"
    "\n"
    "Exit status with --list:\n"
    "  0  listed\n"
    "  2  bad usage or an unreadable or malformed scene file\n"
    "  4  standard output could not be written\n"
    "\n";

// The window.
constexpr const char *kWindow =
    "In the window (--window):\n"
    "  Click a light's name to select it (as the script's click), the wheel over\n"
    "  the list scrolls one row per notch, press or drag the slider to scroll;\n"
    "  click a field to edit it (a caret shows; Left, Right, Home, End, Backspace,\n"
    "  Delete; Return or Tab commits and Tab moves on; Escape drops the edit;\n"
    "  clicking elsewhere commits; a number field holding no number keeps its value\n"
    "  and the status line below the panel says why); press the drag button and\n"
    "  move sideways for a drag; click a choice item or a button. While no field is\n"
    "  edited, keys go to the panel as the script's key action: printable\n"
    "  characters (type-to-select), Backspace and the other mapped keys. Ghosted\n"
    "  controls ignore the mouse in the window, as in Layout (scripts still reach\n"
    "  them).\n"
    "  The plug-in sends a light's range on OK only when its range is limited (its\n"
    "  falloff is on); when Range is edited while selected lights have no limited\n"
    "  range in the scene, the status line says so, e.g. \"Range is not sent for\n"
    "  Key: its range is not limited\".\n"
    "\n";

// The session-script language.
constexpr const char *kScripts =
    "Session scripts:\n"
    "  One action per line; # starts a comment; double quotes group words\n"
    "  (\"Spot Left\"); inside quotes \\\" and \\\\ stand for \" and \\. Scripts are text:\n"
    "  a NUL byte is an error naming its line and column. Numbers are decimal as in\n"
    "  scene files: a sign, digits with a point and an exponent if wanted\n"
    "  (50, -0.5, 1e-3), at most 400 characters; no hexadecimal, inf or nan. Whole\n"
    "  numbers are plain digits from -2147483648 to 2147483647. A refused number\n"
    "  says why (not a number, not whole, out of range, written with an exponent,\n"
    "  too many digits). Scripts deliver values beyond the controls' ranges as\n"
    "  written (color 300 0 -5, scroll -40, intensity -50), on purpose, to test how\n"
    "  the plug-in takes them; the window holds the colour numbers to 0..255 and\n"
    "  the slider to its range, as Layout does.\n"
    "\n"
    "  click NAME [N]      click the row of the light named NAME, or of the Nth\n"
    "                      light of that name (from 1; the first without N), in\n"
    "                      the scene's order; a row out of view is scrolled to\n"
    "                      first (the slider, 16 per row). NAME is UTF-8 and\n"
    "                      matches the scene's names as --list shows them. Fails\n"
    "                      if the scene has no such light, fewer than N of them,\n"
    "                      or the list does not show it (it lists 510 lights);\n"
    "                      --record writes clicks on rows this way\n"
    "  click-y Y [X]       click at mouse y Y (and x X, default 0) of the list area\n"
    "  scroll Y            move the list's slider to Y\n"
    "  key K               a panel key: one character, backspace, or a code of two\n"
    "                      or more characters, decimal or 0x-hex (key 0x1030)\n"
    "  type TEXT           one key per character (ASCII, or Latin-1 from U+00A0;\n"
    "                      another character has no key and fails)\n"
    "  prefix TEXT         enter TEXT in the prefix field; TEXT is UTF-8 and\n"
    "                      reaches the plug-in in the bytes of the scene's\n"
    "                      names (cp1252 where --list reads them so; a\n"
    "                      character cp1252 lacks fails)\n"
    "  intensity V         intensity field (percent), then its event\n"
    "  color R G B         colour control (0..255 each), then its event\n"
    "  lighttype Distant|Point|Spot|Linear|Area|N\n"
    "                      the light type choice, then its event\n"
    "  shadow Off|Raytrace|ShadowMap|N\n"
    "                      the shadow type choice, then its event\n"
    "  range V             range field, then its event\n"
    "  drag D1 D2 ...      one drag gesture: a starting event of distance 0, then\n"
    "                      one event per distance with step counters rising by\n"
    "                      one; each sets the intensity to the one at the start of\n"
    "                      the gesture minus D/10 percent, so a negative distance\n"
    "                      (the pointer moved right) raises it: drag -100 adds 10\n"
    "  drag-event DIST COUNTER\n"
    "                      one raw drag event; it continues a gesture when COUNTER\n"
    "                      is one more than the last event's\n"
    "  copy, paste, clear  press \"copy\", \"paste\" or \"Clear selection\"\n"
    "  snapshot FILE.png   write a picture of the panel as it is now; if it cannot\n"
    "                      be written the script fails there (exit 3)\n"
    "  ok, cancel          close the panel; a script without one closes with Cancel\n"
    "                      and warns; only expect lines may follow\n"
    "\n"
    "Expectations (numbers compare within 1e-6):\n"
    "  expect selected NAME...\n"
    "                      exactly the rows drawn on a selection bar in the last\n"
    "                      paint, in list order; none if no NAME\n"
    "  expect field intensity|range V\n"
    "                      the field's value\n"
    "  expect field color R G B\n"
    "                      the colour control's three numbers\n"
    "  expect field lighttype|shadow WORD-or-N\n"
    "                      the choice's item\n"
    "  expect ghosted yes|no\n"
    "                      the draw state of all nine property controls; fails if\n"
    "                      they disagree\n"
    "  expect info TEXT    the info field's text\n"
    "  expect error TEXT   an error box with this text was shown\n"
    "  expect prefix TEXT  the prefix field's text\n"
    "  expect result N     the activation result, checked at the end\n"
    "  expect command N TEXT\n"
    "                      the Nth command sent to Layout (from 1) is exactly\n"
    "                      TEXT, checked at the end\n"
    "  expect commands N   exactly N commands were sent, checked at the end\n"
    "\n"
    "A failed expectation stops the script at that line, as an action that\n"
    "cannot be delivered (no such row, no handler) does: the rest is skipped, the\n"
    "panel is cancelled, nothing is written after it (no --save, no --png, no\n"
    "later snapshot; stderr says so) and the exit status is 1. Expectations after\n"
    "ok/cancel see the panel as it was when it closed; they are checked before any\n"
    "file is written, and one that fails writes nothing either (the commands of an\n"
    "OK are on stdout by then).\n"
    "\n"
    "If the panel never opens (a result other than 0, a toolkit below 18, a\n"
    "failure exit) the script does not run; that is no error (exit 0, with a\n"
    "warning), and only its \"expect result\", \"expect error\" and \"expect\n"
    "command(s)\" lines are checked.\n"
    "\n"
    "Events reach controls whether or not they are drawn ghosted.\n";

}  // namespace

std::string helpText() {
    std::string text = kIntro;
    text += optionHelp();
    text += "\n";
    for (const char *section : {kOutput, kFiles, kPictures, kExitStatus, kWindow, kScripts}) text += section;
    return text;
}

}  // namespace vhost
