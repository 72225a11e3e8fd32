// scene_diff.cpp - the diff of what a save would write.
#include "session/scene_diff.h"

#include <utility>

#include "session/scene_bytes.h"

namespace session {

SceneDiff diffScene(const scenefile::LwsDocument &doc, std::string_view before, const scene::Scene &scene,
                    const std::string &name, const sim::PluginLibrary *plugin) {
    SceneBytes rendered = renderScene(doc, scene, plugin);
    SceneDiff d;
    d.bytes = std::move(rendered.bytes);
    d.warnings = std::move(rendered.warnings);
    d.errors = std::move(rendered.errors);
    if (d.errors.empty()) d.diff = unifiedDiff(before, d.bytes, name);
    return d;
}

std::string baseName(const std::string &path) {
    std::size_t cut = path.find_last_of('/');
#ifdef _WIN32
    const std::size_t back = path.find_last_of("\\:");
    if (back != std::string::npos && (cut == std::string::npos || back > cut)) cut = back;
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace session
