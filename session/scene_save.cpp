// scene_save.cpp - the edited scene rendered and handed to a store.
#include "session/scene_save.h"

#include <utility>

#include "session/scene_bytes.h"

namespace session {

SceneSave saveScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                    const sim::PluginLibrary *plugin, Store &store, const std::string &target, bool force) {
    SceneBytes rendered = renderScene(doc, scene, plugin);
    SceneSave out;
    out.warnings = std::move(rendered.warnings);
    out.errors = std::move(rendered.errors);
    if (!out.errors.empty()) {
        out.result = saveFailure(target, "writing the edits into the scene",
                                 target +
                                     " was not written. Change the type of those lights in LightWave, or run "
                                     "the session again without that type change.");
        return out;
    }
    out.result = store.write(target, rendered.bytes, force);
    if (out.result.status == SaveStatus::Written) out.bytes = std::move(rendered.bytes);
    return out;
}

}  // namespace session
