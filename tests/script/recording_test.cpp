// A session done by hand as script lines: the writer's canonical line for
// each action, and the note as a comment only where it tells more.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/recording.h"
#include "tests/script/read_text.h"

namespace {

using sim::Action;
using sim::Button;
using Lines = std::vector<std::string>;

TEST(Recording, EachActionIsTheScriptLineThatReplaysIt) {
    sim::Recorder r;
    r.record(Action::clickName("Key"));
    r.record(Action::clickName("Spot \"Left\"", 2));
    r.record(Action::clickY(300, 30), "Ni\xC3\xB1o");
    r.record(Action::scroll(48));
    r.record(Action::prefix("a\\b"));
    r.record(Action::intensity(0.1));
    r.record(Action::range(-2.5e17));
    r.record(Action::color(0, 128, 255));
    r.record(Action::lightType(3), "Linear");
    r.record(Action::shadow(2), "Shadow map");
    r.record(Action::drag({-100, 50}));
    r.record(Action::drag({}));
    r.record(Action::press(Button::Copy));
    r.record(Action::press(Button::Paste));
    r.record(Action::press(Button::Clear));
    for (unsigned char c : std::string("Sp \"#")) r.record(Action::key(c));
    r.record(Action::key(0xE9));
    r.record(Action::ok());
    const Lines lines = script::recordingLines(r);
    EXPECT_EQ(lines,
              (Lines{"click Key", "click \"Spot \\\"Left\\\"\" 2", "click-y 300 30  # Ni\xC3\xB1o",
                     "scroll 48", "prefix a\\b", "intensity 0.1", "range -250000000000000000",
                     "color 0 128 255", "lighttype Linear", "shadow ShadowMap  # Shadow map", "drag -100 50",
                     "drag", "copy", "paste", "clear", "type \"Sp \\\"#\"", "key 0xe9", "ok"}));
    std::string text;
    for (const std::string &l : lines) text += l + "\n";
    const script::Script s = testsupport::readOrFail(text, "recorded");
    ASSERT_EQ(s.steps.size(), r.actions().size());
    for (size_t i = 0; i < s.steps.size(); ++i) EXPECT_EQ(*s.steps[i].action(), r.actions()[i]) << lines[i];
}

TEST(Recording, ANoteThatWouldBreakTheLineIsLeftOut) {
    sim::Recorder r;
    r.record(Action::clickY(5, 1), "two\nlines");
    r.record(Action::clickY(5, 1), "carriage\rreturn");
    r.record(Action::clickY(5, 1), "");
    EXPECT_EQ(script::recordingLines(r), (Lines{"click-y 5 1", "click-y 5 1", "click-y 5 1"}));
}

}  // namespace
