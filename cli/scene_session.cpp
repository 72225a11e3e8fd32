// scene_session.cpp - scene files and panel pictures for vantorel-host.
#include "scene_session.h"

#include <cstdio>

#include "render/panel_render.h"

namespace vhost {

bool replaceFile(const std::string &path, const std::string &bytes, std::string &error) {
    const std::string temp = path + ".vantorel-part";
    if (!scenefile::writeFileBytes(temp, bytes, error)) {
        error = path + ": cannot write the file (" + error + "); check the folder exists and is writable";
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        // Windows does not rename over an existing file.
        std::remove(path.c_str());
        if (std::rename(temp.c_str(), path.c_str()) != 0) {
            std::remove(temp.c_str());
            error = path + ": cannot replace the file; check it is not read-only or open elsewhere";
            return false;
        }
    }
    return true;
}

bool saveScene(const scenefile::LwsDocument &doc, const sim::Host &host, const std::string &path,
               std::ostream &err) {
    const std::optional<sim::Close> outcome = host.lastOutcome();
    if (!outcome) {
        err << "note: the panel never opened; " << path << " was not written\n";
        return true;
    }
    if (*outcome != sim::Close::Ok) {
        err << "note: the panel was cancelled; " << path << " was not written\n";
        return true;
    }
    return writeScene(doc, host.scene(), path, err);
}

bool writeScene(const scenefile::LwsDocument &doc, const sim::Scene &scene, const std::string &path,
                std::ostream &err) {
    std::vector<std::string> warnings;
    const std::string bytes = doc.render(scene, warnings);
    for (const std::string &w : warnings) err << "warning: " << w << '\n';
    std::string error;
    if (!replaceFile(path, bytes, error)) {
        err << "error: " << error << '\n';
        return false;
    }
    err << "saved: " << path << '\n';
    return true;
}

bool writePanelPicture(const sim::PanelModel &panel, const std::string &path, std::string &error) {
    const std::string png = render::encodePng(render::drawPanel(panel));
    if (png.empty()) {
        error = path + ": the picture could not be encoded";
        return false;
    }
    return replaceFile(path, png, error);
}

bool savePanelPicture(const sim::Host &host, const std::string &path, std::ostream &err) {
    const sim::PanelModel *panel = host.lastPanel();
    if (!panel || !panel->opened) {
        err << "warning: the panel never opened; no picture was written to " << path << '\n';
        return true;
    }
    std::string error;
    if (!writePanelPicture(*panel, path, error)) {
        err << "error: " << error << '\n';
        return false;
    }
    return true;
}

}  // namespace vhost
