// A failure's replay: its script lines read back by vantorel-host's script
// reader as the same actions, its scene through a scene file, and the script
// failing on the plug-in that failed and passing on the real one.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "loader.h"
#include "replay.h"
#include "replay_scene.h"
#include "replay_script.h"
#include "script/reader.h"
#include "script/runner.h"
#include "script/writer.h"
#include "session.h"

namespace {

using sim::Action;

bool sameBits(double a, double b) {
    std::uint64_t x = 0, y = 0;
    std::memcpy(&x, &a, sizeof a);
    std::memcpy(&y, &b, sizeof b);
    return x == y;
}

script::Step readLine(const std::string &line) {
    script::Script read;
    script::ReadError error;
    EXPECT_TRUE(script::readScript(line + "\n", "replay.vts", read, error)) << error.what << "\n" << line;
    EXPECT_EQ(read.steps.size(), 1u) << line;
    return read.steps.empty() ? script::Step() : read.steps[0];
}

std::string hostileText(validate::Random &rnd) {
    static const std::vector<std::string> odd = {"",   " ",     "\"",        "\\",      "\\\"",
                                                 "#",  "a # b", "\"#\"",     "\r",      "x\ry",
                                                 "\t", "ok",    "\xe9t\xe9", "\xff\x80"};
    if (rnd.chance(40)) return odd[rnd.below(odd.size())];
    std::string s(static_cast<size_t>(rnd.between(0, 40)), 'x');
    for (char &c : s) c = static_cast<char>(rnd.chance(10) ? '\n' : rnd.between(1, 255));
    return s;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

double hostileNumber(validate::Random &rnd) {
    static const double odd[] = {4.9406564584124654e-324,
                                 1e-320,
                                 DBL_MIN,
                                 DBL_MAX,
                                 -DBL_MAX,
                                 -0.0,
                                 0.0,
                                 0.1,
                                 1.0 / 3,
                                 1e22,
                                 2147483648.0,
                                 kNaN,
                                 kInfinity,
                                 -kInfinity};
    if (rnd.chance(50)) return odd[rnd.below(sizeof odd / sizeof odd[0])];
    const uint64_t bits = rnd.next();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

int32_t hostileInt(validate::Random &rnd) {
    static const int32_t odd[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, 8, 32, 34, 35, 92, 255, INT32_MAX};
    return rnd.chance(50) ? odd[rnd.below(sizeof odd / sizeof odd[0])] : static_cast<int32_t>(rnd.next());
}

Action randomAction(validate::Random &rnd) {
    switch (rnd.below(11)) {
    case 0: return Action::clickY(hostileInt(rnd), rnd.chance(50) ? 0 : hostileInt(rnd));
    case 1: return Action::scroll(hostileInt(rnd));
    case 2: return Action::key(static_cast<int32_t>(rnd.below(65536)));
    case 3: return Action::prefix(hostileText(rnd));
    case 4: return Action::intensity(hostileNumber(rnd));
    case 5: return Action::range(hostileNumber(rnd));
    case 6: return Action::color(hostileInt(rnd), hostileInt(rnd), hostileInt(rnd));
    case 7: return Action::lightType(hostileInt(rnd));
    case 8: return Action::shadow(hostileInt(rnd));
    case 9: return Action::dragEvent(hostileInt(rnd), hostileInt(rnd));
    default: return Action::press(static_cast<sim::Button>(rnd.below(sim::kButtonCount)));
    }
}

}  // namespace

TEST(ReplayScript, EveryWritableActionReadsBackAsTheSameAction) {
    validate::Random rnd(7);
    int written = 0, refused = 0;
    for (int i = 0; i < 3000; ++i) {
        const Action a = randomAction(rnd);
        if (!script::unwritable(a).empty()) {
            // Only what a script cannot hold is refused.
            const bool finite = std::isfinite(a.number);
            EXPECT_TRUE(a.text.find('\n') != std::string::npos || !finite) << script::writeAction(a);
            ++refused;
            continue;
        }
        const std::string line = script::writeAction(a);
        const script::Step step = readLine(line);
        ASSERT_TRUE(step.action()) << line;
        const Action back = *step.action();
        EXPECT_TRUE(back == a) << line;
        EXPECT_TRUE(sameBits(back.number, a.number)) << line;
        ++written;
    }
    EXPECT_GT(written, 2000);
    EXPECT_GT(refused, 50);
}

TEST(ReplayScript, ExpectLinesReadBackWithTheirTexts) {
    validate::Random rnd(8);
    for (int i = 0; i < 500; ++i) {
        std::string text = hostileText(rnd);
        if (text.find('\n') != std::string::npos) continue;
        for (const script::Expectation &e :
             {script::Expectation::prefix(text), script::Expectation::command(i + 1, text)}) {
            const script::Step s = readLine(script::writeExpectation(e));
            ASSERT_TRUE(s.expectation()) << script::writeExpectation(e);
            EXPECT_TRUE(*s.expectation() == e) << script::writeExpectation(e);
        }
    }
    EXPECT_EQ(script::writeExpectation(script::Expectation::command(2, "SelectItem 20000000")),
              "expect command 2 \"SelectItem 20000000\"");
    EXPECT_EQ(script::writeExpectation(script::Expectation::command(1, "EditLights")),
              "expect command 1 EditLights");
    const script::Step count = readLine("expect commands 0");
    ASSERT_TRUE(count.expectation());
    EXPECT_TRUE(*count.expectation() == script::Expectation::commands(0));
    EXPECT_EQ(validate::commentLine("a\nb\x01\xe9"), "# a?b??");
    EXPECT_EQ(validate::shellWord("/a/b-c.p"), "/a/b-c.p");
    EXPECT_EQ(validate::shellWord("my scene's.lws"), "'my scene'\\''s.lws'");
    EXPECT_EQ(validate::shellWord(""), "''");
}

TEST(ReplayScene, AScenesLightsComeBackThroughAFileOnceAndForAll) {
    validate::Random rnd(9);
    validate::Hostility h;
    for (int i = 0; i < 150; ++i) {
        const scene::Scene s = validate::randomScene(rnd, h);
        std::string why;
        const std::optional<scene::Scene> once = validate::throughSceneFile(s, why);
        ASSERT_TRUE(once) << why;
        ASSERT_EQ(once->lights.size(), s.lights.size());
        for (size_t k = 0; k < s.lights.size(); ++k) {
            EXPECT_EQ(once->lights[k].id, s.lights[k].id);
            EXPECT_EQ(once->lights[k].name.find_first_of("\r\n"), std::string::npos);
        }
        const std::optional<scene::Scene> twice = validate::throughSceneFile(*once, why);
        ASSERT_TRUE(twice) << why;
        EXPECT_TRUE(validate::sameLights(*once, *twice)) << "scene " << i;
    }
    // Item IDs are written out, so a light taken away leaves the others' alone.
    scene::Scene three = scene::makeUniformScene(3);
    three.lights.erase(three.lights.begin());
    std::string why;
    const std::optional<scene::Scene> back = validate::throughSceneFile(three, why);
    ASSERT_TRUE(back) << why;
    EXPECT_TRUE(validate::sameLights(*back, three));
}

namespace {

// Two lights; the first selected and set to 50 %, then the prefix typed.
validate::Activation edits() {
    validate::Activation a;
    a.scene = scene::makeUniformScene(2);
    a.events = {Action::clickY(4), Action::intensity(50), Action::key('L')};
    return a;
}

}  // namespace

TEST(Replay, TheScriptHoldsTheModelsPredictionsAndFailsOnlyTheFaultyPlugIn) {
    const validate::Session s{edits()};
    EXPECT_EQ(validate::replayProblem(VANTOREL_PLUGIN_PATH, s), "");
    const std::string broken = validate::replayProblem(VANTOREL_BROKEN_APPLY_PATH, s);
    EXPECT_NE(broken.find(
                  "activation 1: expect command 3 \"LightIntensity 0.500000\": saw \"LightIntensity 0.50\""),
              std::string::npos)
        << broken;

    const std::string text = validate::replayScript(s[0], "replay it so", "what went wrong");
    std::istringstream in(text);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first, "# replay: replay it so");
    EXPECT_EQ(second, "# What the validator saw go wrong, shrunk: what went wrong");
    for (const char *line :
         {"\nclick-y 4\n", "\nintensity 50\nkey L\nexpect prefix L\nok\nexpect result 0\n",
          "\nexpect commands 12\nexpect command 1 EditLights\n", "\nexpect command 12 \"SelectItem 0\"\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

    // vantorel-host's runner takes the script and agrees with the in-process replay.
    script::Script read;
    script::ReadError error;
    ASSERT_TRUE(script::readScript(text, "f.vts", read, error)) << error.what;
    for (const char *path : {VANTOREL_PLUGIN_PATH, VANTOREL_BROKEN_APPLY_PATH}) {
        const sim::PluginLibrary lib = sim::PluginLibrary::load(path, sim::PluginLibrary::Instance::Fresh);
        sim::Host host(s[0].scene);
        std::ostringstream err;
        script::Runner runner(read, [&](const script::Message &m) { err << m.text << "\n"; });
        const int result = host.activate(lib, [&](sim::Host &h) { return runner.drive(h); });
        runner.finish(host, result);
        EXPECT_EQ(runner.failures() != 0, path == std::string(VANTOREL_BROKEN_APPLY_PATH)) << path << "\n"
                                                                                           << err.str();
    }
}

TEST(Replay, WhatAScriptCannotHoldIsLeftOutAndNamed) {
    validate::Activation a = edits();
    a.events.insert(a.events.begin() + 1, {Action::intensity(kNaN), Action::prefix("two\nlines")});
    const validate::Writable w = validate::writable({a});
    ASSERT_EQ(w.session.size(), 1u);
    EXPECT_EQ(w.session[0].events.size(), 3u);
    ASSERT_EQ(w.changes.size(), 2u);
    EXPECT_EQ(w.changes[0], "events left out, as a number that is not finite");
    EXPECT_EQ(w.changes[1], "events left out, as a line break, which a script line cannot hold");
    EXPECT_EQ(w.fileProblem, "");
}

TEST(Replay, AFailureOfOneActivationIsFoundShrunkAndReadsBack) {
    validate::Activation a = edits();
    for (int i = 0; i < 8; ++i) a.scene.lights.push_back(scene::makeUniformScene(1).lights[0]);
    for (size_t i = 0; i < a.scene.lights.size(); ++i)
        a.scene.lights[i].id = scene::kLightIdBase + static_cast<uint32_t>(i);
    const validate::ReplayFinding f = validate::findReplay(VANTOREL_BROKEN_APPLY_PATH, {a}, 400, "");
    ASSERT_TRUE(f.replay) << f.whyNot;
    EXPECT_GT(f.replays, 1);
    // Shrunk: a light and nothing done is enough to show the two decimals.
    EXPECT_EQ(f.replay->activation.scene.lights.size(), 1u);
    EXPECT_TRUE(f.replay->activation.events.empty());
    scene::Scene back;
    std::string why;
    ASSERT_TRUE(validate::readSceneFile(f.replay->sceneFile, back, why)) << why;
    EXPECT_TRUE(validate::sameLights(back, f.replay->activation.scene));
    EXPECT_EQ(f.replay->sceneFile.rfind("LWSC\n5\n", 0), 0u);
    // Two activations are no script.
    const validate::ReplayFinding two = validate::findReplay(VANTOREL_BROKEN_APPLY_PATH, {a, a}, 10, "");
    EXPECT_FALSE(two.replay);
    EXPECT_EQ(two.whyNot.rfind("the failure needs 2 activations of one loaded library", 0), 0u) << two.whyNot;
}
