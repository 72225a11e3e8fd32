// browser_input.h - a browser's input events as the simulated Layout takes
// them: a KeyboardEvent's key and code into sim's key presses and typed text
// (as window/window.cpp turns SDL's keys into them), and wheel deltas into
// notches. What a press means is sim's (sim/keyboard.h); this only
// translates.
#ifndef VANTOREL_WEB_BROWSER_INPUT_H
#define VANTOREL_WEB_BROWSER_INPUT_H

#include <string>

#include "sim/keyboard.h"

namespace web {

// A KeyboardEvent of type keydown, as the page hands it over.
struct BrowserKey {
    std::string key;   // KeyboardEvent.key: "a", "A", "Enter", "ArrowLeft", "Dead", ...
    std::string code;  // KeyboardEvent.code: the physical key, "KeyA", "Digit1", "Numpad1", ...
    bool shift = false, ctrl = false, alt = false, meta = false;
    bool altGraph = false;  // getModifierState("AltGraph"): Ctrl and Alt held stand for AltGr
};

// What a key going down stands for: the press sim::PanelInput::keyDown takes,
// and the text it types (for PanelInput::typed; empty when it types none).
// A key whose value is one character types it, unless Ctrl, Alt or Meta
// (Command) is held without AltGr, as a desktop's text input does; the press
// is then a character key with Ctrl held, which the panel leaves alone. Meta
// counts as Ctrl: on a Mac it is the shortcut key.
struct KeyInput {
    sim::KeyPress down;
    std::string text;
};
KeyInput keyInput(const BrowserKey &k);

// Wheel deltas (WheelEvent.deltaY and deltaMode) as whole notches, positive
// away from the user as sim counts them. One notch is 100 pixels (what
// Chromium and Windows give for one step of a mouse wheel), 3 lines (what
// Firefox gives) or a fifth of a page; smaller deltas, as a touchpad sends
// them, add up until they make a notch, and a change of direction drops
// what had added up.
class WheelNotches {
public:
    enum Mode { kPixels = 0, kLines = 1, kPages = 2 };
    int add(double deltaY, int deltaMode);

private:
    double pending_ = 0;  // in notches, not yet handed on
};

}  // namespace web

#endif
