// main.cpp - vantorel-host: runs the plug-in once in the simulated Layout.
// main reads the options and hands over to the function of the mode they ask
// for; each returns its exit status, and standard output is finished once.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "about.h"
#include "diagnostics.h"
#include "file_roles.h"
#include "host.h"
#include "loader.h"
#include "options.h"
#include "scene/scene.h"
#include "scene_diff.h"
#include "scene_list.h"
#include "scene_session.h"
#include "script_messages.h"
#include "sim/panel_facts.h"
#include "standard_output.h"
#ifdef VANTOREL_HAVE_VALIDATE
#include "validate_mode.h"
#endif
#ifdef VANTOREL_HAVE_WINDOW
#include "display_start.h"
#include "window/window.h"
#include "window_session.h"
#endif

namespace {

using vhost::diagnostics;

// The rows of the plug-in's light list.
constexpr std::size_t kListedLights = sim::kMaxListedLights;

// A mistake on the command line, which --help explains.
int usageError(const std::string &message) {
    diagnostics().error(message);
    diagnostics().note("vantorel-host --help lists every option");
    return vhost::kExitUsage;
}

// A file or plug-in that cannot be used: the message says what to do.
int inputError(const std::string &message) {
    diagnostics().error(message);
    return vhost::kExitUsage;
}

// A scene file that cannot be read: "FILE:LINE: error: ..." when the line is known.
int sceneError(const scenefile::LoadError &e, const char *nothingDone) {
    diagnostics().reportAt(vhost::Severity::Error, e.file, e.line, e.message);
    diagnostics().note(std::string(nothingDone) + "; fix the scene file or give another one");
    return vhost::kExitUsage;
}

// Flushes and closes standard output. A loss there is exit 4, unless the run
// already failed worse: bad usage (2) or a file not written (3).
int finish(int status) {
    const bool output = vhost::finishStandardOutput(diagnostics());
    if (output || status == vhost::kExitUsage || status == vhost::kExitWriteFailed) return status;
    return vhost::kExitOutputFailed;
}

bool readAll(std::istream &in, std::string &out) {
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return !in.bad();
}

// --help, --version.
int printText(const std::string &text) {
    std::cout << text;
    vhost::noteStandardOutput();
    return vhost::kExitRan;
}

// Checks the plug-in against the editor's contract; the report goes to stdout.
int runValidate(const vhost::Options &options, const char *argv0) {
#ifdef VANTOREL_HAVE_VALIDATE
    return vhost::runValidation(options, argv0);
#else
    (void)options;
    (void)argv0;
    return inputError("this build has no validator");
#endif
}

// Reads the scene and prints its lights; no plug-in, no session.
int runList(const vhost::Options &options) {
    scenefile::LwsDocument document;
    scenefile::LoadError loadError;
    fileio::FileStamp unused;  // nothing is saved after a listing
    if (!vhost::loadScene(*options.scene, document, unused, loadError))
        return sceneError(loadError, "nothing was listed");
    return printText(options.json ? vhost::listSceneJson(document, *options.scene)
                                  : vhost::listScene(document, *options.scene));
}

// Everything a run of the panel needs, read and checked before it starts.
struct Prepared {
    script::Script script;
    std::string pluginPath;
    scenefile::LwsDocument document;
    vhost::SaveOptions saveOptions;
    std::string sceneBytes;  // the file as read, for --diff and the shell's "Show changes"
    std::optional<sim::PluginLibrary> lib;
};

// The script, read and checked before anything is loaded. A window session
// has none: it is played by hand.
int readScript(const vhost::Options &options, script::Script &script) {
    std::string text, name = "demo session";
    if (options.window) return vhost::kExitRan;
    if (!options.script) {
        text = script::demoScript();
    } else if (*options.script == "-") {
        name = "<stdin>";
        if (!readAll(std::cin, text)) return inputError("cannot read the script from standard input");
    } else {
        name = *options.script;
        const std::string kind = vhost::unreadableKind(name);
        if (!kind.empty())
            return inputError("--script '" + name + "' " + kind +
                              ", not a script file; give a script file, or - for standard input");
        std::ifstream in(name, std::ios::binary);
        if (!in || !readAll(in, text))
            return inputError("cannot read the script '" + name + "'; check the file name");
    }
    return vhost::readSessionScript(text, name, script, diagnostics()) ? vhost::kExitRan : vhost::kExitUsage;
}

// Before anything is loaded or written: no output over an input or over
// another output, and every output can be written where it goes, so that no
// work is lost at the end to a wrong name.
int checkFiles(const vhost::Options &options, const Prepared &s) {
    const vhost::FileRoles roles = vhost::sessionFileRoles(options, s.script, s.pluginPath);
    const std::string clash = vhost::findCollision(roles);
    const std::vector<std::string> problems =
        clash.empty() ? vhost::checkOutputPlaces(roles.outputs) : std::vector<std::string>{clash};
    if (problems.empty()) return vhost::kExitRan;
    for (const std::string &p : problems) diagnostics().error(p);
    diagnostics().note("nothing was run or written");
    return vhost::kExitUsage;
}

// Reads the script and the scene, checks the files and loads the plug-in.
// Returns an exit status other than kExitRan if the run cannot start.
int prepareSession(const vhost::Options &options, const char *argv0, Prepared &s) {
    if (const int rc = readScript(options, s.script)) return rc;
    std::string error;
    s.pluginPath = options.plugin;
    if (s.pluginPath.empty() && !vhost::findPlugin(argv0, s.pluginPath, error)) return inputError(error);
    if (const int rc = checkFiles(options, s)) return rc;

    // So is the scene file: a malformed one stops here, before anything runs.
    s.saveOptions.force = options.force;
    if (options.scene) {
        scenefile::LoadError loadError;
        fileio::FileStamp stamp;
        if (!vhost::loadScene(*options.scene, s.document, stamp, loadError,
                              options.diff || options.shell ? &s.sceneBytes : nullptr))
            return sceneError(loadError, "nothing was run or written");
        s.saveOptions.readStamp = stamp;
    }
#ifdef VANTOREL_HAVE_WINDOW
    if (options.window && !vhost::startDisplay(error)) return inputError(error);
#endif
    try {
        s.lib.emplace(sim::PluginLibrary::load(s.pluginPath, sim::PluginLibrary::Instance::Shared));
    } catch (const sim::LoadError &e) {
        return inputError(vhost::pluginLoadMessage(e));
    }
    s.saveOptions.plugin = &*s.lib;  // the writer asks it what an OK without edits sends
    return vhost::kExitRan;
}

// What the host sees as it happens: the commands on stdout, the plug-in's
// error boxes and info texts as the transcript, the rest as warnings.
void transcribe(bool diff, const std::string &kind, const std::string &what) {
    if (kind == "command") {
        if (diff) return;  // stdout holds the diff alone
        std::cout << what << '\n';
        vhost::noteStandardOutput();
    } else if (kind == "error") {
        std::cerr << "error: " << what << '\n';
    } else if (kind == "info") {
        std::cerr << "info: " << what << '\n';
    } else if (kind == "rejected") {
        diagnostics().warning("Layout rejected the command " + what);
    } else {
        diagnostics().warning(what);
    }
}

// The scene the panel edits: the --scene file's, --lights', or the built-in one.
scene::Scene sceneOf(const vhost::Options &options, const Prepared &s) {
    scene::Scene scene = options.scene    ? s.document.scene()
                         : options.lights ? scene::makeUniformScene(*options.lights)
                                          : scene::makeDemoScene();
    // The plug-in's list has 510 rows and says nothing of the lights beyond them.
    if (scene.lights.size() > kListedLights)
        diagnostics().warning("the scene has " + std::to_string(scene.lights.size()) +
                              " lights; only the first " + std::to_string(kListedLights) +
                              " are listed in the panel and can be edited");
    return scene;
}

// The host tells what it sees as it happens (transcribe).
void watch(sim::Host &host, const vhost::Options &options) {
    host.setLogging(false);
    host.namesShownBy = vhost::kNamesShownBy;
    host.observer = [diff = options.diff](const std::string &kind, const std::string &what) {
        transcribe(diff, kind, what);
    };
}

#ifdef VANTOREL_HAVE_WINDOW
// The window or the shell, once the files are checked and the plug-in loaded.
int runByHand(const vhost::Options &options, const char *argv0) {
    Prepared s;
    if (const int rc = prepareSession(options, argv0, s)) return rc;
    sim::Host host(sceneOf(options, s), options.conditions);
    watch(host, options);
    const bool written =
        vhost::runWindowSession(options, s.document, host, *s.lib, s.saveOptions, s.sceneBytes);
    return written ? vhost::kExitRan : vhost::kExitWriteFailed;
}
#endif

// Says what a failed script did not write.
void noteSkipped(const vhost::Options &options, const Prepared &s, const script::Runner &runner) {
    std::vector<std::string> skipped;
    if (options.save) skipped.push_back("--save '" + *options.save + "'");
    if (options.png) skipped.push_back("--png '" + *options.png + "'");
    for (const std::string &f : runner.skippedSnapshots()) skipped.push_back("snapshot '" + f + "'");
    std::string list;
    for (const std::string &f : skipped) list += (list.empty() ? "" : ", ") + f;
    if (!list.empty())
        diagnostics().note("the script failed on " + s.script.name + ":" +
                           std::to_string(runner.failedLine()) +
                           ", so nothing was written after it (not written: " + list +
                           "); fix the script or what it expects and run it again");
}

// The files a script run writes after the panel closed: --diff, --save, --png.
bool writeResults(const vhost::Options &options, Prepared &s, const sim::Host &host) {
    bool written = true;
    if (options.diff) {
        written = vhost::printSceneDiff(s.document, s.sceneBytes, host, *options.scene, &*s.lib, std::cout,
                                        std::cerr) &&
                  written;
        vhost::noteStandardOutput();
    }
    if (options.save)
        written = vhost::saveScene(s.document, host, *options.save, std::cerr, s.saveOptions) && written;
    if (options.png) written = vhost::savePanelPicture(host, *options.png, std::cerr) && written;
    return written;
}

// A session script (or the demo session) played on the panel.
int runScript(const vhost::Options &options, const char *argv0) {
    Prepared s;
    if (const int rc = prepareSession(options, argv0, s)) return rc;
    sim::Host host(sceneOf(options, s), options.conditions);
    watch(host, options);
    script::Runner runner(s.script, vhost::scriptReport(diagnostics(), s.script.name));
    bool snapshotWriteFailed = false;
    runner.snapshot = [&snapshotWriteFailed](sim::Host &h, const std::string &file, std::string &why) {
        const sim::PanelModel *panel = h.openPanel();
        if (!panel) {
            why = "no panel is open";
            return false;
        }
        if (vhost::writePanelPicture(*panel, file, why)) return true;
        snapshotWriteFailed = true;
        return false;
    };
    const int result = host.activate(*s.lib, [&](sim::Host &h) { return runner.drive(h); });
    std::cout.flush();
    vhost::noteStandardOutput();
    std::cerr << "result: " << result << '\n';
    runner.finish(host, result);
    bool written = !snapshotWriteFailed;
    // A failed script saves nothing: its edits are not the ones it checked for.
    if (runner.failures()) noteSkipped(options, s, runner);
    else written = writeResults(options, s, host) && written;
    if (!written) return vhost::kExitWriteFailed;
    return runner.failures() ? vhost::kExitExpectFailed : vhost::kExitRan;
}

// The panel in a window, played by hand.
int runWindow(const vhost::Options &options, const char *argv0) {
#ifdef VANTOREL_HAVE_WINDOW
    return runByHand(options, argv0);
#else
    (void)options;
    (void)argv0;
#if defined(_WIN32)
    return inputError("--window: the Windows vantorel-host.exe has no windows; use the Linux build");
#else
    return inputError(
        "--window: this vantorel-host was built without SDL2; install the Debian package libsdl2-dev "
        "(apt-get install libsdl2-dev) and build again");
#endif
#endif
}

// The shell: a stand-in for Layout that runs the panel again and again (the
// window session tells it by --shell).
int runShell(const vhost::Options &options, const char *argv0) { return runWindow(options, argv0); }

int run(const vhost::Options &options, const char *argv0) {
    switch (vhost::modeOf(options)) {
    case vhost::kHelpMode: return printText(vhost::helpText());
    case vhost::kVersionMode: return printText(vhost::versionText());
    case vhost::kValidateMode: return runValidate(options, argv0);
    case vhost::kListMode: return runList(options);
    case vhost::kWindowMode: return runWindow(options, argv0);
    case vhost::kShellMode: return runShell(options, argv0);
    case vhost::kScriptMode: break;
    }
    return runScript(options, argv0);
}

}  // namespace

int main(int argc, char **argv) {
    vhost::prepareStandardStreams();
    vhost::Options options;
    std::string error;
    if (!vhost::parseOptions(argc, argv, options, error)) return finish(usageError(error));
    return finish(run(options, argc > 0 ? argv[0] : nullptr));
}
