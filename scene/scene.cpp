// scene.cpp - scenes the simulated Layout starts from.
#include "scene/scene.h"

namespace scene {

void Scene::rebuildIndex() const {
    index_.clear();
    index_.reserve(lights.size());
    for (size_t i = 0; i < lights.size(); ++i) index_.emplace(lights[i].id, i);  // the first one counts
    indexedCount_ = lights.size();
}

long Scene::find(uint32_t id) const {
    if (indexedCount_ != lights.size()) rebuildIndex();
    auto it = index_.find(id);
    if (it != index_.end() && (it->second >= lights.size() || lights[it->second].id != id)) {
        rebuildIndex();
        it = index_.find(id);
    }
    return it == index_.end() ? -1 : static_cast<long>(it->second);
}

Scene makeUniformScene(int count) {
    Scene scene;
    if (count < 0) count = 0;
    scene.lights.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Light light;
        light.id = kLightIdBase + static_cast<uint32_t>(i);
        light.name = "Light " + std::to_string(i + 1);
        scene.lights.push_back(light);
    }
    return scene;
}

namespace {
Light demoLight(const char *name, int32_t type, double r, double g, double b, double intensity,
                int32_t shadow, double range, uint32_t flags) {
    Light light;
    light.name = name;
    light.lightType = type;
    light.color[0] = r;
    light.color[1] = g;
    light.color[2] = b;
    light.intensity = intensity;
    light.shadowType = shadow;
    light.range = range;
    light.flags = flags;
    return light;
}
}  // namespace

Scene makeDemoScene() {
    Scene scene;
    // A small studio: three-point lighting, a sun, two spots sharing a name
    // prefix (and a third light whose name differs from them only in case),
    // a linear bounce and an area window. Key and Bounce have a limited range.
    scene.lights = {
        demoLight("Key", 2, 1.0, 0.95, 0.85, 1.0, 1, 12.5, 1u),
        demoLight("Fill", 1, 0.75, 0.85, 1.0, 0.5, 0, 1.0, 0u),
        demoLight("Rim", 2, 1.0, 1.0, 1.0, 0.8, 2, 1.0, 0u),
        demoLight("Sun", 0, 1.0, 0.9, 0.7, 1.2, 1, 1.0, 0u),
        demoLight("Spot Left", 2, 1.0, 1.0, 1.0, 0.6, 2, 1.0, 0u),
        demoLight("Spot Right", 2, 1.0, 1.0, 0.5, 0.6, 2, 1.0, 0u),
        demoLight("spot back", 2, 0.5, 0.5, 1.0, 0.4, 0, 1.0, 0u),
        demoLight("Bounce", 3, 1.0, 0.8, 0.6, 0.3, 0, 4.0, 1u),
        demoLight("Window", 4, 0.9, 0.95, 1.0, 0.7, 1, 1.0, 0u),
    };
    for (size_t i = 0; i < scene.lights.size(); ++i)
        scene.lights[i].id = kLightIdBase + static_cast<uint32_t>(i);
    return scene;
}

}  // namespace scene
