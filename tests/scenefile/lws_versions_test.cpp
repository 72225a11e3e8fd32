// Reading each scene file version: IDs, colour scales, keywords, envelopes.
#include <gtest/gtest.h>

#include "lws_test_util.h"

using scenefile::LwsDocument;
using scenefile::LwsSetting;

namespace {

void expectColor(const scene::Light &l, double r, double g, double b) {
    EXPECT_NEAR(l.color[0], r, 1e-12) << l.name;
    EXPECT_NEAR(l.color[1], g, 1e-12) << l.name;
    EXPECT_NEAR(l.color[2], b, 1e-12) << l.name;
}

}  // namespace

TEST(LwsVersions, Version1IntegerColourOldKeywordsAndOldEnvelope) {
    const LwsDocument doc = lwstest::parseOrFail(lwstest::fixture("v1.lws"), "v1.lws");
    EXPECT_EQ(doc.version(), 1);
    const scene::Scene s = doc.scene();
    ASSERT_EQ(s.lights.size(), 2u);

    const scene::Light &key = s.lights[0];
    EXPECT_EQ(key.id, 0x20000000u);
    EXPECT_EQ(key.name, "Key");
    expectColor(key, 1.0, 128.0 / 255.0, 0.0);
    EXPECT_DOUBLE_EQ(key.intensity, 0.8);
    EXPECT_FALSE(key.intensityAnimated);
    EXPECT_EQ(key.lightType, 2);
    EXPECT_EQ(key.shadowType, 1);
    EXPECT_EQ(key.flags, 0u);
    EXPECT_DOUBLE_EQ(key.range, 1.0);  // no LightRange line: the default

    // Keys at frames -10, 10, 20 with 0.5, 1.5, 2: halfway between the first two.
    const scene::Light &pulse = s.lights[1];
    EXPECT_EQ(pulse.id, 0x20000001u);
    EXPECT_TRUE(pulse.intensityAnimated);
    EXPECT_DOUBLE_EQ(pulse.intensity, 1.0);
    EXPECT_EQ(pulse.flags, 1u);
    EXPECT_DOUBLE_EQ(pulse.range, 12.5);
    // The settings after the envelope are still read: the envelope was skipped whole.
    EXPECT_EQ(pulse.lightType, 1);
    EXPECT_EQ(pulse.shadowType, 0);
    EXPECT_TRUE(doc.settingAnimated(1, LwsSetting::Intensity));
}

TEST(LwsVersions, Version2IsReadLikeVersion1AndKeepsCrlf) {
    const std::string bytes = lwstest::fixture("v2.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v2.lws");
    EXPECT_EQ(doc.version(), 2);
    const scene::Scene s = doc.scene();
    ASSERT_EQ(s.lights.size(), 2u);
    // Same names: identified by position and ID only.
    EXPECT_EQ(s.lights[0].name, "Fill");
    EXPECT_EQ(s.lights[1].name, "Fill");
    EXPECT_EQ(s.lights[1].id, 0x20000001u);
    expectColor(s.lights[0], 0.2, 0.4, 0.8);
    EXPECT_DOUBLE_EQ(s.lights[0].intensity, 1.5);
    EXPECT_DOUBLE_EQ(s.lights[1].intensity, -0.25);
    EXPECT_EQ(s.lights[1].flags, 0u);          // LightFalloff 0: range not limited
    EXPECT_DOUBLE_EQ(s.lights[1].range, 4.0);  // but the range is still read
    EXPECT_EQ(s.lights[1].shadowType, 2);

    std::vector<std::string> warnings;
    EXPECT_EQ(doc.render(doc.scene(), warnings), bytes);
    EXPECT_TRUE(warnings.empty());
}

TEST(LwsVersions, Version3BlockEnvelopeAndBlocksHideKeywords) {
    const LwsDocument doc = lwstest::parseOrFail(lwstest::fixture("v3.lws"), "v3.lws");
    const scene::Scene s = doc.scene();
    ASSERT_EQ(s.lights.size(), 3u);

    const scene::Light &spot = s.lights[0];
    expectColor(spot, 1.0, 0.65882353, 0.34902);
    EXPECT_DOUBLE_EQ(spot.intensity, 1.1);
    EXPECT_EQ(spot.shadowType, 2);

    // "LightColor 9 9 9" inside a Plugin block is plug-in data, not the colour.
    const scene::Light &flicker = s.lights[1];
    expectColor(flicker, 0.5, 0.5, 0.5);
    EXPECT_TRUE(flicker.intensityAnimated);
    EXPECT_DOUBLE_EQ(flicker.intensity, 1.0);  // keys (-1 s, 0) and (1 s, 2)
    EXPECT_EQ(flicker.flags, 1u);              // falloff type 2 is limited range too
    EXPECT_DOUBLE_EQ(flicker.range, 3.25);

    const scene::Light &bare = s.lights[2];
    EXPECT_EQ(bare.id, 0x20000002u);
    EXPECT_EQ(bare.lightType, 0);
    EXPECT_DOUBLE_EQ(bare.intensity, 1.0);
}

TEST(LwsVersions, Versions4And5TakeHexIdsFromAddLightInEitherCase) {
    const LwsDocument v4 = lwstest::parseOrFail(lwstest::fixture("v4.lws"), "v4.lws");
    const scene::Scene s4 = v4.scene();
    ASSERT_EQ(s4.lights.size(), 2u);
    EXPECT_EQ(s4.lights[0].id, 0x2000000Au);
    EXPECT_EQ(s4.lights[1].id, 0x2000001Fu);
    expectColor(s4.lights[0], 0.25, 0.5, 1.0);
    EXPECT_DOUBLE_EQ(s4.lights[0].intensity, 2.0);
    EXPECT_EQ(s4.lights[0].lightType, 4);

    const std::string bytes5 = lwstest::fixture("v5.lws");
    const LwsDocument v5 = lwstest::parseOrFail(bytes5, "v5.lws");
    const scene::Scene s5 = v5.scene();
    ASSERT_EQ(s5.lights.size(), 1u);
    EXPECT_EQ(s5.lights[0].id, 0x20000003u);
    EXPECT_EQ(s5.lights[0].flags, 1u);
    EXPECT_DOUBLE_EQ(s5.lights[0].range, 7.5);
    // The run-together line from the wild is kept as it is.
    std::vector<std::string> warnings;
    EXPECT_EQ(v5.render(s5, warnings), bytes5);
}

TEST(LwsVersions, LineEndsOfEveryKindAreKept) {
    // Mixed ends, a lone CR and no line end at the end of the file.
    const std::string bytes = "LWSC\r\n3\n\rAddLight\r\nLightName A\nLightIntensity 0.5\rLightType 1";
    const LwsDocument doc = lwstest::parseOrFail(bytes, "mixed.lws");
    ASSERT_EQ(doc.lightCount(), 1u);
    EXPECT_DOUBLE_EQ(doc.scene().lights[0].intensity, 0.5);
    std::vector<std::string> warnings;
    EXPECT_EQ(doc.render(doc.scene(), warnings), bytes);
}
