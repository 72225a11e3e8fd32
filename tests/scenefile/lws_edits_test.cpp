// Edits told apart from what an OK without edits sends: written where the
// file can hold them, named where it cannot, never dropped without a word.
#include <gtest/gtest.h>

#include "lws_test_util.h"

using lwstest::changedLines;
using lwstest::countMentions;
using lwstest::renderAgainstUnedited;
using lwstest::RenderedEdit;
using scenefile::LwsDocument;

namespace {

bool isGate(const scene::Light &l) { return l.name.rfind("NGate", 0) == 0; }

// gate-v1.lws: "Sun", then NGate1..NGate10 (colour 0 90 255; an intensity
// envelope that is 0 at time 0, fixed 0 for NGate10), then "NGlow" (colour 0 0 0
// at 50%).
const char *const kGates = "gate-v1.lws";

}  // namespace

TEST(LwsEdits, AColourSentToLightsBlackAtTimeZeroIsWritten) {
    const std::string bytes = lwstest::fixture(kGates);
    const LwsDocument doc = lwstest::parseOrFail(bytes, kGates);
    scene::Scene s = lwstest::asPluginSendsBack(doc.scene());
    for (scene::Light &l : s.lights) {
        if (!isGate(l)) continue;
        l.color[0] = 1;
        l.color[1] = 0;
        l.color[2] = 0;
    }
    const RenderedEdit r = renderAgainstUnedited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes), std::vector<std::string>(10, "LightColor 255 0 0\r\n"));
    // The envelopes are untouched, and only the unedited black light is named.
    EXPECT_EQ(r.notes.warnings.size(), 1u);
    EXPECT_EQ(countMentions(r.notes.warnings, "\"NGlow\"", "not written"), 1u);
    const scene::Scene back = lwstest::parseOrFail(r.bytes, "out.lws").scene();
    for (std::size_t i = 1; i <= 9; ++i) EXPECT_TRUE(back.lights[i].intensityAnimated);
}

TEST(LwsEdits, WhatAnUneditedOkSendsForABlackLightKeepsTheFileAndIsNamed) {
    const std::string bytes = lwstest::fixture(kGates);
    const LwsDocument doc = lwstest::parseOrFail(bytes, kGates);
    const RenderedEdit r = renderAgainstUnedited(doc, lwstest::asPluginSendsBack(doc.scene()));
    EXPECT_EQ(r.bytes, bytes);
    // Each black light: what was sent (white, 0%) and what the file keeps.
    EXPECT_EQ(
        countMentions(r.notes.warnings, "the colour 255 255 255 that was sent", "keeps colour 0 90 255"),
        10u);
    EXPECT_EQ(countMentions(r.notes.warnings, "\"NGlow\"", "intensity 50%"), 1u);
    EXPECT_EQ(r.notes.warnings.size(), 11u);
}

TEST(LwsEdits, AnIntensityEnvelopeZeroAtTimeZeroTakesTheColourButNotTheIntensity) {
    const std::string bytes = lwstest::fixture(kGates);
    const LwsDocument doc = lwstest::parseOrFail(bytes, kGates);
    scene::Scene s = lwstest::asPluginSendsBack(doc.scene());
    s.lights[1].intensity = 0.5;  // NGate1: intensity only
    s.lights[2].intensity = 0.5;  // NGate2: intensity and colour
    s.lights[2].color[2] = 0.2;
    const RenderedEdit r = renderAgainstUnedited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes), std::vector<std::string>{"LightColor 255 255 51\r\n"});
    EXPECT_EQ(countMentions(r.notes.warnings, "\"NGate1\"", "intensity 50% cannot be kept"), 1u);
    EXPECT_EQ(countMentions(r.notes.warnings, "\"NGate2\"", "intensity 50% cannot be kept"), 1u);
}

TEST(LwsEdits, EditsThatKeepColourTimesIntensityAreWrittenInIntegerColourVersions) {
    // v1.lws "Key": 255 128 0 at 0.8, sent back as 1 0.501961 0 at 0.8. Twice
    // the intensity at half the colour gives the same product, but it is an
    // edit, and both values are written.
    const std::string bytes = lwstest::fixture("v1.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v1.lws");
    scene::Scene s = lwstest::asPluginSendsBack(doc.scene());
    s.lights[0].intensity = 1.6;
    for (double &c : s.lights[0].color) c /= 2;
    const RenderedEdit r = renderAgainstUnedited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes),
              (std::vector<std::string>{"LightColor 128 64 0\n", "LgtIntensity 1.600000\n"}));
    EXPECT_TRUE(r.notes.warnings.empty());
}

TEST(LwsEdits, AColourEditOnANonZeroEnvelopeIsScaledAndNamed) {
    // v3.lws "Flicker": 0.5 0.5 0.5 under an envelope that is 1 at time 0,
    // sent back as white at 50%. Red at the same 50% is 0.5 0 0 in the file.
    const std::string bytes = lwstest::fixture("v3.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v3.lws");
    scene::Scene s = lwstest::asPluginSendsBack(doc.scene());
    s.lights[1].color[1] = 0;
    s.lights[1].color[2] = 0;
    RenderedEdit r = renderAgainstUnedited(doc, s);
    EXPECT_EQ(changedLines(bytes, r.bytes), std::vector<std::string>{"LightColor 0.5 0 0\n"});
    EXPECT_EQ(countMentions(r.notes.warnings, "\"Flicker\"", "colour 255 0 0 at 50% was sent"), 1u);

    // Colour and intensity edited so that the product is the file's: nothing
    // to write, but the edit is named.
    s = lwstest::asPluginSendsBack(doc.scene());
    s.lights[1].intensity = 0.8;
    for (double &c : s.lights[1].color) c = 0.625;
    r = renderAgainstUnedited(doc, s);
    EXPECT_EQ(r.bytes, bytes);
    EXPECT_EQ(countMentions(r.notes.warnings, "\"Flicker\"", "colour 159 159 159 at 80% was sent"), 1u);
}
