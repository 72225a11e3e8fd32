// plugin_fixture.h - a fresh instance of the plug-in on a simulated Layout.
#ifndef VANTOREL_TESTS_PLUGIN_FIXTURE_H
#define VANTOREL_TESTS_PLUGIN_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host.h"
#include "tests/support/deliver.h"

namespace plugintest {

using sim::Action;
using sim::Button;

inline scene::Light light(const std::string &name, int type = 1, double intensity = 1.0, double r = 1,
                          double g = 1, double b = 1) {
    scene::Light l;
    l.name = name;
    l.lightType = type;
    l.intensity = intensity;
    l.color[0] = r;
    l.color[1] = g;
    l.color[2] = b;
    return l;
}

inline scene::Scene sceneOf(std::vector<scene::Light> lights) {
    scene::Scene scene;
    scene.lights = std::move(lights);
    for (size_t i = 0; i < scene.lights.size(); ++i)
        scene.lights[i].id = scene::kLightIdBase + static_cast<uint32_t>(i);
    return scene;
}

inline scene::Scene namedScene(const std::vector<std::string> &names) {
    std::vector<scene::Light> lights;
    lights.reserve(names.size());
    for (const auto &n : names) lights.push_back(light(n));
    return sceneOf(lights);
}

// Every test gets its own loaded copy of the plug-in: all-zero static state.
class PluginTest : public ::testing::Test {
protected:
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    // One activation whose panel must open (testsupport::runOpened).
    int run(sim::Host &host, sim::Host::Driver driver) {
        return testsupport::runOpened(host, lib, std::move(driver));
    }
};

inline std::vector<std::string> slice(const std::vector<std::string> &v, size_t from, size_t count) {
    return std::vector<std::string>(v.begin() + static_cast<long>(from),
                                    v.begin() + static_cast<long>(from + count));
}

}  // namespace plugintest

#endif
