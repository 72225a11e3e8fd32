// The recorder on its own: each action's script line, the type runs, and
// notes that could break a line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recorder.h"

namespace {

using sim::Action;
using sim::ActionKind;
using sim::Button;
using Lines = std::vector<std::string>;

TEST(Recorder, EachActionIsTheScriptLineThatReplaysIt) {
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
    r.record(Action::shadow(2));
    r.record(Action::drag({-100, 50}));
    r.record(Action::drag({}));
    r.record(Action::press(Button::Copy));
    r.record(Action::press(Button::Paste));
    r.record(Action::press(Button::Clear));
    r.record(Action::ok());
    EXPECT_EQ(r.lines(), (Lines{"click \"Key\"", "click \"Spot \\\"Left\\\"\" 2",
                                "click-y 300 30  # Ni\xC3\xB1o", "scroll 48", "prefix \"a\\\\b\"",
                                "intensity 0.1", "range -2.5e+17", "color 0 128 255", "lighttype 3  # Linear",
                                "shadow 2", "drag -100 50", "drag", "copy", "paste", "clear", "ok"}));
    ASSERT_EQ(r.actions().size(), r.lines().size());
    EXPECT_EQ(r.actions()[6].kind, ActionKind::Range);
}

TEST(Recorder, PrintableKeysInARowJoinOneTypeLine) {
    sim::Recorder r;
    for (unsigned char c : std::string("Sp \"#")) r.record(Action::key(c));
    r.record(Action::key(0x1061));  // Shift ends the run
    r.record(Action::key('a'));
    r.record(Action::key(8));
    r.record(Action::key(0xE9));  // Latin-1: a key line of its own
    r.record(Action::key('b'));
    r.record(Action::cancel());
    EXPECT_EQ(r.lines(), (Lines{"type \"Sp \\\"#\"", "key 0x1061", "type \"a\"", "key backspace", "key 0xe9",
                                "type \"b\"", "cancel"}));
    ASSERT_EQ(r.actions().size(), 7u);
    EXPECT_EQ(r.actions()[0].kind, ActionKind::Type);
    EXPECT_EQ(r.actions()[0].text, "Sp \"#");
    EXPECT_EQ(r.actions()[1].kind, ActionKind::Key);
}

TEST(Recorder, ANoteThatWouldBreakTheLineIsLeftOut) {
    sim::Recorder r;
    r.record(Action::clickY(5, 1), "two\nlines");
    r.record(Action::clickY(5, 1), "carriage\rreturn");
    r.record(Action::clickY(5, 1), "");
    EXPECT_EQ(r.lines(), (Lines{"click-y 5 1", "click-y 5 1", "click-y 5 1"}));
}

}  // namespace
