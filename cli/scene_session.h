// scene_session.h - vantorel-host's files around a session: the scene file it
// reads (--scene) and writes back (--save), and pictures of the panel (--png,
// the script's snapshot action).
#ifndef VANTOREL_CLI_SCENE_SESSION_H
#define VANTOREL_CLI_SCENE_SESSION_H

#include <ostream>
#include <string>

#include "host.h"
#include "scenefile/lws_document.h"

namespace vhost {

// Writes bytes to path through a temporary file beside it, which then replaces
// path: a failed write never leaves a half-written file, nor destroys the file
// that was there (which may be the scene being edited). On failure sets error
// to a sentence naming the file.
bool replaceFile(const std::string &path, const std::string &bytes, std::string &error);

// Writes the scene after the session. Nothing is written unless the panel
// closed with OK; stderr says why. Warnings of the writer (animated channels
// left alone, values that could not be written) go to err as "warning: ...".
// Returns false only when writing failed.
bool saveScene(const scenefile::LwsDocument &doc, const sim::Host &host, const std::string &path,
               std::ostream &err);

// Writes the scene as it is now, whatever the last panel's outcome (the shell
// window saves after several runs, the last of which may have been
// cancelled). Reports like saveScene. Returns false only when writing failed.
bool writeScene(const scenefile::LwsDocument &doc, const sim::Scene &scene, const std::string &path,
                std::ostream &err);

// Writes a picture of a panel as PNG. Returns false with error set on failure.
bool writePanelPicture(const sim::PanelModel &panel, const std::string &path, std::string &error);

// --png: the panel as it was when it closed. When no panel ever opened nothing
// is written and err says so (not a failure). Returns false only when writing failed.
bool savePanelPicture(const sim::Host &host, const std::string &path, std::ostream &err);

}  // namespace vhost

#endif
