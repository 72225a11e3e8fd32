// scene_session.cpp - scene files and panel pictures for vantorel-host.
#include "scene_session.h"

#include <utility>

#include "file_roles.h"
#include "fileio/durable_write.h"
#include "render/panel_render.h"
#include "scene_diff.h"

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
    case fileio::ReadResult::Ok:
        if (bytesRead) *bytesRead = bytes;
        return scenefile::LwsDocument::parse(std::move(bytes), path, doc, err);
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

bool saveScene(const scenefile::LwsDocument &doc, const sim::Host &host, const std::string &path,
               std::ostream &err, const SaveOptions &options) {
    const std::optional<sim::Close> outcome = host.lastOutcome();
    if (!outcome) {
        err << "note: the panel never opened; " << path << " was not written\n";
        return true;
    }
    if (*outcome != sim::Close::Ok) {
        err << "note: the panel was cancelled; " << path << " was not written\n";
        return true;
    }
    return writeScene(doc, host.scene(), path, err, options);
}

std::optional<scene::Scene> uneditedScene(const scenefile::LwsDocument &doc,
                                          const sim::PluginLibrary &plugin) {
    sim::Host host(doc.scene());
    host.setLogging(false);
    host.setDrawing(false);
    host.activate(plugin, [](sim::Host &) { return sim::Close::Ok; });
    if (host.lastOutcome() != sim::Close::Ok) return std::nullopt;
    return std::move(host.scene());
}

SceneBytes renderScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                       const sim::PluginLibrary *plugin) {
    std::optional<scene::Scene> unedited;
    if (plugin) unedited = uneditedScene(doc, *plugin);
    scenefile::LwsDocument::Notes notes;
    SceneBytes out;
    out.bytes = doc.render(scene, unedited ? &*unedited : nullptr, notes);
    out.warnings = std::move(notes.warnings);
    for (std::string &w : unlimitedRangeWarnings(doc, scene)) out.warnings.push_back(std::move(w));
    out.errors = std::move(notes.errors);
    return out;
}

bool writeScene(const scenefile::LwsDocument &doc, const scene::Scene &scene, const std::string &path,
                std::ostream &err, const SaveOptions &options) {
    const SceneBytes rendered = renderScene(doc, scene, options.plugin);
    const std::string &bytes = rendered.bytes;
    for (const std::string &w : rendered.warnings) err << "warning: " << w << '\n';
    if (!rendered.errors.empty()) {
        for (const std::string &e : rendered.errors) err << "error: " << e << '\n';
        err << "error: " << path
            << " was not written. Change the type of those lights in LightWave, or run the session again "
               "without that type change.\n";
        return false;
    }

    // Saving over the file that was read: is it still what was read?
    if (options.readStamp && fileio::namesStampedFile(*options.readStamp, path)) {
        fileio::FileStamp now;
        std::string why;
        if (!fileio::stampFile(path, now, why)) {
            err << "error: " << path << ": cannot read it back to check it is unchanged since it was read ("
                << why << "); nothing was written. Check the file, or save to another file.\n";
            return false;
        }
        const std::string change =
            now.exists ? fileio::describeChange(*options.readStamp, now) : std::string();
        if (!change.empty()) {
            if (!options.force) {
                err << "error: " << path << ": the file changed on disk since it was read (" << change
                    << "); nothing was written. Look at the other change first, save to another file, or "
                       "give "
                       "--force to replace it with this session's result.\n";
                return false;
            }
            err << "warning: " << path << " changed on disk since it was read (" << change
                << "); replacing it as --force asks\n";
        }
    }
    std::string error;
    if (!fileio::replaceFile(path, bytes, error)) {
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
    return fileio::replaceFile(path, png, error);
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
