// window_session.cpp - vantorel-host's window runs.
#include "window_session.h"

#include "diagnostics.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "fileio/durable_write.h"
#include "fileio/file_store.h"
#include "scene_diff.h"
#include "scene_session.h"
#include "script/recording.h"
#include "session/shell_scene.h"
#include "standard_output.h"
#include "window/window.h"

namespace vhost {

namespace {

std::string recordingText(const std::vector<std::string> &lines) {
    std::string text = "# recorded by vantorel-host --window; replay with --script\n";
    for (const std::string &l : lines) text += l + '\n';
    return text;
}

bool writeRecording(const std::vector<std::string> &lines, const std::string &path) {
    if (lines.empty()) {
        diagnostics().warning("the panel never opened; nothing was recorded to " + path);
        return true;
    }
    std::string error;
    if (!fileio::replaceFile(path, recordingText(lines), error)) {
        diagnostics().error(error);
        return false;
    }
    std::cerr << "recorded: " << path << '\n';
    return true;
}

bool exists(const std::string &path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string folderOf(const std::string &path) {
    const std::size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return {};
    return cut == 0 ? "/" : path.substr(0, cut);
}

// Keeps the session in a new file of its own, so that edits a save could not
// write are not lost: beside the scene file, else beside --save, else in the
// current folder, else in the temporary folder. Returns its name, or "" with
// the reasons in why.
std::string keepRecording(const std::string &text, const Options &options, std::string &why) {
    std::string stem = options.scene ? session::baseName(*options.scene) : "vantorel";
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".lws") == 0) stem.resize(stem.size() - 4);
    std::vector<std::string> folders;
    if (options.scene) folders.push_back(folderOf(*options.scene));
    if (options.save) folders.push_back(folderOf(*options.save));
    folders.emplace_back();
    const char *tmp = std::getenv("TMPDIR");
    folders.emplace_back(tmp && *tmp ? tmp : "/tmp");
    std::vector<std::string> tried;
    for (const std::string &folder : folders) {
        const std::string prefix = folder.empty() ? "" : folder == "/" ? "/" : folder + "/";
        if (std::find(tried.begin(), tried.end(), prefix) != tried.end()) continue;
        tried.push_back(prefix);
        for (int n = 1; n <= 1000; ++n) {
            std::string path = prefix + stem + "-session-" + std::to_string(n) + ".vts";
            if (exists(path)) continue;
            std::string error;
            if (fileio::replaceFile(path, text, error)) return path;
            why += (why.empty() ? "" : "; ") + error;
            break;
        }
    }
    return {};
}

// How to get the edits of a failed save from a recording of the session.
// Replayed, the session applies its edits to the file as it is then: over a
// file changed on disk that keeps the other change too.
std::string replayHint(const std::string &recording, const Options &options, const std::string &change) {
    const std::string replay = "vantorel-host --scene " + *options.scene + " --script " + recording;
    if (!change.empty())
        return "To apply its edits to " + *options.scene +
               " as it is now, replay it with the same options: " + replay +
               " --diff (to look first), then " + replay + " --save " + *options.save;
    return "To save its edits, replay it with the same options: " + replay + " --save OUT.lws";
}

// The end of a single run: the session is kept when the save failed (and
// --record did not keep it), or where --record could not write it.
void keepSession(const std::vector<std::string> &recorded, const Options &options, bool recordFailed,
                 const std::string &change) {
    const std::string text = recordingText(recorded);
    std::string why;
    const std::string kept = keepRecording(text, options, why);
    if (kept.empty()) {
        diagnostics().error("the session could not be kept in a file (" + why +
                            "); here it is, to copy into a .vts file and replay with --script:");
        diagnostics().stream() << text << "(end of the session)\n";
        return;
    }
    if (recordFailed) {
        std::cerr << "kept: the recording could not be written to " << *options.record << "; it is in "
                  << kept << " instead\n";
        return;
    }
    std::cerr << "kept: the save failed, so the session was recorded to " << kept << ". "
              << replayHint(kept, options, change) << '\n';
}

// --window --shell: the shell, every save of the process through one store,
// so that a save over the scene file is checked against what the shell itself
// wrote last rather than against the file as first read.
void runShellWindow(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                    const sim::PluginLibrary &lib, const SaveOptions &saveOptions,
                    const std::string &sceneBytes, const window::Settings &settings) {
    fileio::FileStore store(saveOptions.readStamp);
    session::ShellScene scene(document, options.scene, options.save, sceneBytes, saveOptions.plugin, store,
                              saveOptions.force);
    scene.howToOpen = "start with --scene FILE.lws";
    window::ShellSettings s;
    s.window = settings;
    s.saveTo = options.save;
    s.sceneFile = options.scene;
    s.howToSave = "start with --scene FILE.lws (and --save OUT.lws)";
    s.save = [&](const session::SaveRequest &r) {
        const session::SceneSave saved = scene.save(host.scene(), r);
        reportSave(saved, std::cerr);
        return saved.result;
    };
    s.changes = [&]() { return scene.changes(host.scene()); };
    s.runFinished = [](int result) {
        std::cout.flush();
        std::cerr << "result: " << result << '\n';
    };
    window::runShell(host, lib, s);
}

// Work done by hand is not lost at the end: the session is kept as a
// recording where --record asked, and beside the scene file when that cannot
// be written or the save failed. change: how the scene file had changed on
// disk, when the save failed over it. Returns false when --record could not
// be written.
bool keepWork(const Options &options, const std::vector<std::string> &recorded, bool saveFailed,
              const std::string &change) {
    bool recordFailed = false;
    if (options.record) recordFailed = !writeRecording(recorded, *options.record);
    if (!recorded.empty() && (recordFailed || (saveFailed && !options.record))) {
        keepSession(recorded, options, recordFailed, change);
    } else if (saveFailed && !recorded.empty()) {
        diagnostics().note("the save failed; " + *options.record + " keeps the session. " +
                           replayHint(*options.record, options, change));
    }
    return !recordFailed;
}

// --window: one run of the panel, then the files of a script run. Returns
// false when a file could not be written.
bool runPanelWindow(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                    const sim::PluginLibrary &lib, const SaveOptions &saveOptions,
                    const std::string &sceneBytes, const window::Settings &settings) {
    sim::Recorder recording;
    const int result =
        host.activate(lib, [&](sim::Host &h) { return window::runPanel(h, settings, &recording); });
    const std::vector<std::string> recorded = script::recordingLines(recording);
    std::cout.flush();
    std::cerr << "result: " << result << '\n';
    bool written = true;
    bool saveFailed = false;
    session::SaveResult save;
    if (options.diff) {
        written = printSceneDiff(document, sceneBytes, host, *options.scene, saveOptions.plugin, std::cout,
                                 std::cerr);
        noteStandardOutput();
    } else if (options.save) {
        saveFailed = !saveScene(document, host, *options.save, std::cerr, saveOptions, &save);
        written = !saveFailed;
    } else if (options.scene && host.lastOutcome() == sim::Close::Ok) {
        diagnostics().note(
            "nothing was saved; to write the edited scene, run again with --save OUT.lws (it may name the "
            "--scene file itself)");
    }
    const std::string change = saveFailed ? save.change : std::string();
    return keepWork(options, recorded, saveFailed, change) && written;
}

}  // namespace

bool runWindowSession(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                      const sim::PluginLibrary &lib, const SaveOptions &saveOptions,
                      const std::string &sceneBytes) {
    window::Settings settings;
    settings.zoom = options.zoom.value_or(0);
    bool written = true;
    if (options.shell) runShellWindow(options, document, host, lib, saveOptions, sceneBytes, settings);
    else written = runPanelWindow(options, document, host, lib, saveOptions, sceneBytes, settings);
    window::stop();
    if (options.png) written = savePanelPicture(host, *options.png, std::cerr) && written;
    return written;
}

}  // namespace vhost
