// The field editor on its own: the editing keys on UTF-8 text, which
// characters a field takes, and what a commit sends or why it refuses.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "field_editor.h"
#include "font.h"
#include "panel_geometry.h"

namespace {

using sim::Action;
using sim::ActionKind;
using sim::FieldEditor;
using sim::FieldKind;
using sim::Key;
using sim::KeyPress;
using Step = FieldEditor::Step;

constexpr std::array<int, 3> kColour{10, 20, 30};

sim::Field field(FieldKind kind, int component = -1) {
    sim::Field f;
    f.kind = kind;
    f.component = component;
    f.rect = {100, 50, 80, 16};
    f.label = kind == FieldKind::Range ? "Range" : "Intensity";
    return f;
}
KeyPress key(Key k, bool shift = false) {
    KeyPress p;
    p.key = k;
    p.shift = shift;
    return p;
}
KeyPress ch(uint32_t c) {
    KeyPress p;
    p.ch = c;
    return p;
}
void type(FieldEditor &e, const std::string &text) {
    for (unsigned char c : text) ASSERT_EQ(e.key(ch(c)), Step::Edited) << c;
}
// A field showing `shown` whose text is replaced by `text`.
FieldEditor edited(FieldKind kind, const std::string &shown, const std::string &text, int component = -1) {
    FieldEditor e(field(kind, component), shown, std::nullopt);
    for (size_t i = 0; i < shown.size(); ++i) e.key(key(Key::Backspace));
    type(e, text);
    return e;
}

TEST(FieldEditor, CaretKeysStepOverWholeCharacters) {
    FieldEditor e(field(FieldKind::Prefix), "a\xC3\xA9z", std::nullopt);  // a é z
    EXPECT_EQ(e.caret(), 4u) << "editing starts at the end";
    EXPECT_EQ(e.key(key(Key::Left)), Step::Edited);
    EXPECT_EQ(e.caret(), 3u);
    e.key(key(Key::Left));
    EXPECT_EQ(e.caret(), 1u) << "over both bytes of the é";
    e.key(key(Key::Delete));
    EXPECT_EQ(e.text(), "az");
    e.key(key(Key::Right));
    e.key(key(Key::Right));  // at the end: stays
    EXPECT_EQ(e.caret(), 2u);
    EXPECT_EQ(e.key(ch(0x20AC)), Step::Edited);  // € typed at the caret
    EXPECT_EQ(e.text(), "az\xE2\x82\xAC");
    e.key(key(Key::Backspace));
    EXPECT_EQ(e.text(), "az");
    e.key(key(Key::Home));
    e.key(key(Key::Backspace));  // at the start: nothing
    EXPECT_EQ(e.text(), "az");
    EXPECT_EQ(e.caret(), 0u);
    e.key(key(Key::End));
    EXPECT_EQ(e.caret(), 2u);
    EXPECT_EQ(e.key(key(Key::Up)), Step::Ignored);
    EXPECT_EQ(e.key(key(Key::F1)), Step::Ignored);
}

TEST(FieldEditor, ThePointerPutsTheCaretAtTheNearestBoundary) {
    const sim::Field f = field(FieldKind::Prefix);
    const int first = f.rect.x + sim::kFieldTextInset;  // left edge of the first cell
    const int cell = sim::font::kAdvance;
    EXPECT_EQ(FieldEditor(f, "abc", first + cell + 2).caret(), 1u);  // left half of b
    EXPECT_EQ(FieldEditor(f, "abc", first + cell + 3).caret(), 2u);  // right half of b
    EXPECT_EQ(FieldEditor(f, "abc", -1000).caret(), 0u);
    EXPECT_EQ(FieldEditor(f, "abc", 100000).caret(), 3u);
    // One cell per character, whatever its bytes: the left half of x is after é.
    EXPECT_EQ(FieldEditor(f, "\xC3\xA9x", first + cell + 2).caret(), 2u);
    EXPECT_EQ(FieldEditor(f, "\xC3\xA9x", first + 2).caret(), 0u);
    EXPECT_EQ(FieldEditor(f, "\xC3\xA9x", first + 2 * cell + 3).caret(), 3u);
}

TEST(FieldEditor, WhichCharactersAFieldTakes) {
    FieldEditor prefix(field(FieldKind::Prefix), "", std::nullopt);
    FieldEditor number(field(FieldKind::Intensity), "", std::nullopt);
    KeyPress withCtrl = ch('a');
    withCtrl.ctrl = true;
    KeyPress withAlt = ch('a');
    withAlt.alt = true;
    for (const KeyPress &k : {ch(9), ch(31), ch(127), ch(0x80), ch(0x9F), ch(0x110000), withCtrl, withAlt}) {
        EXPECT_EQ(prefix.key(k), Step::Ignored) << k.ch;
        EXPECT_EQ(number.key(k), Step::Ignored) << k.ch;
    }
    EXPECT_EQ(prefix.key(ch(0xA0)), Step::Edited);
    EXPECT_EQ(number.key(ch(0xE9)), Step::Ignored) << "numbers are ASCII";
    EXPECT_EQ(number.key(ch('x')), Step::Edited) << "kept, and refused on commit";
    EXPECT_EQ(number.text(), "x");
}

TEST(FieldEditor, KeysThatLeaveTheField) {
    FieldEditor e(field(FieldKind::Range), "1.0", std::nullopt);
    EXPECT_EQ(e.key(key(Key::Return)), Step::Commit);
    EXPECT_EQ(e.key(key(Key::Tab)), Step::Next);
    EXPECT_EQ(e.key(key(Key::Tab, true)), Step::Previous);
    EXPECT_EQ(e.key(key(Key::Escape)), Step::Drop);
    EXPECT_EQ(e.text(), "1.0") << "none of them edits";
}

TEST(FieldEditor, ATextLeftAsShownSendsNothing) {
    for (FieldKind k : {FieldKind::Prefix, FieldKind::Intensity, FieldKind::Colour}) {
        FieldEditor e(field(k, 0), "12.3456", std::nullopt);
        e.key(key(Key::Backspace));
        e.key(ch('6'));  // back to what it was
        const auto c = e.commit(kColour);
        EXPECT_FALSE(c.send);
        EXPECT_EQ(c.refused, "");
    }
}

TEST(FieldEditor, NumbersAreSentAsReadBlanksAside) {
    auto c = edited(FieldKind::Intensity, "100.0", " 42.5 ").commit(kColour);
    ASSERT_TRUE(c.send);
    EXPECT_EQ(c.send->kind, ActionKind::Intensity);
    EXPECT_EQ(c.send->number, 42.5);
    c = edited(FieldKind::Range, "1.0", "-2e3").commit(kColour);
    ASSERT_TRUE(c.send);
    EXPECT_EQ(c.send->kind, ActionKind::Range);
    EXPECT_EQ(c.send->number, -2000.0);
    c = edited(FieldKind::Prefix, "", " Spot").commit(kColour);
    ASSERT_TRUE(c.send);
    EXPECT_EQ(c.send->kind, ActionKind::Prefix);
    EXPECT_EQ(c.send->text, " Spot") << "a prefix keeps its blanks";
}

TEST(FieldEditor, ANumberFieldRefusesWhatIsNotAFiniteNumber) {
    for (const char *bad : {"", " ", "x", "1.0x", "inf", "nan", "1e400", "--1"}) {
        const auto c = edited(FieldKind::Range, "1.0", bad).commit(kColour);
        EXPECT_FALSE(c.send) << bad;
        EXPECT_EQ(c.refused, std::string("Range: \"") + bad + "\" is not a number; it stays 1.0");
    }
}

TEST(FieldEditor, AColourNumberReplacesItsComponentHeldInsideTheRange) {
    struct Case {
        const char *text;
        int component, want;
    };
    for (const Case &k : {Case{"255", 0, 255}, Case{"9999", 1, 255}, Case{"-7", 2, 0}, Case{" +8 ", 1, 8}}) {
        const auto c = edited(FieldKind::Colour, "20", k.text, k.component).commit(kColour);
        ASSERT_TRUE(c.send) << k.text;
        EXPECT_EQ(c.send->kind, ActionKind::Color);
        std::array<int, 3> want = kColour;
        want[static_cast<size_t>(k.component)] = k.want;
        EXPECT_EQ((std::array<int, 3>{c.send->rgb[0], c.send->rgb[1], c.send->rgb[2]}), want) << k.text;
    }
    const char *const names[] = {"Red", "Green", "Blue"};
    for (const char *bad : {"1.5", "1e2", "", "+", "99999999999999999999"}) {
        for (int i = 0; i < 3; ++i) {
            const auto c = edited(FieldKind::Colour, "20", bad, i).commit(kColour);
            EXPECT_FALSE(c.send) << bad;
            EXPECT_EQ(c.refused, std::string(names[i]) + ": \"" + bad +
                                     "\" is not a whole number from 0 to 255; it stays 20");
        }
    }
}

}  // namespace
