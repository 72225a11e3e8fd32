// lws_versions.h - what the scene file versions differ in, in one table, and
// the kinds of light a light handler block names.
//
// LWSC 1 and 2 (Amiga-era Layout) store colour as 0-255 integers and use the
// old keywords; LWSC 3 writes fractions and numbers lights by their position;
// LWSC 4 and 5 give each light's item ID after "AddLight". LWSC 6 to 8 (8 is
// what LightWave 2018 and later write) have the lines of LWSC 5, and each
// light may also carry a "Plugin LightHandler 1 NAME" ... "EndPlugin" block
// naming its kind. Of LWSC 6 and 7 no file was at hand: they are taken to be
// like LWSC 8.
//
// The reader (lws_parse.cpp) and the writer (lws_render.cpp) ask the record of
// the file's version and never compare version numbers. Adding a version:
//   1. a row in kVersionRules below, its fields chosen from a real file of
//      that version (how AddLight lines look, how LightColor is written, the
//      keywords Layout writes for intensity and falloff, whether lights carry
//      handler blocks) and kLastVersion raised if it is the newest;
//   2. a fixture in tests/scenefile/fixtures (vN.lws) read and written back
//      byte for byte, with a test in lws_versions_test.cpp of what it holds;
//   3. the table of versions in docs/scenes-and-pictures.md.
// A rule that the fields cannot express yet becomes a new field here, with a
// value in every row, and one place in the reader or writer that reads it.
#ifndef VANTOREL_SCENEFILE_LWS_VERSIONS_H
#define VANTOREL_SCENEFILE_LWS_VERSIONS_H

#include <cstdint>
#include <string_view>

namespace scenefile {

// How decimals are written into the file.
enum class NumberFormat {
    Fixed,    // "%f": "0.700000", as LWSC 1 and 2 write them
    Trimmed,  // six places, trailing zeros dropped: "0.7", "1", "-0.5"
};

struct VersionRules {
    int version = 0;
    NumberFormat numbers = NumberFormat::Trimmed;
    // The keywords of lines the writer inserts (either spelling is read).
    std::string_view intensityKeyword = "LightIntensity";
    std::string_view falloffKeyword = "LightFalloffType";
    // "AddLight ID" carries the item ID in hexadecimal; without it lights are
    // numbered 0x20000000 + their index in the file.
    bool idAfterAddLight = false;
    // LightColor as 0-255 integers (else as fractions).
    bool colourAsBytes = false;
    // An inserted ShadowType line goes at the end of the light (else after its
    // type, range, cone and quality lines).
    bool shadowAtLightEnd = false;
    // A "Plugin LightHandler" block names the light's kind. Its format is not
    // known here, so it is never rewritten: a type change is written only when
    // the block already names the new kind.
    bool lightHandlers = false;
    // The colour and intensity lines of a light nobody edited are kept while
    // colour x intensity is unchanged, even where the plug-in sent them back
    // split differently. (LWSC 3 to 5 have always had the split written, and
    // saved files of those versions keep their bytes.)
    bool keepUneditedSplit = false;
};

constexpr int kFirstVersion = 1;
constexpr int kLastVersion = 8;

// One row per version, kFirstVersion to kLastVersion in order.
inline constexpr VersionRules kVersionRules[] = {
    // version, numbers, intensityKeyword, falloffKeyword,
    //   idAfterAddLight, colourAsBytes, shadowAtLightEnd, lightHandlers, keepUneditedSplit
    {1, NumberFormat::Fixed, "LgtIntensity", "LightFalloff", false, true, true, false, true},
    {2, NumberFormat::Fixed, "LgtIntensity", "LightFalloff", false, true, true, false, true},
    {3, NumberFormat::Trimmed, "LightIntensity", "LightFalloffType", false, false, false, false, false},
    {4, NumberFormat::Trimmed, "LightIntensity", "LightFalloffType", true, false, false, false, false},
    {5, NumberFormat::Trimmed, "LightIntensity", "LightFalloffType", true, false, false, false, false},
    {6, NumberFormat::Trimmed, "LightIntensity", "LightFalloffType", true, false, false, true, true},
    {7, NumberFormat::Trimmed, "LightIntensity", "LightFalloffType", true, false, false, true, true},
    {8, NumberFormat::Trimmed, "LightIntensity", "LightFalloffType", true, false, false, true, true},
};
constexpr bool oneRowPerVersion() {
    int v = kFirstVersion;
    for (const VersionRules &r : kVersionRules) {
        if (r.version != v++) return false;
    }
    return v == kLastVersion + 1;
}
static_assert(oneRowPerVersion(), "kVersionRules holds one row per version, in order");

// The rules of a version from kFirstVersion to kLastVersion; null for any other.
inline const VersionRules *versionRules(int version) {
    if (version < kFirstVersion || version > kLastVersion) return nullptr;
    return &kVersionRules[version - kFirstVersion];
}

// The type code the simulated Layout reports for a light whose handler block
// names a kind none of the plug-in's five types stands for (a dome,
// photometric or portal light, or a handler this program does not know). It
// is outside 0..4, so the panel presses none of its five type buttons.
constexpr int32_t kOtherLightKind = -1;

struct LightKind {
    std::string_view handler;  // the name in the block: "DistantLight"
    std::string_view shown;    // what --list shows: "Distant"
    int32_t typeCode;          // 0..4, or kOtherLightKind
};

// The kinds public scene converters name, and the portal light (its handler
// name is assumed to follow the others').
inline constexpr LightKind kLightKinds[] = {
    {"DistantLight", "Distant", 0},
    {"PointLight", "Point", 1},
    {"SpotLight", "Spot", 2},
    {"LinearLight", "Linear", 3},
    {"AreaLight", "Area", 4},
    {"DomeLight", "Dome", kOtherLightKind},
    {"PhotometricLight", "Photometric", kOtherLightKind},
    {"PortalLight", "Portal", kOtherLightKind},
};

// The kind a handler name stands for (names compare exactly); null when unknown.
inline const LightKind *findLightKind(std::string_view handler) {
    for (const LightKind &k : kLightKinds) {
        if (k.handler == handler) return &k;
    }
    return nullptr;
}

// The handler name of light type 0..4; empty for any other code.
inline std::string_view handlerOfType(int32_t type) {
    return type >= 0 && type <= 4 ? kLightKinds[type].handler : std::string_view();
}

}  // namespace scenefile

#endif
