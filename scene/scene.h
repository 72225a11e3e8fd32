// scene.h - a scene of lights: an ordered list of lights and their settings.
//
// Neutral ground: the simulated Layout answers Item Info / Light Info from it
// and applies Layout commands to it, the scene-file reader fills it and the
// writer takes the edited one, and the front ends show it. It depends on
// nothing but the standard library.
#ifndef VANTOREL_SCENE_SCENE_H
#define VANTOREL_SCENE_SCENE_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace scene {

// Item IDs of lights in the simulated Layout: 0x20000000 + index, as in LWSC 1..3.
constexpr uint32_t kLightIdBase = 0x20000000u;

struct Light {
    uint32_t id = 0;                 // item ID as Layout reports it
    std::string name;                // may repeat between lights
    double color[3] = {1, 1, 1};     // red, green, blue as fractions
    double intensity = 1.0;          // fraction: 1.0 is 100 percent; may be <0 or >1
    int32_t lightType = 1;           // 0 distant, 1 point, 2 spot, 3 linear, 4 area
    int32_t shadowType = 0;          // 0 off, 1 ray traced, 2 shadow map
    double range = 1.0;              // distance units
    uint32_t flags = 0;              // bit 0: limited range
    bool intensityAnimated = false;  // intensity comes from an envelope; value is at time 0
    std::string otherKind;           // a kind outside the five types that the scene file names
                                     // ("Dome", "Photometric", "Portal", or a handler's own name);
                                     // such a light keeps it, whatever type is sent; else empty
};

struct Scene {
    std::vector<Light> lights;  // in Layout's enumeration order

    // Position in `lights` of the first light with this item ID, or -1. Takes
    // constant time: an index by ID is built on first use and rebuilt when the
    // number of lights changes or a position it gives no longer holds that ID.
    // (A light whose ID is changed in place to a new one is found again once
    // the number of lights changes.)
    long find(uint32_t id) const;

private:
    void rebuildIndex() const;
    mutable std::unordered_map<uint32_t, size_t> index_;
    mutable size_t indexedCount_ = static_cast<size_t>(-1);
};

// Lights "Light 1" .. "Light N": point, intensity 1, white, shadow off, range 1, flags 0.
Scene makeUniformScene(int count);
// The built-in demo scene: about eight named lights of mixed types.
Scene makeDemoScene();

}  // namespace scene

#endif
