// keyboard.h - keys as the simulated Layout receives them from a front end.
//
// A front end translates its own key events into KeyPresses and hands over
// two things: each key that goes down (keyDown), and the text that typing
// produced (typedKeys). What a key means is decided here, not in the front
// end: a key that types a character counts through its text, except while
// Ctrl or Alt is held, when no text comes and the key itself counts (so that
// the panel can tell Ctrl+C from a typed c and leave it alone).
#ifndef VANTOREL_SIM_KEYBOARD_H
#define VANTOREL_SIM_KEYBOARD_H

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace sim {

enum class Key {
    Char,
    Backspace,
    Delete,
    Return,
    Tab,
    Escape,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Insert,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,  // consecutive: Key(int(Key::F1) + n)
    Shift,
    Ctrl,
    Alt,   // a modifier key pressed on its own
    Other  // any key not named here
};

struct KeyPress {
    Key key = Key::Char;
    uint32_t ch = 0;  // Unicode code point for Key::Char
    bool shift = false, ctrl = false, alt = false;
};

// A key went down: a named key, a key that types a character (Key::Char with
// the character it types unshifted), or Other, with the modifiers held. The
// press it stands for, or nothing for a character key without Ctrl or Alt,
// whose character arrives as typed text.
std::optional<KeyPress> keyDown(const KeyPress &down);

// Typed text (UTF-8) as one Key::Char press per character, decoded leniently
// (utf8::codePoints).
std::vector<KeyPress> typedKeys(std::string_view text);

}  // namespace sim

#endif
