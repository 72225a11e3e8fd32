// window_session.cpp - vantorel-host's window runs.
#include "window_session.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "fileio/durable_write.h"
#include "fileio/file_stamp.h"
#include "render/window_render.h"
#include "scene_diff.h"
#include "scene_session.h"
#include "standard_output.h"
#include "window/window.h"

namespace vhost {

namespace {

// The one place where a window run writes the scene. After a single run only
// an OK writes it; the shell writes the scene as it holds now, after however
// many runs.
bool saveEdits(const scenefile::LwsDocument &document, const sim::Host &host, const std::string &path,
               bool shell, SaveOptions &options, std::ostream &err) {
    if (!shell) return saveScene(document, host, path, err, options);
    if (!writeScene(document, host.scene(), path, err, options)) return false;
    // The shell may save again: what it just wrote is now the file as read.
    if (options.readStamp && fileio::namesStampedFile(*options.readStamp, path)) {
        fileio::FileStamp fresh;
        std::string why;
        if (fileio::stampFile(path, fresh, why)) options.readStamp = fresh;
    }
    return true;
}

// After a refused save: how the scene file changed on disk since it was read,
// or "" when the save was not over it or it is unchanged (the save failed for
// another reason).
std::string changeOnDisk(const SaveOptions &options, const std::string &path) {
    if (!options.readStamp || !fileio::namesStampedFile(*options.readStamp, path)) return {};
    fileio::FileStamp now;
    std::string why;
    if (!fileio::stampFile(path, now, why) || !now.exists) return {};
    return fileio::describeChange(*options.readStamp, now);
}

std::string lastLine(const std::string &text) {
    std::string last;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) last = line;
    return last;
}

std::string recordingText(const std::vector<std::string> &lines) {
    std::string text = "# recorded by vantorel-host --window; replay with --script\n";
    for (const std::string &l : lines) text += l + '\n';
    return text;
}

bool writeRecording(const std::vector<std::string> &lines, const std::string &path) {
    if (lines.empty()) {
        std::cerr << "warning: the panel never opened; nothing was recorded to " << path << '\n';
        return true;
    }
    std::string error;
    if (!fileio::replaceFile(path, recordingText(lines), error)) {
        std::cerr << "error: " << error << '\n';
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
    std::string stem = options.scene ? baseName(*options.scene) : "vantorel";
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
void replayHint(const std::string &recording, const Options &options, const std::string &change) {
    const std::string replay = "vantorel-host --scene " + *options.scene + " --script " + recording;
    if (!change.empty())
        std::cerr << "To apply its edits to " << *options.scene
                  << " as it is now, replay it with the same options: " << replay
                  << " --diff (to look first), then " << replay << " --save " << *options.save << '\n';
    else std::cerr << "To save its edits, replay it with the same options: " << replay << " --save OUT.lws\n";
}

// The end of a single run: the session is kept when the save failed (and
// --record did not keep it), or where --record could not write it.
void keepSession(const std::vector<std::string> &recorded, const Options &options, bool recordFailed,
                 const std::string &change) {
    const std::string text = recordingText(recorded);
    std::string why;
    const std::string kept = keepRecording(text, options, why);
    if (kept.empty()) {
        std::cerr << "error: the session could not be kept in a file (" << why
                  << "); here it is, to copy into a .vts file and replay with --script:\n"
                  << text << "(end of the session)\n";
        return;
    }
    if (recordFailed) {
        std::cerr << "kept: the recording could not be written to " << *options.record << "; it is in "
                  << kept << " instead\n";
        return;
    }
    std::cerr << "kept: the save failed, so the session was recorded to " << kept << ". ";
    replayHint(kept, options, change);
}

// The page of changes: the warnings, then the diff, one line each.
window::ShellChanges pageOfChanges(const SceneDiff &d, const std::string &target,
                                   const std::string &against) {
    window::ShellChanges c;
    const int columns = render::shellLayout().pageColumns;
    for (const std::string &w : d.warnings) {
        const std::vector<std::string> wrapped = render::wrapText("warning: " + w, columns - 2, 0);
        for (std::size_t i = 0; i < wrapped.size(); ++i) c.lines.push_back((i ? "  " : "") + wrapped[i]);
    }
    if (!d.errors.empty()) {
        c.title = "Save to " + target + " would be refused: nothing would be written";
        for (const std::string &e : d.errors) {
            const std::vector<std::string> wrapped = render::wrapText("error: " + e, columns - 2, 0);
            for (std::size_t i = 0; i < wrapped.size(); ++i) c.lines.push_back((i ? "  " : "") + wrapped[i]);
        }
        return c;
    }
    if (d.diff.text.empty()) {
        c.title = "No changes: Save would write " + target + " as " + against;
        if (c.lines.empty()) c.lines.push_back("Nothing would change.");
        return c;
    }
    c.title = "Save to " + target + ", against " + against + ": " + std::to_string(d.diff.removed) +
              " line(s) removed, " + std::to_string(d.diff.added) + " added";
    std::istringstream lines(d.diff.text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // shown without the CR of a CRLF file
        c.lines.push_back(line);
    }
    return c;
}

}  // namespace

bool runWindowSession(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                      const sim::PluginLibrary &lib, SaveOptions saveOptions, const std::string &sceneBytes) {
    window::Settings settings;
    settings.zoom = options.zoom.value_or(0);
    bool written = true;
    if (options.shell) {
        window::ShellSettings s;
        s.window = settings;
        s.saveTo = options.save;
        s.sceneFile = options.scene;
        // What the save target holds as far as this shell knows: the scene file
        // as read, then what it saved last. "Show changes" compares with it.
        std::string baseline = sceneBytes;
        std::string baselineName = options.scene ? baseName(*options.scene) : std::string();
        std::string against = options.scene ? baselineName + " as read" : std::string();
        std::string targetName = options.save ? baseName(*options.save) : baselineName;
        s.save = [&](const window::SaveRequest &r, std::string &message) {
            std::ostringstream err;
            SaveOptions o = saveOptions;
            o.force = saveOptions.force || r.force;
            const bool ok = saveEdits(document, host, r.path, true, o, err);
            saveOptions.readStamp = o.readStamp;  // taken afresh after a save over the scene file
            std::cerr << err.str();
            message = lastLine(err.str());
            if (ok) {
                baseline = renderScene(document, host.scene(), saveOptions.plugin).bytes;
                baselineName = targetName = baseName(r.path);
                against = "it was saved last";
                return window::SaveOutcome::Saved;
            }
            if (message.rfind("error: ", 0) == 0) message.erase(0, 7);
            const std::string change = changeOnDisk(saveOptions, r.path);
            if (!change.empty() && !o.force) {
                message =
                    r.path + " changed on disk since it was read (" + change +
                    "); nothing was written. \"Save anyway\" replaces it with these edits, \"Save as...\" "
                    "writes them to another file.";
                return window::SaveOutcome::ChangedOnDisk;
            }
            message += " \"Save as...\" writes the edits to another file.";
            return window::SaveOutcome::Failed;
        };
        s.changes = [&]() {
            if (!options.scene) {
                window::ShellChanges c;
                c.title = "No scene file";
                c.lines = {"The built-in scene has no file to compare with; start with --scene FILE.lws."};
                return c;
            }
            return pageOfChanges(
                diffScene(document, baseline, host.scene(), baselineName, saveOptions.plugin), targetName,
                against);
        };
        s.runFinished = [](int result) {
            std::cout.flush();
            std::cerr << "result: " << result << '\n';
        };
        window::runShell(host, lib, s);
    } else {
        std::vector<std::string> recorded;
        const int result =
            host.activate(lib, [&](sim::Host &h) { return window::runPanel(h, settings, &recorded); });
        std::cout.flush();
        std::cerr << "result: " << result << '\n';
        bool saveFailed = false;
        std::string change;
        if (options.diff) {
            written = printSceneDiff(document, sceneBytes, host, *options.scene, saveOptions.plugin,
                                     std::cout, std::cerr) &&
                      written;
            noteStandardOutput();
        } else if (options.save) {
            saveFailed = !saveEdits(document, host, *options.save, false, saveOptions, std::cerr);
            if (saveFailed) change = changeOnDisk(saveOptions, *options.save);
            written = !saveFailed && written;
        } else if (options.scene && host.lastOutcome() == sim::Close::Ok) {
            std::cerr << "note: nothing was saved; to write the edited scene, run again with --save OUT.lws "
                         "(it may name the --scene file itself)\n";
        }
        // Work done by hand is not lost at the end: the session is kept as a
        // recording where --record asked, and beside the scene file when
        // that cannot be written or the save failed.
        bool recordFailed = false;
        if (options.record) {
            recordFailed = !writeRecording(recorded, *options.record);
            written = !recordFailed && written;
        }
        if (!recorded.empty() && (recordFailed || (saveFailed && !options.record)))
            keepSession(recorded, options, recordFailed, change);
        else if (saveFailed && !recorded.empty()) {
            std::cerr << "note: the save failed; " << *options.record << " keeps the session. ";
            replayHint(*options.record, options, change);
        }
    }
    window::stop();
    if (options.png) written = savePanelPicture(host, *options.png, std::cerr) && written;
    return written;
}

}  // namespace vhost
