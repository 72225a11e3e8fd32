// scene_source.h - a scene file opened from its bytes: the document a session
// edits and, when asked for, the bytes as read (what the diff of a save
// compares with). No file is read here: each front end gets the bytes
// its own way (vantorel-host from the disk, a page from an upload) and hands
// them over.
#ifndef VANTOREL_SESSION_SCENE_SOURCE_H
#define VANTOREL_SESSION_SCENE_SOURCE_H

#include <string>

#include "scenefile/lws_document.h"

namespace session {

struct OpenedScene {
    scenefile::LwsDocument document;
    std::string bytes;  // the file as read; empty unless kept
};

// Parses bytes as the scene file called name (the name errors give:
// "NAME:LINE: message", see LoadError::toString). keepBytes: keep a copy of
// the bytes in out.bytes. On failure returns false, fills error and leaves out
// as it was.
bool openScene(std::string bytes, const std::string &name, bool keepBytes, OpenedScene &out,
               scenefile::LoadError &error);

}  // namespace session

#endif
