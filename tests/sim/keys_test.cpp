// Keys as a front end hands them over: what a key going down and typed text
// stand for, the Layout code each key has, and the UTF-8 under both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard.h"
#include "layout_keys.h"
#include "utf8.h"

namespace {

using sim::Key;
using sim::KeyPress;

KeyPress key(Key k) {
    KeyPress p;
    p.key = k;
    return p;
}
KeyPress ch(uint32_t c, bool ctrl = false, bool alt = false) {
    KeyPress p;
    p.ch = c;
    p.ctrl = ctrl;
    p.alt = alt;
    return p;
}

TEST(PanelKeys, LayoutCodes) {
    EXPECT_EQ(sim::panelKeyCode(ch('a')), 'a');
    EXPECT_EQ(sim::panelKeyCode(ch(' ')), 32);
    EXPECT_EQ(sim::panelKeyCode(ch('~')), 126);
    EXPECT_EQ(sim::panelKeyCode(ch(0xE9)), 0xE9);  // é
    EXPECT_EQ(sim::panelKeyCode(ch(0x20AC)), -1);  // € has no Layout code
    EXPECT_EQ(sim::panelKeyCode(ch(127)), -1);
    EXPECT_EQ(sim::panelKeyCode(ch('c', true)), -1);  // typed with Ctrl: not passed on
    EXPECT_EQ(sim::panelKeyCode(key(Key::Backspace)), 8);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Tab)), 9);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Return)), 13);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Escape)), -1);
    EXPECT_EQ(sim::panelKeyCode(key(Key::F1)), 0x1030);
    EXPECT_EQ(sim::panelKeyCode(key(Key::F10)), 0x1039);
    EXPECT_EQ(sim::panelKeyCode(key(Key::F11)), -1);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Left)), 0x1040);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Delete)), 0x1049);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Shift)), 0x1061);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Ctrl)), 0x1062);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Alt)), -1);
}

// The two blocks of named keys have consecutive codes in Layout's order, and
// the characters with a code are exactly Latin-1 without its controls.
TEST(PanelKeys, CodeBlocksAndCharacterRange) {
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(sim::panelKeyCode(key(static_cast<Key>(static_cast<int>(Key::F1) + n))), 0x1030 + n);
    const Key cursor[] = {Key::Left, Key::Right,  Key::Up,       Key::Down,   Key::Home,
                          Key::End,  Key::PageUp, Key::PageDown, Key::Insert, Key::Delete};
    for (int n = 0; n < 10; ++n) EXPECT_EQ(sim::panelKeyCode(key(cursor[n])), 0x1040 + n);
    EXPECT_EQ(sim::panelKeyCode(key(Key::F12)), -1);
    EXPECT_EQ(sim::panelKeyCode(key(Key::Other)), -1);
    for (uint32_t c : {0u, 9u, 31u, 0x80u, 0x9Fu, 256u, 0x10FFFFu})
        EXPECT_EQ(sim::panelKeyCode(ch(c)), -1) << c;
    for (uint32_t c : {32u, 126u, 160u, 255u}) EXPECT_EQ(sim::panelKeyCode(ch(c)), static_cast<int>(c)) << c;
    EXPECT_EQ(sim::panelKeyCode(ch(0xE9, false, true)), -1);  // Alt too
    KeyPress shifted = ch('A');
    shifted.shift = true;
    EXPECT_EQ(sim::panelKeyCode(shifted), 'A');
}

// A character key counts through its text, unless Ctrl or Alt is held, when
// no text comes: then the key itself counts (once either way).
TEST(Keyboard, CharacterKeysCountThroughTheirTextExceptWithCtrlOrAlt) {
    EXPECT_FALSE(sim::keyDown(ch('c')));
    KeyPress shifted = ch('c');
    shifted.shift = true;
    EXPECT_FALSE(sim::keyDown(shifted));
    for (const KeyPress &held : {ch('c', true), ch('c', false, true)}) {
        const auto k = sim::keyDown(held);
        ASSERT_TRUE(k);
        EXPECT_EQ(k->key, Key::Char);
        EXPECT_EQ(k->ch, uint32_t{'c'});
        EXPECT_EQ(k->ctrl, held.ctrl);
        EXPECT_EQ(k->alt, held.alt);
    }
    for (Key named : {Key::Return, Key::Escape, Key::Shift, Key::F12, Key::Other}) {
        KeyPress down = key(named);
        down.shift = true;
        const auto k = sim::keyDown(down);
        ASSERT_TRUE(k);
        EXPECT_EQ(k->key, named);
        EXPECT_TRUE(k->shift);
    }
}

std::vector<uint32_t> typed(const std::string &text) {
    std::vector<uint32_t> out;
    for (const KeyPress &k : sim::typedKeys(text)) {
        EXPECT_EQ(k.key, Key::Char);
        EXPECT_FALSE(k.ctrl || k.alt || k.shift);
        out.push_back(k.ch);
    }
    return out;
}

TEST(Keyboard, TypedTextIsOneKeyPerCharacter) {
    EXPECT_TRUE(typed("").empty());
    EXPECT_EQ(typed("aZ 9"), (std::vector<uint32_t>{'a', 'Z', ' ', '9'}));
    EXPECT_EQ(typed("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x92\xA1"), (std::vector<uint32_t>{0xE9, 0x20AC, 0x1F4A1}));
    // Malformed text is taken as it comes: a stray continuation byte stands
    // for itself, a character cut short ends with its last continuation byte.
    EXPECT_EQ(typed("\x80x"), (std::vector<uint32_t>{0x80, 'x'}));
    EXPECT_EQ(typed("\xE2\x82x"), (std::vector<uint32_t>{(0x2u << 6) | 0x2u, 'x'}));
    EXPECT_EQ(typed("\xC3"), (std::vector<uint32_t>{0x3}));
}

TEST(Utf8, EncodingReadsBackAndCaretStepsWholeCharacters) {
    for (uint32_t cp : {0x41u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        const std::string s = sim::utf8::encode(cp);
        EXPECT_EQ(s.size(), cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u) << cp;
        EXPECT_EQ(sim::utf8::codePoints(s), std::vector<uint32_t>{cp}) << cp;
    }
    const std::string t =
        "a\xC3\xA9\xE2\x82\xAC"
        "b";  // a é € b: bytes 0, 1, 3, 6
    EXPECT_EQ(sim::utf8::next(t, 0), 1u);
    EXPECT_EQ(sim::utf8::next(t, 1), 3u);
    EXPECT_EQ(sim::utf8::next(t, 3), 6u);
    EXPECT_EQ(sim::utf8::next(t, 7), 7u);
    EXPECT_EQ(sim::utf8::previous(t, 6), 3u);
    EXPECT_EQ(sim::utf8::previous(t, 3), 1u);
    EXPECT_EQ(sim::utf8::previous(t, 0), 0u);
    EXPECT_EQ(sim::utf8::characterStart(t, 5), 3u);
    EXPECT_EQ(sim::utf8::characterStart(t, 2), 1u);
    EXPECT_EQ(sim::utf8::characterStart(t, 7), 7u);
    EXPECT_EQ(sim::utf8::characterStart(t, 99), 7u);
}

}  // namespace
