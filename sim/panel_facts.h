// panel_facts.h - what the simulated Layout and its front ends know of the
// light editor's panel: the names of its light and shadow types, and the
// measures of its list. One copy for sim/, render/, session/ and cli/; the
// plug-in keeps its own, as any host's plug-in does, and the validator keeps
// its own on purpose (it checks the plug-in against what it was told).
#ifndef VANTOREL_SIM_PANEL_FACTS_H
#define VANTOREL_SIM_PANEL_FACTS_H

#include <cstdint>

namespace sim {

// The light type choice's items, by the code Layout gives the type (0..4).
inline constexpr const char *kLightTypeNames[] = {"Distant", "Point", "Spot", "Linear", "Area"};
inline constexpr int kLightTypeCount = 5;
// The shadow type choice's items, by shadow type code (0..2).
inline constexpr const char *kShadowTypeNames[] = {"Off", "Raytrace", "ShadowMap"};
inline constexpr int kShadowTypeCount = 3;

// The name of a light type or shadow type code; null outside the known codes.
inline const char *lightTypeName(std::int32_t code) {
    return code >= 0 && code < kLightTypeCount ? kLightTypeNames[code] : nullptr;
}
inline const char *shadowTypeName(std::int32_t code) {
    return code >= 0 && code < kShadowTypeCount ? kShadowTypeNames[code] : nullptr;
}

// The list: one row every 16 pixels (also the slider's unit per row), a
// selection bar 200 x 14 pixels at a row's top, and at most 510 lights listed.
inline constexpr int kListRowPitch = 16;
inline constexpr int kListBarWidth = 200;
inline constexpr int kListBarHeight = 14;
inline constexpr int kMaxListedLights = 510;

}  // namespace sim

#endif
