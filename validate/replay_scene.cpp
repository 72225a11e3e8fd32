// replay_scene.cpp - a replay's scene through the scene-file writer and reader.
#include "replay_scene.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "scenefile/lws_document.h"

namespace validate {

namespace {

// A name as one LightName line can hold it: line breaks would end the line.
std::string oneLine(const std::string &name) {
    std::string s = name;
    for (char &c : s)
        if (c == '\n' || c == '\r') c = ' ';
    return s;
}

// Every light with each of its settings' lines, at the values a light has by
// default: the writer then rewrites each line whose value differs.
std::string skeleton(const scene::Scene &s) {
    std::string text = "LWSC\n5\n\n";
    for (const scene::Light &l : s.lights) {
        char id[16];
        std::snprintf(id, sizeof id, "%X", static_cast<unsigned>(l.id));
        text += std::string("AddLight ") + id + "\nLightName " + oneLine(l.name) +
                "\nLightColor 1 1 1\nLightIntensity 1\nLightType 1\nLightFalloffType 0\nLightRange 1\n"
                "ShadowType 0\n\n";
    }
    return text;
}

bool sameBits(double a, double b) {
    std::uint64_t x = 0, y = 0;
    std::memcpy(&x, &a, sizeof a);
    std::memcpy(&y, &b, sizeof b);
    return x == y;
}

}  // namespace

std::string sceneFileBytes(const scene::Scene &s) {
    scenefile::LwsDocument document;
    scenefile::LoadError error;
    if (!scenefile::LwsDocument::parse(skeleton(s), "replay.lws", document, error)) return {};
    // Only the limited-range bit of the flags has a line to go to.
    scene::Scene written = s;
    for (scene::Light &l : written.lights) l.flags &= 1u;
    scenefile::LwsDocument::Notes notes;  // what the file could not hold; the reader says the rest
    return document.render(written, nullptr, notes);
}

bool readSceneFile(const std::string &bytes, scene::Scene &out, std::string &why) {
    scenefile::LwsDocument document;
    scenefile::LoadError error;
    if (!scenefile::LwsDocument::parse(bytes, "replay.lws", document, error)) {
        why = error.toString();
        return false;
    }
    out = document.scene();
    return true;
}

std::optional<scene::Scene> throughSceneFile(const scene::Scene &s, std::string &why) {
    scene::Scene back;
    if (!readSceneFile(sceneFileBytes(s), back, why)) return std::nullopt;
    return back;
}

bool sameLights(const scene::Scene &a, const scene::Scene &b) {
    if (a.lights.size() != b.lights.size()) return false;
    for (size_t i = 0; i < a.lights.size(); ++i) {
        const scene::Light &x = a.lights[i], &y = b.lights[i];
        bool same = x.id == y.id && x.name == y.name && sameBits(x.intensity, y.intensity) &&
                    x.lightType == y.lightType && x.shadowType == y.shadowType &&
                    sameBits(x.range, y.range) && x.flags == y.flags &&
                    x.intensityAnimated == y.intensityAnimated;
        for (int c = 0; c < 3; ++c) same = same && sameBits(x.color[c], y.color[c]);
        if (!same) return false;
    }
    return true;
}

}  // namespace validate
