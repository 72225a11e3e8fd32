// scene_session.h - vantorel-host's files around a session: the scene file it
// reads (--scene) and writes back (--save), and pictures of the panel (--png,
// the script's snapshot action). Every file is written through
// fileio::replaceFile: atomically, durably, links and special files kept.
#ifndef VANTOREL_CLI_SCENE_SESSION_H
#define VANTOREL_CLI_SCENE_SESSION_H

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fileio/file_stamp.h"
#include "host.h"
#include "scenefile/lws_document.h"

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
    // plug-in sends back for every light (see uneditedScene). Null: every
    // value is compared with the file alone.
    const sim::PluginLibrary *plugin = nullptr;
};

// The document's scene after an OK without any edit: the plug-in run once on
// its own host with no event but OK. Carried-over state of the plug-in (the
// copy buffer, the current row) is read by no OK and changed by none, so the
// same loaded library the session used will do. Empty if the run did not end
// in OK.
std::optional<scene::Scene> uneditedScene(const scenefile::LwsDocument &doc,
                                          const sim::PluginLibrary &plugin);

// What a save of the edited scene writes: the bytes, and the sentences to
// report with them. The one way the scene is turned into bytes, for --save,
// --diff and the shell alike, so that a preview shows exactly what a save
// writes.
struct SceneBytes {
    std::string bytes;
    std::vector<std::string> warnings;  // the writer's, then unlimitedRangeWarnings
    std::vector<std::string> errors;    // edits the file cannot take: nothing may be written
};
// plugin: as SaveOptions::plugin (null: values are compared with the file alone).
SceneBytes renderScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                       const sim::PluginLibrary *plugin);

// Writes the scene after the session. Nothing is written unless the panel
// closed with OK; err says why. Warnings of the writer (animated channels left
// alone, values that could not be written) and unlimitedRangeWarnings
// (scene_diff.h) go to err as "warning: ...".
// Returns false only when the file could not be written, the save was refused
// because the file changed on disk, or the edits hold one the file cannot take
// (a light type change in LWSC 6 to 8 that its handler block does not allow;
// nothing is written) ("error: ..." on err; exit 3).
bool saveScene(const scenefile::LwsDocument &doc, const sim::Host &host, const std::string &path,
               std::ostream &err, const SaveOptions &options = SaveOptions());

// Writes the scene as it is now, whatever the last panel's outcome (the shell
// window saves after several runs, the last of which may have been
// cancelled). Checks and reports like saveScene; returns false when the file
// could not be written or the save was refused.
bool writeScene(const scenefile::LwsDocument &doc, const scene::Scene &scene, const std::string &path,
                std::ostream &err, const SaveOptions &options = SaveOptions());

// Writes a picture of a panel as PNG. Returns false with error set on failure.
bool writePanelPicture(const sim::PanelModel &panel, const std::string &path, std::string &error);

// --png: the panel as it was when it closed. When no panel ever opened nothing
// is written and err says so (not a failure). Returns false only when writing failed.
bool savePanelPicture(const sim::Host &host, const std::string &path, std::ostream &err);

}  // namespace vhost

#endif
