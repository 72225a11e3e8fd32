// Writing edits back: which lines change, how values are written, where
// missing lines go, and how animated channels are protected.
#include <gtest/gtest.h>

#include <limits>

#include "lws_test_util.h"

using lwstest::changedLines;
using lwstest::mentions;
using scenefile::LwsDocument;
using scenefile::LwsSetting;

namespace {

struct Rendered {
    std::string bytes;
    std::vector<std::string> warnings;
};

Rendered renderEdited(const LwsDocument &doc, const scene::Scene &edited) {
    Rendered r;
    r.bytes = doc.render(edited, r.warnings);
    return r;
}

}  // namespace

TEST(LwsRender, EditedSettingRewritesOnlyItsOwnLineInFileSyntax) {
    const std::string bytes = lwstest::fixture("v3.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v3.lws");
    scene::Scene s = doc.scene();
    s.lights[0].intensity = 0.75;
    s.lights[0].lightType = 1;
    s.lights[0].shadowType = 0;
    const Rendered r = renderEdited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes),
              (std::vector<std::string>{"LightIntensity 0.75\n", "LightType 1\n", "ShadowType 0\n"}));
    EXPECT_TRUE(r.warnings.empty());
}

TEST(LwsRender, ValueThatPrintsTheSameKeepsTheOriginalDigits) {
    // The file has 0.65882353; the plug-in sends it back as 0.658824.
    const std::string bytes = lwstest::fixture("v3.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v3.lws");
    scene::Scene s = doc.scene();
    s.lights[0].color[1] = 0.658824;
    s.lights[0].intensity = 1.100000;
    EXPECT_EQ(renderEdited(doc, s).bytes, bytes);

    // A real change writes six decimals at most, without trailing zeros.
    s.lights[0].color[1] = 0.123456789;
    s.lights[0].color[2] = -0.5;
    EXPECT_EQ(changedLines(bytes, renderEdited(doc, s).bytes),
              (std::vector<std::string>{"LightColor 1 0.123457 -0.5\n"}));
}

TEST(LwsRender, RewrittenLinesKeepCrlfAndTrailingText) {
    const std::string bytes = "LWSC\r\n3\r\n\r\nAddLight\r\n  LightRange 2 extra\r\nLightFalloffType 1\r\n";
    const LwsDocument doc = lwstest::parseOrFail(bytes, "crlf.lws");
    scene::Scene s = doc.scene();
    s.lights[0].range = 5.0;
    EXPECT_EQ(renderEdited(doc, s).bytes,
              "LWSC\r\n3\r\n\r\nAddLight\r\n  LightRange 5 extra\r\nLightFalloffType 1\r\n");
}

TEST(LwsRender, MissingLinesAreInsertedInLayoutOrder) {
    const std::string bytes = lwstest::fixture("v3.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v3.lws");
    scene::Scene s = doc.scene();
    // The spot light has no falloff or range lines; "Bare" has only LightType.
    s.lights[0].flags = 1;
    s.lights[0].range = 5.0;
    s.lights[2].intensity = 0.5;
    s.lights[2].shadowType = 1;
    const Rendered r = renderEdited(doc, s);
    const std::string spot = "LightType 2\nLightFalloffType 1\nLightRange 5\nLightConeAngle 30\n";
    EXPECT_NE(r.bytes.find(spot), std::string::npos) << r.bytes;
    const std::string bare = "LightName Bare\nLightIntensity 0.5\nLightType 0\nShadowType 1\n\nAddCamera";
    EXPECT_NE(r.bytes.find(bare), std::string::npos) << r.bytes;

    // Re-reading gives the edited values.
    const scene::Scene back = lwstest::parseOrFail(r.bytes, "out.lws").scene();
    EXPECT_EQ(back.lights[0].flags, 1u);
    EXPECT_DOUBLE_EQ(back.lights[0].range, 5.0);
    EXPECT_DOUBLE_EQ(back.lights[2].intensity, 0.5);
    EXPECT_EQ(back.lights[2].shadowType, 1);
}

TEST(LwsRender, InsertedLinesUseTheOldKeywordsInVersion1) {
    const std::string bytes =
        "LWSC\n1\n\nAddLight\nLightName A\nLightColor 255 255 255\nLightType 1\n"
        "ShadowType 0\n\nShowCamera 1 7\n";
    const LwsDocument doc = lwstest::parseOrFail(bytes, "old.lws");
    scene::Scene s = doc.scene();
    s.lights[0].intensity = 0.5;
    s.lights[0].flags = 1;
    s.lights[0].range = 3;
    const Rendered r = renderEdited(doc, s);
    EXPECT_EQ(r.bytes,
              "LWSC\n1\n\nAddLight\nLightName A\nLightColor 255 255 255\nLgtIntensity 0.500000\n"
              "LightType 1\nLightFalloff 1\nLightRange 3.000000\nShadowType 0\n\nShowCamera 1 7\n");
}

TEST(LwsRender, Version1ColourKeepsLinesWhenProductIsUnchanged) {
    // 255 128 0 at 0.8 comes back split as intensity 0.8, colour 1 0.501961 0.
    const std::string bytes = lwstest::fixture("v1.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v1.lws");
    const scene::Scene sent = lwstest::asPluginSendsBack(doc.scene());
    EXPECT_EQ(renderEdited(doc, sent).bytes, bytes);

    // Halving the intensity is a real change: colour bytes stay, intensity is %f.
    scene::Scene s = doc.scene();
    s.lights[0].intensity = 0.4;
    EXPECT_EQ(changedLines(bytes, renderEdited(doc, s).bytes),
              (std::vector<std::string>{"LgtIntensity 0.400000\n"}));

    // Colour is rounded to the nearest byte and clamped, with a warning.
    s.lights[0].color[0] = 1.5;
    s.lights[0].color[1] = 0.2;    // 51
    s.lights[0].color[2] = 0.503;  // 128.27 -> 128
    const Rendered r = renderEdited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes),
              (std::vector<std::string>{"LightColor 255 51 128\n", "LgtIntensity 0.400000\n"}));
    EXPECT_TRUE(mentions(r.warnings, "\"Key\"", "clamped"));
}

TEST(LwsRender, AnimatedIntensityKeepsItsEnvelope) {
    for (const char *name : {"v1.lws", "v3.lws"}) {
        SCOPED_TRACE(name);
        const std::string bytes = lwstest::fixture(name);
        const LwsDocument doc = lwstest::parseOrFail(bytes, name);
        const std::size_t k = 1;  // "Pulse" / "Flicker": 1.0 at time 0
        const int envLine = doc.settingLine(k, LwsSetting::Intensity);
        ASSERT_GT(envLine, 0);

        // Sent back as split by the plug-in: nothing changes, nothing is said.
        std::vector<std::string> quiet;
        EXPECT_EQ(doc.render(lwstest::asPluginSendsBack(doc.scene()), quiet), bytes);
        EXPECT_TRUE(quiet.empty());

        // Intensity halved: the envelope stays, the colour carries the change.
        scene::Scene s = doc.scene();
        s.lights[k].intensity = 0.5;
        const Rendered r = renderEdited(doc, s);
        const auto before = lwstest::splitKeepEol(bytes);
        const auto after = lwstest::splitKeepEol(r.bytes);
        ASSERT_EQ(before.size(), after.size());
        EXPECT_EQ(after[static_cast<std::size_t>(envLine - 1)],
                  before[static_cast<std::size_t>(envLine - 1)]);
        const std::string lightName = s.lights[k].name;
        EXPECT_TRUE(mentions(r.warnings, "\"" + lightName + "\"", "intensity is animated"));
        const scene::Light back = lwstest::parseOrFail(r.bytes, "out").scene().lights[k];
        EXPECT_TRUE(back.intensityAnimated);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(back.color[c] * back.intensity, s.lights[k].color[c] * 0.5, 0.5 / 255.0);
        }
    }
}

TEST(LwsRender, AnimatedIntensityZeroAtTimeZeroCannotTakeAnEdit) {
    const std::string bytes =
        "LWSC\n3\n\nAddLight\nLightName Z\nLightColor 1 0 1\nLightIntensity (envelope)\n"
        "{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\nLightType 1\n";
    const LwsDocument doc = lwstest::parseOrFail(bytes, "zero.lws");
    scene::Scene s = doc.scene();
    // What a black light comes back as must not disturb anything.
    std::vector<std::string> w;
    EXPECT_EQ(doc.render(lwstest::asPluginSendsBack(s), w), bytes);
    EXPECT_TRUE(w.empty());

    s.lights[0].intensity = 0.5;
    const Rendered r = renderEdited(doc, s);
    EXPECT_EQ(r.bytes, bytes);
    EXPECT_TRUE(mentions(r.warnings, "\"Z\"", "animated"));
}

TEST(LwsRender, UnwritableValuesKeepTheOldLineAndWarn) {
    const std::string bytes = lwstest::fixture("v4.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v4.lws");
    scene::Scene s = doc.scene();
    s.lights[0].color[0] = std::numeric_limits<double>::quiet_NaN();
    s.lights[0].shadowType = 7;
    s.lights[1].lightType = -1;  // selects a distant light, as the plug-in's command does
    s.lights[1].range = std::numeric_limits<double>::infinity();
    const Rendered r = renderEdited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes), std::vector<std::string>{});  // lower is distant already
    EXPECT_TRUE(mentions(r.warnings, "\"Upper\"", "colour"));
    EXPECT_TRUE(mentions(r.warnings, "\"Upper\"", "shadow type"));
    EXPECT_TRUE(mentions(r.warnings, "\"lower\"", "range"));
}

TEST(LwsRender, MismatchedScenesAreReportedNotGuessed) {
    const std::string bytes = lwstest::fixture("v4.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v4.lws");
    scene::Scene s = doc.scene();
    s.lights[0].id = 0x20000000u;  // not the light in the file
    s.lights[0].intensity = 9;
    s.lights.push_back(s.lights[1]);
    const Rendered r = renderEdited(doc, s);
    EXPECT_EQ(r.bytes, bytes);
    EXPECT_EQ(r.warnings.size(), 2u);
}

TEST(LwsRender, WarningsNameLightsInUtf8AsTheListingReadsThem) {
    // An old scene's names are cp1252: the warning shows "Niño", not the byte 0xF1.
    std::string bytes = lwstest::fixture("v4.lws");
    const std::size_t at = bytes.find("LightName Upper");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 15, "LightName Ni\xF1o");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v4.lws");
    scene::Scene s = doc.scene();
    s.lights[0].shadowType = 7;
    const Rendered r = renderEdited(doc, s);
    EXPECT_TRUE(mentions(r.warnings, "\"Ni\xC3\xB1o\"", "shadow type"));
    EXPECT_FALSE(mentions(r.warnings, "\"Ni\xF1o\"", "shadow type"));
}
