// window_session.cpp - vantorel-host's window runs.
#include "window_session.h"

#include <iostream>
#include <sstream>

#include "fileio/durable_write.h"
#include "fileio/file_stamp.h"
#include "scene_session.h"
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

bool writeRecording(const std::vector<std::string> &lines, const std::string &path) {
    if (lines.empty()) {
        std::cerr << "warning: the panel never opened; nothing was recorded to " << path << '\n';
        return true;
    }
    std::string text = "# recorded by vantorel-host --window; replay with --script\n";
    for (const std::string &l : lines) text += l + '\n';
    std::string error;
    if (!fileio::replaceFile(path, text, error)) {
        std::cerr << "error: " << error << '\n';
        return false;
    }
    std::cerr << "recorded: " << path << '\n';
    return true;
}

}  // namespace

bool runWindowSession(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                      const sim::PluginLibrary &lib, SaveOptions saveOptions) {
    window::Settings settings;
    settings.zoom = options.zoom.value_or(0);
    bool written = true;
    if (options.shell) {
        window::ShellSettings s;
        s.window = settings;
        s.saveTo = options.save;
        s.sceneFile = options.scene;
        s.save = [&](const std::string &path, std::string &message) {
            std::ostringstream err;
            const bool ok = saveEdits(document, host, path, true, saveOptions, err);
            std::cerr << err.str();
            std::string all = err.str(), last;
            std::istringstream lines(all);
            for (std::string line; std::getline(lines, line);) last = line;
            message = last;
            return ok;
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
        if (options.save) {
            written = saveEdits(document, host, *options.save, false, saveOptions, std::cerr) && written;
        } else if (options.scene && host.lastOutcome() == sim::Close::Ok) {
            std::cerr << "note: nothing was saved; to write the edited scene, run again with --save OUT.lws "
                         "(it may name the --scene file itself)\n";
        }
        if (options.record) written = writeRecording(recorded, *options.record) && written;
    }
    window::stop();
    if (options.png) written = savePanelPicture(host, *options.png, std::cerr) && written;
    return written;
}

}  // namespace vhost
