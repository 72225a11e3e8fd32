// option_table.cpp - every option of vantorel-host: its value, the modes it
// works in, what it needs and excludes, how it is stored, and its help.
#include "option_table.h"

#include <cstdint>
#include <optional>

namespace vhost {

namespace {

// The most lights --lights makes.
constexpr long long kMaxLights = 100000;
// The panel creates 13 controls; --fail control:K picks one of them.
constexpr long long kPanelControls = 13;
// The modes that run the plug-in's panel.
constexpr unsigned kRunModes = kScriptMode | kWindowMode | kShellMode;
// The width of --help: the option column, then the help.
constexpr std::size_t kHelpWidth = 79;
constexpr std::size_t kHelpIndent = 27;

using Store = bool (*)(Options &, const std::string &, long long, std::string &);

template <bool Options::*Member>
bool setFlag(Options &out, const std::string &, long long, std::string &) {
    out.*Member = true;
    return true;
}

template <std::optional<std::string> Options::*Member>
bool setText(Options &out, const std::string &text, long long, std::string &) {
    out.*Member = text;
    return true;
}

template <std::optional<int> Options::*Member>
bool setInt(Options &out, const std::string &, long long number, std::string &) {
    out.*Member = static_cast<int>(number);
    return true;
}

bool setPlugin(Options &out, const std::string &text, long long, std::string &) {
    out.plugin = text;
    return true;
}

bool setSeed(Options &out, const std::string &, long long number, std::string &) {
    out.seed = static_cast<unsigned long long>(number);
    return true;
}

bool setInterfaceVersion(Options &out, const std::string &, long long number, std::string &) {
    out.conditions.interfaceVersion = static_cast<int32_t>(number);
    return true;
}

bool setToolkitVersion(Options &out, const std::string &, long long number, std::string &) {
    out.conditions.toolkitVersion = static_cast<int32_t>(number);
    return true;
}

bool setWithout(Options &out, const std::string &text, long long, std::string &) {
    out.conditions.missingGlobals.insert(text);
    return true;
}

bool setFail(Options &out, const std::string &text, long long, std::string &error) {
    if (text == "panel") {
        out.conditions.failPanelCreate = true;
        return true;
    }
    if (text == "raster") {
        out.conditions.failRasterCreate = true;
        return true;
    }
    const std::string digits = text.rfind("control:", 0) == 0 ? text.substr(8) : std::string();
    const bool whole =
        !digits.empty() && digits.size() <= 2 && digits.find_first_not_of("0123456789") == std::string::npos;
    const long long k = whole ? std::stoll(digits) : 0;
    if (k < 1 || k > kPanelControls) {
        error = "--fail takes panel, raster or control:K with K from 1 to " + std::to_string(kPanelControls) +
                " (the panel's controls, in creation order), not '" + text + "'";
        return false;
    }
    if (out.conditions.failControl) {
        error = "--fail control:K is given twice; one addControl call can fail, give one K";
        return false;
    }
    out.conditions.failControl = static_cast<int>(k);
    return true;
}

// Builds one row of the table.
struct Row {
    OptionEntry entry;

    Row(const char *name, unsigned modes, Store store) {
        entry.name = name;
        entry.shortName = nullptr;
        entry.modes = modes;
        entry.store = store;
    }
    Row &value(ValueKind kind, const char *valueName, const char *needed) {
        entry.kind = kind;
        entry.valueName = valueName;
        entry.valueNeeded = needed;
        return *this;
    }
    Row &range(long long low, long long high, const char *note = nullptr) {
        entry.low = low;
        entry.high = high;
        entry.rangeNote = note;
        return *this;
    }
    Row &shortName(const char *name) {
        entry.shortName = name;
        return *this;
    }
    Row &repeats() {
        entry.repeats = true;
        return *this;
    }
    Row &needs(const char *other, const char *message) {
        entry.needs.push_back({other, message});
        return *this;
    }
    Row &conflicts(const char *other, const char *message) {
        entry.conflicts.push_back({other, message});
        return *this;
    }
    Row &help(const char *text) {
        entry.help = text;
        return *this;
    }
};

constexpr const char *kWindowOnly = "--shell, --zoom and --record go with --window";
constexpr const char *kValidateOnly = "--seed and --runs go with --validate";
constexpr const char *kListRunsNothing =
    "--list only reads the scene file and runs nothing; leave out --validate, --script, --save, --png, "
    "--diff and --window";

const std::vector<OptionEntry> kOptions = {
    Row("--plugin", kRunModes | kValidateMode, setPlugin)
        .value(ValueKind::File, "FILE", "a file name")
        .help("the plug-in to load (default: vantorel.p beside this program, else in ../lib/vantorel/ "
              "relative to it, where cmake --install puts it)")
        .entry,
    Row("--lights", kRunModes, setInt<&Options::lights>)
        .value(ValueKind::Number, "N", "a number of lights")
        .range(0, kMaxLights, "(the most it makes)")
        .help("a scene of N point lights \"Light 1\"..\"Light N\", N from 0 to 100000: intensity 1.0, white, "
              "shadow off, range 1.0, flags 0 (default: a built-in scene of nine named lights of mixed "
              "types: Key, Fill, Rim, Sun, Spot Left, Spot Right, spot back, Bounce, Window). The panel "
              "lists the first 510 lights of any scene; with more, stderr says so before it opens")
        .entry,
    Row("--scene", kRunModes | kListMode, setText<&Options::scene>)
        .value(ValueKind::File, "FILE.lws", "a file name")
        .conflicts("--lights", "--scene and --lights both say which lights to use; give one of them")
        .help("the lights of a LightWave scene file (LWSC 1 to 8), in file order; a malformed file is an "
              "error naming the file and line (exit\t2). Not with --lights")
        .entry,
    Row("--save", kRunModes, setText<&Options::save>)
        .value(ValueKind::File, "OUT.lws", "a file name")
        .needs("--scene", "--save writes the scene read with --scene; add --scene FILE.lws")
        .help("after OK, write the scene with the edits the plug-in sent: only changed settings' lines are "
              "rewritten, every other byte stays as it was; animated channels are never flattened (stderr "
              "names each one left alone). After Cancel, if the panel never opened, or if the script "
              "failed, nothing is written and stderr says so. OUT may be the --scene file itself (the one "
              "input an output may name); it is replaced only once the new file is completely written. "
              "Needs --scene. OK sends every light back, edited or not, as the plug-in splits it into "
              "colour x intensity, so an untouched light whose brightest colour is below 255 is rewritten, "
              "renormalised: colour 99 150 160 at 15% comes back as 158 239 255 at 9.41%, the same light. "
              "--diff shows every line a save changes")
        .entry,
    Row("--diff", kScriptMode | kWindowMode, setFlag<&Options::diff>)
        .needs("--scene", "--diff shows what --save would write over the --scene file; add --scene FILE.lws")
        .conflicts("--save",
                   "--diff shows what --save would write and writes nothing; give one of them (look with "
                   "--diff, then save with --save)")
        .conflicts("--shell",
                   "--diff does not go with --shell; the shell's \"Show changes\" button shows the diff")
        .help(
            "with --scene: run the session and write no scene; stdout is a unified diff of what --save "
            "would write against the --scene file as read (\"---\ta/NAME\", \"+++\tb/NAME\", three lines of "
            "context), which patch applies; stderr gets the warnings --save gives and a line that counts "
            "the changes. The Layout commands are not printed. After Cancel, or when the file would not "
            "change, stdout stays empty and stderr says why. A paste carries the copied light's "
            "limited-range flag: the range may then be written for a light whose falloff stays off in the "
            "file (no command turns it on), which a warning names. With --window the diff is printed once "
            "the window has closed. Not with --save or --shell")
        .entry,
    Row("--force", kRunModes, setFlag<&Options::force>)
        .needs("--save", "--force goes with --save (it saves over a scene file that changed on disk)")
        .help("with --save over the --scene file: replace it even though it changed on disk since it was "
              "read (by default that save is refused, exit\t3)")
        .entry,
    Row("--png", kScriptMode | kWindowMode, setText<&Options::png>)
        .value(ValueKind::File, "FILE.png", "a file name")
        .help("write a picture of the panel as it was when it closed; if it never opened, nothing is "
              "written (with a warning), nor if the script failed")
        .entry,
    Row("--script", kScriptMode, setText<&Options::script>)
        .value(ValueKind::File, "FILE|-", "a file name, or - for standard input")
        .help("the session script to play; - reads standard input (default: a built-in demo session that "
              "selects, edits, copies, pastes and presses OK; it clicks the built-in scene's lights by "
              "name, so give a script with --scene)")
        .entry,
    Row("--interface-version", kRunModes, setInterfaceVersion)
        .value(ValueKind::Number, "N", "a number")
        .range(INT32_MIN, INT32_MAX)
        .help("interface version passed to the activation (default\t4)")
        .entry,
    Row("--toolkit-version", kRunModes, setToolkitVersion)
        .value(ValueKind::Number, "N", "a number")
        .range(INT32_MIN, INT32_MAX)
        .help("panel toolkit version the host reports (default\t20)")
        .entry,
    Row("--without", kRunModes, setWithout)
        .value(ValueKind::Text, "NAME", "the name of a global, such as \"LW Light Info\"")
        .repeats()
        .help("the global lookup answers null for NAME, e.g. --without \"LW Light Info\"; may be repeated")
        .entry,
    Row("--fail", kRunModes, setFail)
        .value(ValueKind::Choice, "panel|raster|control:K", "panel, raster or control:K")
        .repeats()
        .help("panel create, raster create, or the Kth addControl (K from 1 to 13, the panel's controls in "
              "creation order) fails; may be repeated to combine panel, raster and one control:K")
        .entry,
    Row("--validate", kValidateMode, setFlag<&Options::validate>)
        .help("check the plug-in instead of running a session: its descriptor; 1,000 activations of one "
              "loaded library on random scenes of 0 to 600 lights; every host fault (each global lookup "
              "answering null, panel or raster create failing, each of the 13 addControl calls failing, an "
              "old interface or toolkit version); random sessions with hostile values, each checked for "
              "well-formed commands, no nan/inf, a prefix of at most 255 characters, no row past the filled "
              "ones written, and against a model of the light table that predicts the commands sent on OK; "
              "every light no event edited must come back as the host reported it. Prints one PASS/FAIL "
              "line per check and a summary line; a failing lifecycle or random session is shrunk to the "
              "fewest activations, events and lights that still fail, and printed with its seed, as a "
              "session script where one replays it. --plugin, --seed, --runs and --failure-script apply; "
              "the other options are ignored. The checks of the rows past the filled ones, the copy buffer "
              "and the prefix as the plug-in's record holds them need its probe build, vantorel_probe.p "
              "(built beside vantorel.p); on another file the report names the checks it could not make")
        .entry,
    Row("--window", kWindowMode | kShellMode, setFlag<&Options::window>)
        .conflicts("--script",
                   "--script plays a session without a window and --window lets you play it by hand; give "
                   "one of them (record a window session with --record FILE.vts)")
        .conflicts("--validate", "--validate runs without a window; leave out --window")
        .help("play the panel by hand in a real window instead of with a script: mouse and keyboard drive "
              "the same host events as the script actions; the window title is the panel's title; OK is the "
              "only way to OK, closing the window or Escape (no field being edited) is Cancel. Works with "
              "--scene, --lights, --save, --png, --plugin and the host conditions; stdout, stderr and the "
              "exit status are those of a script run. Needs SDL2 at build time (Debian package libsdl2-dev) "
              "and a display (or xvfb-run). The Windows vantorel-host.exe has no windows")
        .entry,
    Row("--zoom", kWindowMode | kShellMode, setInt<&Options::zoom>)
        .value(ValueKind::Number, "N", "a zoom factor from 1 to 4")
        .range(1, 4)
        .needs("--window", kWindowOnly)
        .help("with --window: every panel pixel is N x N screen pixels, N from 1 to 4 (default: the largest "
              "N at which the window fits the screen; 1 on a 1080p screen, 2 from 1440 lines up)")
        .entry,
    Row("--record", kWindowMode, setText<&Options::record>)
        .value(ValueKind::File, "FILE.vts", "a file name")
        .needs("--window", kWindowOnly)
        .conflicts("--shell", "--record records one run of the panel; it does not go with --shell")
        .help("with --window: when the panel closes, write what was done as a session script ending in ok "
              "or cancel; --script FILE.vts with the same scene and options replays it with the same "
              "stdout. Work done by hand is not lost: when the save after OK fails (the scene changed on "
              "disk, a read-only file, a full disk) or FILE cannot be written, the session is kept as "
              "NAME-session-N.vts beside the scene file (else beside --save, in the current folder or in "
              "the temporary folder), with or without --record; stderr names it and says how to replay it")
        .entry,
    Row("--shell", kShellMode, setFlag<&Options::shell>)
        .needs("--window", kWindowOnly)
        .help(
            "with --window: a small stand-in for Layout instead of one run: the scene's lights as a table "
            "(name, type, intensity, colour, shadow, range) and the buttons \"vantorel\" (run the plug-in's "
            "panel; as often as you like, in one process, so its copied settings carry over between "
            "runs), \"Save\" (to --save; without it, over the --scene file after asking), \"Show changes\" "
            "(what Save would write now, as a diff against the file as read or as last saved) and \"Quit\" "
            "(asks before dropping unsaved edits). A save that fails offers \"Save as...\" (a path typed "
            "into a field) and, when the file changed on disk, \"Save anyway\" (as --force)")
        .entry,
    Row("--seed", kValidateMode, setSeed)
        .value(ValueKind::Number, "S", "a number")
        .range(0, INT64_MAX)
        .needs("--validate", kValidateOnly)
        .help("with --validate: seed of every random choice (default\t1); the same seed replays the same "
              "checks")
        .entry,
    Row("--runs", kValidateMode, setInt<&Options::runs>)
        .value(ValueKind::Number, "N", "a number of random sessions")
        .range(0, 10000000)
        .needs("--validate", kValidateOnly)
        .help("with --validate: random sessions (default\t300)")
        .entry,
    Row("--failure-script", kValidateMode, setText<&Options::failureScript>)
        .value(ValueKind::File, "F.vts", "a file name")
        .needs("--validate", "--failure-script goes with --validate")
        .help("with --validate: when a check fails, write its shrunk session as a session script F.vts, "
              "and the scene it plays on beside it as F.lws (F's extension replaced). The script's first "
              "line, \"# replay: vantorel-host ...\", is the command line that replays it; its expect lines "
              "are what the validator's model predicts, so the plug-in that failed fails it (exit\t1) and "
              "one that passes the validator passes it. Nothing is written when every check passes, nor "
              "when the failure needs several activations or shows where no script can look; stderr then "
              "says why and prints the session. F may not end in .lws")
        .entry,
    Row("--version", kVersionMode, setFlag<&Options::version>)
        .help("print the version, the plug-in's file name and whether window support was built in")
        .entry,
    Row("--list", kListMode, setFlag<&Options::list>)
        .needs("--scene", "--list lists the lights of a scene file; add --scene FILE.lws")
        .conflicts("--validate", kListRunsNothing)
        .conflicts("--script", kListRunsNothing)
        .conflicts("--save", kListRunsNothing)
        .conflicts("--png", kListRunsNothing)
        .conflicts("--diff", kListRunsNothing)
        .conflicts("--window", kListRunsNothing)
        .help("with --scene: print the file's lights, one line each, and exit without loading the plug-in "
              "or writing anything: item ID, name, light type, intensity in percent, colour (0-255, "
              "rounded), shadow type, range and whether the range is limited. A \"*\" marks an animated "
              "value, shown at time 0. Names are UTF-8 in double quotes (names that are not UTF-8 are read "
              "as Windows-1252)")
        .entry,
    Row("--json", kListMode, setFlag<&Options::json>)
        .needs("--list", "--json is the output format of --list; add --list --scene FILE.lws")
        .help("with --list: print one JSON document instead: the file, its LWSC version and the lights with "
              "the same fields, numbers as numbers")
        .entry,
    Row("--help", kHelpMode, setFlag<&Options::help>).shortName("-h").help("show this text").entry,
};

// Greedy word wrap of text into lines of at most width characters (a word
// longer than that stays whole). A tab is a space that is never broken:
// "(exit\t2)" stays on one line.
std::vector<std::string> wrap(const std::string &text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find(' ', from);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(from, end - from);
        from = end + 1;
        if (word.empty()) continue;
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    for (std::string &l : lines)
        for (char &c : l)
            if (c == '\t') c = ' ';
    return lines;
}

}  // namespace

const std::vector<OptionEntry> &optionTable() { return kOptions; }

const OptionEntry *findOption(const std::string &name) {
    for (const OptionEntry &o : kOptions)
        if (name == o.name || (o.shortName && name == o.shortName)) return &o;
    return nullptr;
}

std::string repeatableOptionNames() {
    std::vector<const char *> names;
    for (const OptionEntry &o : kOptions)
        if (o.repeats && o.kind != ValueKind::None) names.push_back(o.name);
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + std::string(names[i]);
    return text;
}

std::string optionHelp() {
    std::string text = "Options:\n";
    for (const OptionEntry &o : kOptions) {
        std::string left = std::string("  ") + (o.shortName ? std::string(o.shortName) + ", " : "") + o.name;
        if (o.valueName) left += std::string(" ") + o.valueName;
        const std::vector<std::string> lines = wrap(o.help, kHelpWidth - kHelpIndent);
        if (left.size() + 2 > kHelpIndent) left += "\n" + std::string(kHelpIndent, ' ');
        else left.resize(kHelpIndent, ' ');
        text += left;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i == 0 ? "" : std::string(kHelpIndent, ' ')) + lines[i] + "\n";
    }
    const std::string repeated =
        "Each option that takes a value is given at most once, except " + repeatableOptionNames() +
        ", which add up: a second --scene, --save or --lights is bad usage (exit\t2) naming it, rather than "
        "one of the two silently winning. Options without a value (--force, --window, ...) may be repeated. "
        "--\tends the options; vantorel-host takes no operands, so nothing may follow it.";
    text += "\n";
    for (const std::string &line : wrap(repeated, kHelpWidth)) text += line + "\n";
    return text;
}

}  // namespace vhost
