// The validator itself: it passes the real plug-in and catches stand-ins with
// faults planted in them.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "command_check.h"
#include "light_model.h"
#include "session.h"
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

TEST(Validator, PassesTheProbeBuildWithOneLinePerCheckAndASummary) {
    Outcome o = validateFile(VANTOREL_PROBE_PATH);
    EXPECT_EQ(o.status, validate::kAllPassed) << o.text;
    EXPECT_EQ(countLines(o.text, "FAIL "), 0u);
    EXPECT_EQ(countLines(o.text, "NOTE "), 0u) << o.text;
    // descriptor, lifecycle, 22 host faults, random sessions
    EXPECT_EQ(countLines(o.text, "PASS "), 25u) << o.text;
    EXPECT_NE(o.text.find("editor record untouched"), std::string::npos) << o.text;
    EXPECT_NE(o.text.find("no row past the filled ones written"), std::string::npos) << o.text;
    EXPECT_NE(o.text.find("validate: all passed: 25 checks, 0 failed; seed 11"), std::string::npos) << o.text;
}

TEST(Validator, OnTheShippedPlugInSaysWhichChecksItCouldNotMake) {
    Outcome o = validateFile(VANTOREL_PLUGIN_PATH, 20, 20);
    EXPECT_EQ(o.status, validate::kAllPassed) << o.text;
    EXPECT_EQ(countLines(o.text, "PASS "), 25u) << o.text;
    EXPECT_EQ(countLines(o.text,
                         "NOTE record: the plug-in has no test hook (vantorelEditorProbe), so these "
                         "checks were not made: no row past the filled ones written"),
              1u)
        << o.text;
    EXPECT_NE(o.text.find("validate that file for them"), std::string::npos) << o.text;
    // No PASS line claims what was not looked at.
    EXPECT_EQ(o.text.find("no row past the filled ones written, commands"), std::string::npos) << o.text;
    EXPECT_EQ(o.text.find("editor record untouched"), std::string::npos) << o.text;
    EXPECT_EQ(o.text.find("copy buffer carried over"), std::string::npos) << o.text;
    EXPECT_NE(o.text.find("0 failed; seed 11, 20 random sessions, 22 faults injected"), std::string::npos);
    EXPECT_NE(o.text.find("s; the record's checks not made (no probe)\n"), std::string::npos) << o.text;
}

TEST(Validator, RejectsAnApplyStepThatSendsNonNumbersAndPrintsAScriptThatReplaysIt) {
    Outcome o = validateFile(VANTOREL_BROKEN_APPLY_PATH, 200, 20);
    EXPECT_EQ(o.status, validate::kSomeFailed) << o.text;
    EXPECT_NE(o.text.find("FAIL random sessions: seed 11, session "), std::string::npos) << o.text;
    // The lifecycle's model comparison sees the wrong light type words as well.
    EXPECT_NE(o.text.find("FAIL lifecycle"), std::string::npos) << o.text;
    // Each failure shrunk to one activation on a few lights, printed as its
    // scene and a session script.
    const size_t random = o.text.find("FAIL random sessions");
    const std::string repro = o.text.substr(o.text.find("shortest reproduction found", random));
    EXPECT_EQ(countLines(repro, "  its scene, "), 1u) << repro;
    EXPECT_LE(countLines(repro, "    light "), 3u) << repro;
    EXPECT_EQ(countLines(repro, "  its session script:"), 1u) << repro;
    // The command line that replays it is for the command line to say; none is given here.
    EXPECT_EQ(countLines(repro, "    # replay: "), 0u) << repro;
    EXPECT_EQ(countLines(repro, "    # What the validator saw go wrong, shrunk: activation 1: "), 1u)
        << repro;
    EXPECT_EQ(countLines(repro, "    ok") + countLines(repro, "    cancel"), 1u) << repro;
    EXPECT_EQ(countLines(repro, "    expect result 0"), 1u) << repro;
    EXPECT_EQ(countLines(repro, "    expect commands "), 1u) << repro;
    EXPECT_GE(countLines(repro, "    expect command "), 2u) << repro;
    EXPECT_EQ(countLines(repro, "  activation "), 0u) << "no near-script text any more:\n" << repro;
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
    // Two activations of one library are no session script.
    EXPECT_NE(repro.find("  no session script replays it: the failure needs 2 activations of one loaded "
                         "library"),
              std::string::npos)
        << repro;
}

TEST(Validator, TheFirstCheckThatFailsOnAnEventIsTheOneReported) {
    // A key writes the copy buffer's row and then shows a wrong prefix: the
    // copy buffer is checked first, so that is what the failure says.
    Outcome o = validateFile(VANTOREL_KEY_SCRIBBLES_PATH, 30, 60);
    EXPECT_EQ(o.status, validate::kSomeFailed) << o.text;
    const size_t fail = o.text.find("FAIL random sessions: seed 11, session ");
    ASSERT_NE(fail, std::string::npos) << o.text;
    const std::string line = o.text.substr(fail, o.text.find('\n', fail) - fail);
    EXPECT_NE(line.find("(key "), std::string::npos) << line;
    EXPECT_NE(line.find("): the copy buffer row changed without copy"), std::string::npos) << line;
    EXPECT_EQ(line.find("the prefix field shows"), std::string::npos) << line;
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

scene::Scene negativeBlueAndWhite() {
    scene::Scene s;
    for (int i = 0; i < 2; ++i) {
        scene::Light l;
        l.id = scene::kLightIdBase + static_cast<uint32_t>(i);
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
    const scene::Scene before = negativeBlueAndWhite();
    validate::LightModel model;
    model.scan(before);
    EXPECT_EQ(model.commandsOnOk(before)[2], "LightIntensity -1.000000");
    EXPECT_EQ(model.commandsOnOk(before)[3], "LightColor 0.400000 0.000000 1.000000");

    EXPECT_EQ(model.untouchedLightProblem(before, before), "");
    scene::Scene split = before;  // the same light, as the plug-in writes it back
    split.lights[0].range = 2.5000004;
    EXPECT_EQ(model.untouchedLightProblem(before, split), "");

    scene::Scene dark = before;  // taken for black: intensity 0, colour white
    dark.lights[0].intensity = 0;
    dark.lights[0].color[0] = 1;
    dark.lights[0].color[1] = 1;
    EXPECT_EQ(model.untouchedLightProblem(before, dark),
              "light 1, which no event edited: the host reported colour x intensity component 0 as "
              "-0.40000000000000002, "
              "after OK it is colour 1 x intensity 0 = 0");

    scene::Scene big = before;  // the same product, but a colour beyond 1 over a tiny intensity
    big.lights[1].intensity = 1e-7;
    for (double &c : big.lights[1].color) c = 1e7;
    EXPECT_NE(model.untouchedLightProblem(before, big).find("light 2, which no event edited"),
              std::string::npos);

    scene::Scene moved = before;
    moved.lights[1].range = 2.6;
    EXPECT_EQ(model.untouchedLightProblem(before, moved),
              "light 2, which no event edited: range 2.5 became 2.6000000000000001");
    moved = before;
    moved.lights[1].shadowType = 2;
    EXPECT_EQ(model.untouchedLightProblem(before, moved),
              "light 2, which no event edited: shadow type 0 became 2");
}

TEST(UntouchedLights, AnEditedLightMayChangeAndOneWithoutARowMayNot) {
    scene::Scene before = negativeBlueAndWhite();
    validate::LightModel model;
    model.scan(before);
    EXPECT_TRUE(model.apply(sim::Action::clickY(4)));  // row 0, "Blue"
    EXPECT_TRUE(model.apply(sim::Action::intensity(50)));
    scene::Scene after = before;
    after.lights[0].intensity = 0.5;
    EXPECT_EQ(model.untouchedLightProblem(before, after), "");
    after.lights[1].intensity = 0.5;
    EXPECT_NE(model.untouchedLightProblem(before, after).find("light 2, which no event edited"),
              std::string::npos);

    // A light past the 510 rows gets no command: any change is wrong, even within six decimals.
    scene::Scene many = scene::makeUniformScene(511);
    model.scan(many);
    scene::Scene changed = many;
    changed.lights[510].intensity = 1.0000001;
    EXPECT_EQ(model.untouchedLightProblem(many, changed),
              "light 511, which no event edited: it has no row, yet OK changed it");
}

namespace {

// The check of a command written the plain way: split with a stream, join
// with single spaces, and each value read back and printed again.
bool plainCheck(const std::string &c) {
    std::string lower;
    for (char ch : c) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) return false;
    std::istringstream in(c);
    std::vector<std::string> w;
    for (std::string x; in >> x;) w.push_back(x);
    std::string joined;
    for (const std::string &x : w) joined += (joined.empty() ? "" : " ") + x;
    if (w.empty() || joined != c) return false;
    auto printsBack = [](const std::string &word, const char *format, bool isInt) {
        if (word.empty() ||
            word.find_first_not_of(isInt ? "-0123456789" : "-0123456789.abcdef") != std::string::npos)
            return false;
        char buf[400];
        if (isInt) {
            const long long v = std::strtoll(word.c_str(), nullptr, 10);
            if (v < INT32_MIN || v > INT32_MAX) return false;
            std::snprintf(buf, sizeof buf, format, v);
        } else if (std::string(format) == "%lx") {
            std::snprintf(buf, sizeof buf, format, std::strtoul(word.c_str(), nullptr, 16));
        } else {
            const double v = std::strtod(word.c_str(), nullptr);
            if (!std::isfinite(v)) return false;
            std::snprintf(buf, sizeof buf, format, v);
        }
        return word == buf;
    };
    const std::string &op = w[0];
    if (op == "EditLights" || op == "DistantLight" || op == "PointLight" || op == "Spotlight" ||
        op == "LinearLight" || op == "AreaLight")
        return w.size() == 1;
    if (op == "SelectItem") return w.size() == 2 && w[1].size() <= 8 && printsBack(w[1], "%lx", false);
    if (op == "ShadowType") return w.size() == 2 && printsBack(w[1], "%lld", true);
    if (op == "LightIntensity" || op == "LightRange") return w.size() == 2 && printsBack(w[1], "%f", false);
    if (op == "LightColor")
        return w.size() == 4 && printsBack(w[1], "%f", false) && printsBack(w[2], "%f", false) &&
               printsBack(w[3], "%f", false);
    return false;
}

}  // namespace

TEST(CommandCheck, AgreesWithThePlainCheckOnWellAndBadlyFormedCommands) {
    const std::vector<std::string> verbs = {
        "EditLights", "SelectItem", "ShadowType",     "LightIntensity", "LightRange",
        "LightColor", "Spotlight",  "lightintensity", "Bogus",          ""};
    const std::vector<std::string> values = {"1.000000", "-0.500000", "0.5",        "1.0000000", "20000000",
                                             "ff",       "FF",        "0",          "-1",        "2147483648",
                                             "nan",      "-inf",      "Inf.000000", "1e5",       "00.500000",
                                             "-",        ".000000",   "123456789"};
    char big[400];
    std::snprintf(big, sizeof big, "%f", -1.7976931348623157e308);
    const std::vector<std::string> joins = {" ", "  ", "\t", " \n"};
    std::vector<std::string> commands;
    for (const std::string &v : verbs) {
        commands.push_back(v);
        commands.push_back(v + " ");
        commands.push_back(" " + v);
        for (const std::string &a : values) {
            for (const std::string &j : joins) commands.push_back(v + j + a);
            commands.push_back(v + " " + a + " " + a + " " + a);
            commands.push_back(v + " " + a + " " + a + " " + a + " " + a);
        }
        commands.push_back(v + " " + big);
        commands.push_back(v + " " + big + " " + big + " " + big);
    }
    size_t good = 0;
    for (const std::string &c : commands) {
        const bool passes = validate::commandProblem(std::string_view(c)).empty();
        EXPECT_EQ(passes, plainCheck(c)) << '"' << c << '"';
        EXPECT_EQ(passes, validate::commandProblem(std::vector<std::string>{c}).empty()) << '"' << c << '"';
        good += passes;
    }
    EXPECT_GE(good, 15u) << "the table must hold commands that pass, too";
    // One bad command among good ones is found, and named.
    const std::string problem = validate::commandProblem({"EditLights", "LightRange  1.000000", "Spotlight"});
    EXPECT_NE(problem.find("LightRange  1.000000"), std::string::npos) << problem;
}
