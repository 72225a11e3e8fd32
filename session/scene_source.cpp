// scene_source.cpp - opening a scene file from its bytes.
#include "session/scene_source.h"

#include <utility>

namespace session {

bool openScene(std::string bytes, const std::string &name, bool keepBytes, OpenedScene &out,
               scenefile::LoadError &error) {
    std::string kept = keepBytes ? bytes : std::string();
    scenefile::LwsDocument document;
    if (!scenefile::LwsDocument::parse(std::move(bytes), name, document, error)) return false;
    out.document = std::move(document);
    out.bytes = std::move(kept);
    return true;
}

}  // namespace session
