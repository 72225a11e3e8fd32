// scene_bytes.cpp - the edited scene as the bytes a save writes.
#include "session/scene_bytes.h"

#include "scene/name_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "scenefile/lws_text.h"
#include "sim/host.h"

namespace session {

std::optional<scene::Scene> uneditedScene(const scenefile::LwsDocument &doc,
                                          const sim::PluginLibrary &plugin) {
    sim::Host host(doc.scene());
    host.setLogging(false);
    host.setDrawing(false);
    host.activate(plugin, [](sim::Host &) { return sim::Close::Ok; });
    if (host.lastOutcome() != sim::Close::Ok) return std::nullopt;
    return std::move(host.scene());
}

std::vector<std::string> unlimitedRangeWarnings(const scenefile::LwsDocument &doc,
                                                const scene::Scene &scene) {
    std::vector<std::string> out;
    const scene::Scene read = doc.scene();
    const std::size_t n = std::min(read.lights.size(), scene.lights.size());
    const scene::NameReading asText(read.lights);
    for (std::size_t i = 0; i < n; ++i) {
        const scene::Light &was = read.lights[i], &now = scene.lights[i];
        if ((was.flags & 1u) != 0 || was.id != now.id || !std::isfinite(now.range)) continue;
        if (doc.settingAnimated(i, scenefile::LwsSetting::Range)) continue;  // the writer says so
        const std::string range = scenefile::formatTrimmed(now.range);
        if (range == scenefile::formatTrimmed(was.range)) continue;
        out.push_back("light " + std::to_string(i + 1) + " \"" + asText(was.name) +
                      "\": its range is set to " + range +
                      " (a paste carried the copied light's limited range), but its falloff stays off in the "
                      "file, so the range has no effect until falloff is turned on in Layout");
    }
    return out;
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

}  // namespace session
