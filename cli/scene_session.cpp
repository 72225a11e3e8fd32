// scene_session.cpp - scene files and panel pictures for vantorel-host.
#include "scene_session.h"

#include <utility>

#include "diagnostics.h"
#include "file_roles.h"
#include "fileio/durable_write.h"
#include "fileio/file_store.h"
#include "render/panel_render.h"
#include "session/scene_source.h"

namespace vhost {

bool loadScene(const std::string &path, scenefile::LwsDocument &doc, fileio::FileStamp &stamp,
               scenefile::LoadError &err, std::string *bytesRead) {
    constexpr std::size_t kMax = scenefile::LwsDocument::kMaxFileBytes;
    std::string bytes, why;
    err.file = path;
    err.line = 0;
    // A folder fails only at the first read, and a device may never end.
    const std::string kind = unreadableKind(path);
    if (!kind.empty()) {
        err.message = kind + ", not a scene file; give the name of a .lws file";
        return false;
    }
    switch (fileio::readFile(path, kMax, bytes, stamp, why)) {
    case fileio::ReadResult::Ok: {
        session::OpenedScene opened;
        if (!session::openScene(std::move(bytes), path, bytesRead != nullptr, opened, err)) return false;
        doc = std::move(opened.document);
        if (bytesRead) *bytesRead = std::move(opened.bytes);
        return true;
    }
    case fileio::ReadResult::CannotOpen:
        err.message = "cannot open the file for reading (" + why + ")";
        return false;
    case fileio::ReadResult::TooLarge:
        err.message = "file is larger than " + std::to_string(kMax / (std::size_t{1024} * 1024u)) + " MiB";
        return false;
    case fileio::ReadResult::ReadError: break;
    }
    err.message = "error while reading the file (" + why + ")";
    return false;
}

bool reportSave(const session::SceneSave &save, std::ostream &err) {
    const session::SaveResult &r = save.result;
    Diagnostics d(err);
    for (const std::string &w : save.warnings) d.warning(w);
    for (const std::string &e : save.errors) d.error(e);
    if (r.status == session::SaveStatus::ChangedOnDisk) {
        d.error(r.target + ": the file changed on disk since it was read (" + r.change +
                "); nothing was written. Look at the other change first, save to another file, or give "
                "--force to replace it with this session's result.");
        return false;
    }
    if (!r.change.empty())
        d.warning(r.target + " changed on disk since it was read (" + r.change +
                  "); replacing it as --force asks");
    if (r.status == session::SaveStatus::Failed) {
        d.error(r.message);
        return false;
    }
    err << "saved: " << r.target << '\n';
    return true;
}

bool saveScene(const scenefile::LwsDocument &doc, const sim::Host &host, const std::string &path,
               std::ostream &err, const SaveOptions &options, session::SaveResult *result) {
    const std::optional<sim::Close> outcome = host.lastOutcome();
    if (!outcome) {
        Diagnostics(err).note("the panel never opened; " + path + " was not written");
        return true;
    }
    if (*outcome != sim::Close::Ok) {
        Diagnostics(err).note("the panel was cancelled; " + path + " was not written");
        return true;
    }
    session::SaveResult r = writeScene(doc, host.scene(), path, err, options);
    const bool written = r.status == session::SaveStatus::Written;
    if (result) *result = std::move(r);
    return written;
}

session::SaveResult writeScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                               const std::string &path, std::ostream &err, const SaveOptions &options) {
    // One save per run: what it writes need not be read back.
    fileio::FileStore store(options.readStamp, false);
    session::SceneSave save = session::saveScene(doc, scene, options.plugin, store, path, options.force);
    reportSave(save, err);
    return std::move(save.result);
}

bool writePanelPicture(const sim::PanelModel &panel, const std::string &path, std::string &error) {
    const std::string png = render::encodePng(render::drawPanel(panel));
    if (png.empty()) {
        error = path + ": the picture could not be encoded";
        return false;
    }
    return fileio::replaceFile(path, png, error);
}

bool savePanelPicture(const sim::Host &host, const std::string &path, std::ostream &err) {
    const sim::PanelModel *panel = host.lastPanel();
    if (!panel || !panel->opened) {
        Diagnostics(err).warning("the panel never opened; no picture was written to " + path);
        return true;
    }
    std::string error;
    if (!writePanelPicture(*panel, path, error)) {
        Diagnostics(err).error(error);
        return false;
    }
    return true;
}

}  // namespace vhost
