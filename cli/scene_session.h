// scene_session.h - vantorel-host's files around a session: the scene file it
// reads (--scene) and writes back (--save), and pictures of the panel (--png,
// the script's snapshot action). Every file is written through
// fileio::replaceFile: atomically, durably, links and special files kept.
// What is written and why comes from session/; this prints it in the
// command line's words.
#ifndef VANTOREL_CLI_SCENE_SESSION_H
#define VANTOREL_CLI_SCENE_SESSION_H

#include <optional>
#include <ostream>
#include <string>

#include "fileio/file_stamp.h"
#include "host.h"
#include "scenefile/lws_document.h"
#include "session/scene_save.h"

namespace vhost {

// Reads and parses the scene file at path and stamps it (what was read, to
// notice later whether it changed on disk). bytesRead, when given, receives a
// copy of the file's bytes (--diff compares with them). On failure fills err
// and returns false.
bool loadScene(const std::string &path, scenefile::LwsDocument &doc, fileio::FileStamp &stamp,
               scenefile::LoadError &err, std::string *bytesRead = nullptr);

// How saveScene treats the file it saves over.
struct SaveOptions {
    // The scene file as it was read (loadScene). When the save goes over that
    // same file (the same device and inode, or the same full name) and it is
    // no longer what was read (size, modification time or content), the save
    // is refused and nothing is written. Empty: no check.
    std::optional<fileio::FileStamp> readStamp;
    // Save over it all the same (--force).
    bool force = false;
    // The plug-in the session ran. The writer asks it what an OK without
    // edits sends for the scene file's lights, to tell edits from values the
    // plug-in sends back for every light (see session::uneditedScene). Null:
    // every value is compared with the file alone.
    const sim::PluginLibrary *plugin = nullptr;
};

// Prints how a save went, on err: the writer's warnings ("warning: ..."),
// the edits the file cannot take ("error: ..."), then "saved: PATH" or what
// went wrong and what to do. Returns whether the file was written.
bool reportSave(const session::SceneSave &save, std::ostream &err);

// Writes the scene after the session. Nothing is written unless the panel
// closed with OK; err says why. Reports as reportSave does.
// Returns false only when the file could not be written, the save was refused
// because the file changed on disk, or the edits hold one the file cannot take
// (a light type change in LWSC 6 to 8 that its handler block does not allow;
// nothing is written) (exit 3). result, when given, receives how the save
// went (left as it was when nothing was to be saved).
bool saveScene(const scenefile::LwsDocument &doc, const sim::Host &host, const std::string &path,
               std::ostream &err, const SaveOptions &options = SaveOptions(),
               session::SaveResult *result = nullptr);

// Writes the scene as it is now, whatever the last panel's outcome. Checks
// and reports like saveScene.
session::SaveResult writeScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                               const std::string &path, std::ostream &err,
                               const SaveOptions &options = SaveOptions());

// Writes a picture of a panel as PNG. Returns false with error set on failure.
bool writePanelPicture(const sim::PanelModel &panel, const std::string &path, std::string &error);

// --png: the panel as it was when it closed. When no panel ever opened nothing
// is written and err says so (not a failure). Returns false only when writing failed.
bool savePanelPicture(const sim::Host &host, const std::string &path, std::ostream &err);

}  // namespace vhost

#endif
