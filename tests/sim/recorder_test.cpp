// The recorder on its own: each action kept as handed over, with its note,
// and printable keys in a row joined into one typed text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recorder.h"

namespace {

using sim::Action;
using sim::ActionKind;

TEST(Recorder, KeepsEachActionWithItsNote) {
    sim::Recorder r;
    r.record(Action::clickName("Key"));
    r.record(Action::clickY(300, 30), "Ni\xC3\xB1o");
    r.record(Action::lightType(3), "Linear");
    r.record(Action::drag({-100, 50}));
    r.record(Action::ok());
    EXPECT_EQ(r.actions(),
              (std::vector<Action>{Action::clickName("Key"), Action::clickY(300, 30), Action::lightType(3),
                                   Action::drag({-100, 50}), Action::ok()}));
    EXPECT_EQ(r.notes(), (std::vector<std::string>{"", "Ni\xC3\xB1o", "Linear", "", ""}));
}

TEST(Recorder, PrintableKeysInARowJoinOneTypedText) {
    sim::Recorder r;
    for (unsigned char c : std::string("Sp \"#")) r.record(Action::key(c));
    r.record(Action::key(0x1061));  // Shift ends the run
    r.record(Action::key('a'));
    r.record(Action::key(8));
    r.record(Action::key(0xE9));  // Latin-1: a key of its own
    r.record(Action::key('b'));
    r.record(Action::cancel());
    EXPECT_EQ(r.actions(),
              (std::vector<Action>{Action::type("Sp \"#"), Action::key(0x1061), Action::type("a"),
                                   Action::key(8), Action::key(0xE9), Action::type("b"), Action::cancel()}));
    EXPECT_EQ(r.notes().size(), r.actions().size());
}

}  // namespace
