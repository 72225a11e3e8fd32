// main.cpp - vantorel-host: runs the plug-in once in the simulated Layout.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "about.h"
#include "file_roles.h"
#include "host.h"
#include "loader.h"
#include "options.h"
#include "scene/scene.h"
#include "scene_diff.h"
#include "scene_list.h"
#include "scene_session.h"
#include "script.h"
#include "standard_output.h"
#ifdef VANTOREL_HAVE_VALIDATE
#include "validate.h"
#endif
#ifdef VANTOREL_HAVE_WINDOW
#include "display_start.h"
#include "window/window.h"
#include "window_session.h"
#endif

namespace {

// The rows of the plug-in's light list.
constexpr std::size_t kListedLights = 510;

int usageError(const std::string &message) {
    std::cerr << "vantorel-host: " << message << "\nRun vantorel-host --help for usage.\n";
    return vhost::kExitUsage;
}

bool readAll(std::istream &in, std::string &out) {
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return !in.bad();
}

}  // namespace

int main(int argc, char **argv) {
    vhost::prepareStandardStreams();
    vhost::Options options;
    std::string error;
    if (!vhost::parseOptions(argc, argv, options, error)) return usageError(error);
    if (options.help) {
        std::cout << vhost::helpText();
        vhost::noteStandardOutput();
        return vhost::finishStandardOutput(std::cerr) ? vhost::kExitRan : vhost::kExitOutputFailed;
    }
    if (options.version) {
        std::cout << vhost::versionText();
        vhost::noteStandardOutput();
        return vhost::finishStandardOutput(std::cerr) ? vhost::kExitRan : vhost::kExitOutputFailed;
    }
    const char *argv0 = argc > 0 ? argv[0] : nullptr;
    if (options.validate) {
#ifdef VANTOREL_HAVE_VALIDATE
        validate::Options v;
        v.plugin = options.plugin;
        if (v.plugin.empty() && !vhost::findPlugin(argv0, v.plugin, error)) return usageError(error);
        if (options.seed) v.seed = *options.seed;
        if (options.runs) v.runs = *options.runs;
        const int rc = validate::run(v, std::cout);
        return vhost::finishStandardOutput(std::cerr) || rc == vhost::kExitUsage ? rc
                                                                                 : vhost::kExitOutputFailed;
#else
        return usageError("this build has no validator");
#endif
    }

    if (options.list) {
        // Reads the scene and prints its lights; no plug-in, no session.
        scenefile::LwsDocument document;
        scenefile::LoadError loadError;
        fileio::FileStamp unused;  // nothing is saved after a listing
        if (!vhost::loadScene(*options.scene, document, unused, loadError)) {
            std::cerr << "vantorel-host: error: " << loadError.toString()
                      << "\nNothing was listed; fix the scene file or give another one.\n";
            return vhost::kExitUsage;
        }
        std::cout << (options.json ? vhost::listSceneJson(document, *options.scene)
                                   : vhost::listScene(document, *options.scene));
        vhost::noteStandardOutput();
        return vhost::finishStandardOutput(std::cerr) ? vhost::kExitRan : vhost::kExitOutputFailed;
    }

#if !defined(VANTOREL_HAVE_WINDOW)
    if (options.window) {
#if defined(_WIN32)
        return usageError("--window: the Windows vantorel-host.exe has no windows; use the Linux build");
#else
        return usageError(
            "--window: this vantorel-host was built without SDL2; install the Debian package "
            "libsdl2-dev (apt-get install libsdl2-dev) and build again");
#endif
    }
#endif

    // The script is read and checked before anything is loaded.
    std::string text, scriptName = "demo session";
    if (options.window) {
        // played by hand
    } else if (!options.script) {
        text = vhost::demoScript();
    } else if (*options.script == "-") {
        scriptName = "<stdin>";
        if (!readAll(std::cin, text)) return usageError("cannot read the script from standard input");
    } else {
        scriptName = *options.script;
        const std::string kind = vhost::unreadableKind(*options.script);
        if (!kind.empty())
            return usageError("--script '" + *options.script + "' " + kind +
                              ", not a script file; give a script file, or - for standard input");
        std::ifstream in(*options.script, std::ios::binary);
        if (!in || !readAll(in, text))
            return usageError("cannot read the script '" + *options.script + "'; check the file name");
    }
    vhost::Script script;
    if (!vhost::parseScript(text, scriptName, script, error)) return usageError(error);

    std::string pluginPath = options.plugin;
    if (pluginPath.empty() && !vhost::findPlugin(argv0, pluginPath, error)) return usageError(error);

    // Before anything is loaded or written: no output over an input or over
    // another output, and every output can be written where it goes, so that
    // no work is lost at the end to a wrong name.
    const vhost::FileRoles roles = vhost::sessionFileRoles(options, script, pluginPath);
    const std::string clash = vhost::findCollision(roles);
    if (!clash.empty()) return usageError(clash + ". Nothing was run or written.");
    const std::vector<std::string> places = vhost::checkOutputPlaces(roles.outputs);
    if (!places.empty()) {
        std::string all;
        for (const std::string &p : places) all += (all.empty() ? "" : ".\nvantorel-host: ") + p;
        return usageError(all + ".\nNothing was run or written.");
    }

    // So is the scene file: a malformed one stops here, before anything runs.
    scenefile::LwsDocument document;
    vhost::SaveOptions saveOptions;
    saveOptions.force = options.force;
    std::string sceneBytes;  // the file as read, for --diff and the shell's "Show changes"
    if (options.scene) {
        scenefile::LoadError loadError;
        fileio::FileStamp stamp;
        if (!vhost::loadScene(*options.scene, document, stamp, loadError,
                              options.diff || options.shell ? &sceneBytes : nullptr)) {
            std::cerr << "vantorel-host: error: " << loadError.toString()
                      << "\nNothing was run or written; fix the scene file or give another one.\n";
            return vhost::kExitUsage;
        }
        saveOptions.readStamp = stamp;
    }

#ifdef VANTOREL_HAVE_WINDOW
    if (options.window && !vhost::startDisplay(error)) return usageError(error);
#endif
    std::optional<sim::PluginLibrary> lib;
    try {
        lib.emplace(sim::PluginLibrary::load(pluginPath, sim::PluginLibrary::Instance::Shared));
    } catch (const sim::LoadError &e) {
        return usageError(e.what());
    }
    saveOptions.plugin = &*lib;  // the writer asks it what an OK without edits sends

    scene::Scene scene = options.scene    ? document.scene()
                         : options.lights ? scene::makeUniformScene(*options.lights)
                                          : scene::makeDemoScene();
    // The plug-in's list has 510 rows and says nothing of the lights beyond them.
    if (scene.lights.size() > kListedLights)
        std::cerr << "warning: the scene has " << scene.lights.size() << " lights; only the first "
                  << kListedLights << " are listed in the panel and can be edited\n";
    sim::Host host(std::move(scene), options.conditions);
    host.setLogging(false);
    host.observer = [diff = options.diff](const std::string &kind, const std::string &what) {
        if (kind == "command") {
            if (diff) return;  // stdout holds the diff alone
            std::cout << what << '\n';
            vhost::noteStandardOutput();
        } else if (kind == "error") std::cerr << "error: " << what << '\n';
        else if (kind == "info") std::cerr << "info: " << what << '\n';
        else if (kind == "rejected") std::cerr << "warning: Layout rejected the command " << what << '\n';
        else std::cerr << "warning: host: " << what << '\n';
    };

#ifdef VANTOREL_HAVE_WINDOW
    if (options.window) {
        const bool windowWritten =
            vhost::runWindowSession(options, document, host, *lib, saveOptions, sceneBytes);
        const bool windowOutput = vhost::finishStandardOutput(std::cerr);
        if (!windowWritten) return vhost::kExitWriteFailed;
        return windowOutput ? vhost::kExitRan : vhost::kExitOutputFailed;
    }
#endif
    vhost::ScriptRunner runner(script, std::cerr);
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
    int result = host.activate(*lib, [&](sim::Host &h) { return runner.drive(h); });
    std::cout.flush();
    vhost::noteStandardOutput();
    std::cerr << "result: " << result << '\n';
    runner.finish(host, result);
    bool written = !snapshotWriteFailed;
    if (runner.failures()) {
        // A failed script saves nothing: its edits are not the ones it checked for.
        std::vector<std::string> skipped;
        if (options.save) skipped.push_back("--save '" + *options.save + "'");
        if (options.png) skipped.push_back("--png '" + *options.png + "'");
        for (const std::string &f : runner.skippedSnapshots()) skipped.push_back("snapshot '" + f + "'");
        std::string list;
        for (const std::string &f : skipped) list += (list.empty() ? "" : ", ") + f;
        if (!list.empty())
            std::cerr << "note: the script failed on " << script.name << ":" << runner.failedLine()
                      << ", so nothing was written after it (not written: " << list
                      << "); fix the script or what it expects and run it again\n";
    } else {
        if (options.diff) {
            written = vhost::printSceneDiff(document, sceneBytes, host, *options.scene, &*lib, std::cout,
                                            std::cerr) &&
                      written;
            vhost::noteStandardOutput();
        }
        if (options.save)
            written = vhost::saveScene(document, host, *options.save, std::cerr, saveOptions) && written;
        if (options.png) written = vhost::savePanelPicture(host, *options.png, std::cerr) && written;
    }
    const bool output = vhost::finishStandardOutput(std::cerr);
    if (!written) return vhost::kExitWriteFailed;
    if (!output) return vhost::kExitOutputFailed;
    return runner.failures() ? vhost::kExitExpectFailed : vhost::kExitRan;
}
