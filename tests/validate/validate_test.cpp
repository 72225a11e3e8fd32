// The validator itself: it passes the real plug-in and catches stand-ins with
// faults planted in them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "light_model.h"
#include "validate.h"

namespace {

struct Outcome {
    validate::Status status;
    std::string text;
};

Outcome validateFile(const std::string &plugin, int runs = 40, int lifecycle = 60) {
    validate::Options o;
    o.plugin = plugin;
    o.seed = 11;
    o.runs = runs;
    o.lifecycleRuns = lifecycle;
    o.shrinkBudget = 400;
    std::ostringstream out;
    validate::Status s = validate::run(o, out);
    return {s, out.str()};
}

size_t countLines(const std::string &text, const std::string &start) {
    size_t n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) n += line.rfind(start, 0) == 0;
    return n;
}

TEST(Validator, PassesThePlugInWithOneLinePerCheckAndASummary) {
    Outcome o = validateFile(VANTOREL_PLUGIN_PATH);
    EXPECT_EQ(o.status, validate::kAllPassed) << o.text;
    EXPECT_EQ(countLines(o.text, "FAIL "), 0u);
    // descriptor, lifecycle, 22 host faults, random sessions
    EXPECT_EQ(countLines(o.text, "PASS "), 25u) << o.text;
    EXPECT_NE(o.text.find("validate: all passed: 25 checks, 0 failed; seed 11"), std::string::npos) << o.text;
}

TEST(Validator, RejectsAnApplyStepThatSendsNonNumbersAndShrinksTheSession) {
    Outcome o = validateFile(VANTOREL_BROKEN_APPLY_PATH, 200, 20);
    EXPECT_EQ(o.status, validate::kSomeFailed) << o.text;
    EXPECT_NE(o.text.find("FAIL random sessions: seed 11, session "), std::string::npos) << o.text;
    ASSERT_NE(o.text.find("shortest reproduction found"), std::string::npos) << o.text;
    // The lifecycle's model comparison sees the wrong light type words as well.
    EXPECT_NE(o.text.find("FAIL lifecycle"), std::string::npos) << o.text;
    // Shrunk to one activation with at most a few lights and events.
    const std::string repro =
        o.text.substr(o.text.find("shortest reproduction found", o.text.find("FAIL random sessions")));
    EXPECT_EQ(countLines(repro, "  activation "), 1u) << repro;
    EXPECT_LE(countLines(repro, "    "), 8u) << repro;
    EXPECT_NE(o.text.find("validate: FAILED"), std::string::npos);
}

TEST(Validator, ALifecycleFailureIsShrunkToTheActivationsThatShowIt) {
    Outcome o = validateFile(VANTOREL_FORGETFUL_SCAN_PATH, 0, 200);
    EXPECT_EQ(o.status, validate::kSomeFailed) << o.text;
    const size_t fail = o.text.find("FAIL lifecycle: activation ");
    ASSERT_NE(fail, std::string::npos) << o.text;
    EXPECT_NE(o.text.find("the copy buffer did not carry over from the activation before (warm)", fail),
              std::string::npos)
        << o.text;
    // Of up to 200 activations: one that copies a light's row, then any other.
    const size_t found = o.text.find("  shortest reproduction found (", fail);
    ASSERT_NE(found, std::string::npos) << o.text;
    const std::string repro = o.text.substr(found, o.text.find("\nPASS ", found) - found);
    EXPECT_NE(repro.find("): activation 2: the copy buffer did not carry over"), std::string::npos) << repro;
    EXPECT_EQ(countLines(repro, "  activation "), 2u) << repro;
    EXPECT_EQ(countLines(repro, "    light "), 1u) << repro;
    EXPECT_EQ(countLines(repro, "    copy"), 1u) << repro;
    EXPECT_EQ(countLines(repro, "    "), 4u) << repro;  // the light, copy, and the two closings
}

TEST(Validator, RejectsADescriptorWithTwoServers) {
    Outcome o = validateFile(VANTOREL_TWO_SERVERS_PATH, 2, 2);
    EXPECT_EQ(o.status, validate::kSomeFailed);
    EXPECT_NE(o.text.find("FAIL descriptor: 2 server records, expected exactly one"), std::string::npos)
        << o.text;
}

TEST(Validator, AFileThatIsNoPlugInCannotBeValidated) {
    Outcome o = validateFile(VANTOREL_NOT_A_PLUGIN_PATH, 1, 1);
    EXPECT_EQ(o.status, validate::kNotLoadable);
    EXPECT_NE(o.text.find("FAIL load: "), std::string::npos) << o.text;
}

}  // namespace

// The validator's own check of lights no event edited, on scenes before and
// after OK as the host holds them.
namespace {

sim::Scene negativeBlueAndWhite() {
    sim::Scene s;
    for (int i = 0; i < 2; ++i) {
        sim::SceneLight l;
        l.id = sim::kLightIdBase + static_cast<uint32_t>(i);
        l.name = i ? "White" : "Blue";
        l.flags = 1;
        l.range = 2.5;
        s.lights.push_back(l);
    }
    s.lights[0].color[0] = 0.4;  // (0.4, 0, 1) at -100%: reported as (-0.4, -0, -1)
    s.lights[0].color[1] = 0;
    s.lights[0].intensity = -1;
    return s;
}

}  // namespace

TEST(UntouchedLights, AnUneditedLightMustComeBackAsReported) {
    const sim::Scene before = negativeBlueAndWhite();
    validate::LightModel model;
    model.scan(before);
    EXPECT_EQ(model.commandsOnOk(before)[2], "LightIntensity -1.000000");
    EXPECT_EQ(model.commandsOnOk(before)[3], "LightColor 0.400000 0.000000 1.000000");

    EXPECT_EQ(model.untouchedLightProblem(before, before), "");
    sim::Scene split = before;  // the same light, as the plug-in writes it back
    split.lights[0].range = 2.5000004;
    EXPECT_EQ(model.untouchedLightProblem(before, split), "");

    sim::Scene dark = before;  // taken for black: intensity 0, colour white
    dark.lights[0].intensity = 0;
    dark.lights[0].color[0] = 1;
    dark.lights[0].color[1] = 1;
    EXPECT_EQ(model.untouchedLightProblem(before, dark),
              "light 1, which no event edited: the host reported colour x intensity component 0 as "
              "-0.40000000000000002, "
              "after OK it is colour 1 x intensity 0 = 0");

    sim::Scene big = before;  // the same product, but a colour beyond 1 over a tiny intensity
    big.lights[1].intensity = 1e-7;
    for (double &c : big.lights[1].color) c = 1e7;
    EXPECT_NE(model.untouchedLightProblem(before, big).find("light 2, which no event edited"),
              std::string::npos);

    sim::Scene moved = before;
    moved.lights[1].range = 2.6;
    EXPECT_EQ(model.untouchedLightProblem(before, moved),
              "light 2, which no event edited: range 2.5 became 2.6000000000000001");
    moved = before;
    moved.lights[1].shadowType = 2;
    EXPECT_EQ(model.untouchedLightProblem(before, moved),
              "light 2, which no event edited: shadow type 0 became 2");
}

TEST(UntouchedLights, AnEditedLightMayChangeAndOneWithoutARowMayNot) {
    sim::Scene before = negativeBlueAndWhite();
    validate::LightModel model;
    model.scan(before);
    validate::Event click = validate::Event::of(validate::Event::ClickY);
    click.a = 4;  // row 0, "Blue"
    model.apply(click);
    validate::Event intensity = validate::Event::of(validate::Event::Intensity);
    intensity.v = 50;
    model.apply(intensity);
    sim::Scene after = before;
    after.lights[0].intensity = 0.5;
    EXPECT_EQ(model.untouchedLightProblem(before, after), "");
    after.lights[1].intensity = 0.5;
    EXPECT_NE(model.untouchedLightProblem(before, after).find("light 2, which no event edited"),
              std::string::npos);

    // A light past the 510 rows gets no command: any change is wrong, even within six decimals.
    sim::Scene many = sim::makeUniformScene(511);
    model.scan(many);
    sim::Scene changed = many;
    changed.lights[510].intensity = 1.0000001;
    EXPECT_EQ(model.untouchedLightProblem(many, changed),
              "light 511, which no event edited: it has no row, yet OK changed it");
}
