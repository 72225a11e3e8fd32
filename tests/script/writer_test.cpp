// The writer's canonical lines: what each action and expectation becomes,
// quoting only where the reader needs it, numbers in their shortest form.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "script/numbers.h"
#include "script/writer.h"
#include "tests/script/read_text.h"

namespace {

using script::Expectation;
using sim::Action;

TEST(ScriptWriter, NumbersInTheirShortestForm) {
    const std::vector<std::pair<double, std::string>> cases = {
        {60, "60"},
        {0.1, "0.1"},
        {-0.5, "-0.5"},
        {100.25, "100.25"},
        {1.0 / 3.0, "0.3333333333333333"},
        {0.0, "0"},
        {-0.0, "-0"},
        {1e-6, "0.000001"},
        {1e-7, "1e-7"},
        {1.5e-7, "1.5e-7"},
        {1e20, "100000000000000000000"},
        {1e21, "1e+21"},
        {2147483647, "2147483647"},
        {-2147483648.0, "-2147483648"},
        {4.9e-324, "5e-324"},
        {DBL_MAX, "1.7976931348623157e+308"},
        {-DBL_MIN, "-2.2250738585072014e-308"},
        {123456789.123, "123456789.123"},
        {NAN, "nan"},
        {-INFINITY, "-inf"},
    };
    for (const auto &[v, text] : cases) {
        EXPECT_EQ(script::writeNumber(v), text);
        double back = 0;
        if (std::isfinite(v)) {
            EXPECT_EQ(script::readScriptNumber(text, back), "") << text;
            EXPECT_EQ(back, v) << text;
            EXPECT_EQ(std::signbit(back), std::signbit(v)) << text;
        } else {
            EXPECT_NE(script::readScriptNumber(text, back), "") << "a script cannot hold " << text;
        }
    }
}

TEST(ScriptWriter, ActionsAsCanonicalLines) {
    const std::vector<std::pair<Action, std::string>> cases = {
        {Action::clickName("Rim"), "click Rim"},
        {Action::clickName("Spot Left", 2), "click \"Spot Left\" 2"},
        {Action::clickName(""), "click \"\""},
        {Action::clickName("Ni\xC3\xB1o"), "click Ni\xC3\xB1o"},
        {Action::clickY(8), "click-y 8"},
        {Action::clickY(300, 30), "click-y 300 30"},
        {Action::clickY(-5, -1), "click-y -5 -1"},
        {Action::scroll(48), "scroll 48"},
        {Action::key(8), "key backspace"},
        {Action::key('A'), "key A"},
        {Action::key(' '), "key \" \""},
        {Action::key('"'), "key \"\\\"\""},
        {Action::key('#'), "key \"#\""},
        {Action::key('\\'), "key \\"},
        {Action::key(9), "key 0x9"},
        {Action::key(0x1030), "key 0x1030"},
        {Action::type("Light 1"), "type \"Light 1\""},
        {Action::prefix("Spot"), "prefix Spot"},
        {Action::prefix("a\"b\\c"), "prefix \"a\\\"b\\\\c\""},
        {Action::prefix("# not a comment"), "prefix \"# not a comment\""},
        {Action::prefix("back\\slash"), "prefix back\\slash"},
        {Action::intensity(50), "intensity 50"},
        {Action::range(12.5), "range 12.5"},
        {Action::color(255, 240, 200), "color 255 240 200"},
        {Action::lightType(2), "lighttype Spot"},
        {Action::lightType(7), "lighttype 7"},
        {Action::shadow(0), "shadow Off"},
        {Action::shadow(-1), "shadow -1"},
        {Action::drag({}), "drag"},
        {Action::drag({100, -250}), "drag 100 -250"},
        {Action::dragEvent(-50, 2), "drag-event -50 2"},
        {Action::press(sim::Button::Copy), "copy"},
        {Action::press(sim::Button::Paste), "paste"},
        {Action::press(sim::Button::Clear), "clear"},
        {Action::ok(), "ok"},
        {Action::cancel(), "cancel"},
    };
    for (const auto &[action, line] : cases) {
        EXPECT_EQ(script::writeAction(action), line);
        EXPECT_EQ(script::unwritable(action), "") << line;
        const script::Script s = testsupport::readOrFail(line + "\n");
        ASSERT_EQ(s.steps.size(), 1u) << line;
        ASSERT_NE(s.steps[0].action(), nullptr) << line;
        EXPECT_EQ(*s.steps[0].action(), action) << line;
    }
}

TEST(ScriptWriter, ExpectationsAndSnapshotsAsCanonicalLines) {
    const std::vector<std::pair<script::Step, std::string>> cases = {
        {{0, "", Expectation::selected({})}, "expect selected"},
        {{0, "", Expectation::selected({"Key", "Spot Left"})}, "expect selected Key \"Spot Left\""},
        {{0, "", Expectation::fieldNumber(sim::Role::Intensity, 35)}, "expect field intensity 35"},
        {{0, "", Expectation::fieldNumber(sim::Role::Range, 0.001)}, "expect field range 0.001"},
        {{0, "", Expectation::fieldColor(255, 240, 200)}, "expect field color 255 240 200"},
        {{0, "", Expectation::fieldChoice(sim::Role::LightType, 4)}, "expect field lighttype Area"},
        {{0, "", Expectation::fieldChoice(sim::Role::Shadow, 9)}, "expect field shadow 9"},
        {{0, "", Expectation::ghostedState(true)}, "expect ghosted yes"},
        {{0, "", Expectation::ghostedState(false)}, "expect ghosted no"},
        {{0, "", Expectation::info("Copy Intensity")}, "expect info \"Copy Intensity\""},
        {{0, "", Expectation::error("x")}, "expect error x"},
        {{0, "", Expectation::prefix("")}, "expect prefix \"\""},
        {{0, "", Expectation::result(0)}, "expect result 0"},
        {{0, "", script::Snapshot{"out dir/p.png"}}, "snapshot \"out dir/p.png\""},
    };
    for (const auto &[step, line] : cases) {
        EXPECT_EQ(script::writeStep(step), line);
        const script::Script s = testsupport::readOrFail(line + "\n");
        ASSERT_EQ(s.steps.size(), 1u) << line;
        EXPECT_EQ(s.steps[0].what, step.what) << line;
    }
}

// What the reader cannot take back is written all the same, for reports,
// and named.
TEST(ScriptWriter, UnwritableValuesAreNamed) {
    const std::vector<std::pair<Action, std::string>> cases = {
        {Action::prefix("two\nlines"), "a line break, which a script line cannot hold"},
        {Action::type(std::string("a\0b", 3)), "a NUL byte, which a script cannot hold"},
        {Action::clickName("Key", 0), "a row number below 1"},
        {Action::intensity(NAN), "a number that is not finite"},
        {Action::range(INFINITY), "a number that is not finite"},
        {Action::key(70000), "a key code outside 0..65535"},
    };
    for (const auto &[action, why] : cases) {
        EXPECT_EQ(script::unwritable(action), why) << script::writeAction(action);
        EXPECT_NE(testsupport::readError(script::writeAction(action) + "\n"), "")
            << script::writeAction(action);
    }
    EXPECT_EQ(script::writeAction(Action::intensity(-INFINITY)), "intensity -inf");
    EXPECT_EQ(script::unwritable(script::Step{0, "", script::Snapshot{""}}), "a snapshot without a file");
}

// Texts, numbers and keys in the writer's words come back unchanged.
TEST(ScriptWriter, WordsReadBackUnchanged) {
    const std::vector<std::string> texts{"",     "Spot Left", "a\"b", "back\\slash", "# not a comment",
                                         "\\\"", "é",         "\\",   "tab\there",   "\"\""};
    const std::vector<double> numbers{0.1, -0.0, 1e-300, 123456789.123, 1.0 / 3.0, -2.5e17};
    const std::vector<int> keys{8, 9, 32, 34, 35, 65, 92, 0x1061, 0xFFFF};
    std::string text;
    for (const auto &t : texts) text += "prefix " + script::writeText(t) + "\n";
    for (double v : numbers) text += "intensity " + script::writeNumber(v) + "\n";
    for (int k : keys) text += "key " + script::writeKey(k) + "\n";
    const script::Script s = testsupport::readOrFail(text, "words");
    ASSERT_EQ(s.steps.size(), texts.size() + numbers.size() + keys.size());
    size_t i = 0;
    for (const auto &t : texts) EXPECT_EQ(s.steps[i++].action()->text, t);
    for (double v : numbers) EXPECT_EQ(s.steps[i++].action()->number, v);
    for (int k : keys) EXPECT_EQ(s.steps[i++].action()->value, k);
}

}  // namespace
