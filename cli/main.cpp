// main.cpp - vantorel-host: runs the plug-in once in the simulated Layout.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "about.h"
#include "host.h"
#include "loader.h"
#include "options.h"
#include "scene.h"
#include "scene_list.h"
#include "scene_session.h"
#include "script.h"
#include "standard_output.h"
#ifdef VANTOREL_HAVE_VALIDATE
#include "validate.h"
#endif
#ifdef VANTOREL_HAVE_WINDOW
#include "window/window.h"
#include "window_session.h"
#endif

namespace {

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

    if (options.window) {
#ifdef VANTOREL_HAVE_WINDOW
        if (!window::start(error)) return usageError(error);
#elif defined(_WIN32)
        return usageError("--window: the Windows vantorel-host.exe has no windows; use the Linux build");
#else
        return usageError(
            "--window: this vantorel-host was built without SDL2; install the Debian package "
            "libsdl2-dev (apt-get install libsdl2-dev) and build again");
#endif
    }

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
        std::ifstream in(*options.script, std::ios::binary);
        if (!in || !readAll(in, text))
            return usageError("cannot read the script '" + *options.script + "'; check the file name");
    }
    vhost::Script script;
    if (!vhost::parseScript(text, scriptName, script, error)) return usageError(error);

    // So is the scene file: a malformed one stops here, before anything runs.
    scenefile::LwsDocument document;
    vhost::SaveOptions saveOptions;
    saveOptions.force = options.force;
    if (options.scene) {
        scenefile::LoadError loadError;
        fileio::FileStamp stamp;
        if (!vhost::loadScene(*options.scene, document, stamp, loadError)) {
            std::cerr << "vantorel-host: error: " << loadError.toString()
                      << "\nNothing was run or written; fix the scene file or give another one.\n";
            return vhost::kExitUsage;
        }
        saveOptions.readStamp = stamp;
    }

    std::string pluginPath = options.plugin;
    if (pluginPath.empty() && !vhost::findPlugin(argv0, pluginPath, error)) return usageError(error);
    std::optional<sim::PluginLibrary> lib;
    try {
        lib.emplace(sim::PluginLibrary::load(pluginPath, sim::PluginLibrary::Instance::Shared));
    } catch (const sim::LoadError &e) {
        return usageError(e.what());
    }
    saveOptions.plugin = &*lib;  // the writer asks it what an OK without edits sends

    sim::Scene scene = options.scene    ? document.scene()
                       : options.lights ? sim::makeUniformScene(*options.lights)
                                        : sim::makeDemoScene();
    sim::Host host(std::move(scene), options.conditions);
    host.setLogging(false);
    host.observer = [](const std::string &kind, const std::string &what) {
        if (kind == "command") {
            std::cout << what << '\n';
            vhost::noteStandardOutput();
        } else if (kind == "error") std::cerr << "error: " << what << '\n';
        else if (kind == "info") std::cerr << "info: " << what << '\n';
        else if (kind == "rejected") std::cerr << "warning: Layout rejected the command " << what << '\n';
        else std::cerr << "warning: host: " << what << '\n';
    };

#ifdef VANTOREL_HAVE_WINDOW
    if (options.window) {
        const bool windowWritten = vhost::runWindowSession(options, document, host, *lib, saveOptions);
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
    if (options.save)
        written = vhost::saveScene(document, host, *options.save, std::cerr, saveOptions) && written;
    if (options.png) written = vhost::savePanelPicture(host, *options.png, std::cerr) && written;
    const bool output = vhost::finishStandardOutput(std::cerr);
    if (!written) return vhost::kExitWriteFailed;
    if (!output) return vhost::kExitOutputFailed;
    return runner.failures() ? vhost::kExitExpectFailed : vhost::kExitRan;
}
