// browser_input.cpp - KeyboardEvent and WheelEvent values into sim's input.
#include "web/browser_input.h"

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "sim/utf8.h"

namespace web {

namespace {

struct NamedKey {
    std::string_view name;  // KeyboardEvent.key
    sim::Key key;
};

constexpr NamedKey kNamedKeys[] = {
    {"Backspace", sim::Key::Backspace},
    {"Delete", sim::Key::Delete},
    {"Enter", sim::Key::Return},
    {"Tab", sim::Key::Tab},
    {"Escape", sim::Key::Escape},
    {"Esc", sim::Key::Escape},
    {"ArrowLeft", sim::Key::Left},
    {"ArrowRight", sim::Key::Right},
    {"ArrowUp", sim::Key::Up},
    {"ArrowDown", sim::Key::Down},
    {"Left", sim::Key::Left},
    {"Right", sim::Key::Right},
    {"Up", sim::Key::Up},
    {"Down", sim::Key::Down},
    {"Home", sim::Key::Home},
    {"End", sim::Key::End},
    {"PageUp", sim::Key::PageUp},
    {"PageDown", sim::Key::PageDown},
    {"Insert", sim::Key::Insert},
    {"Shift", sim::Key::Shift},
    {"Control", sim::Key::Ctrl},
    {"Alt", sim::Key::Alt},
    {"AltGraph", sim::Key::Alt},
};

// F1 to F12 ("F13" and beyond are other keys).
bool functionKey(std::string_view name, sim::Key &key) {
    if (name.size() < 2 || name.size() > 3 || name[0] != 'F') return false;
    int n = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > 12 || name[1] == '0') return false;
    key = static_cast<sim::Key>(static_cast<int>(sim::Key::F1) + n - 1);
    return true;
}

// The one character a key's value holds, if it holds exactly one.
bool singleCharacter(const std::string &value, uint32_t &ch) {
    const std::vector<uint32_t> cps = sim::utf8::codePoints(value);
    if (cps.size() != 1) return false;
    ch = cps[0];
    return true;
}

}  // namespace

KeyInput keyInput(const BrowserKey &k) {
    KeyInput in;
    // AltGr is reported as Ctrl and Alt held: it types, it is no shortcut.
    const bool shortcut = !k.altGraph && (k.ctrl || k.alt || k.meta);
    in.down.shift = k.shift;
    in.down.ctrl = !k.altGraph && (k.ctrl || k.meta);
    in.down.alt = !k.altGraph && k.alt;
    uint32_t ch = 0;
    if (singleCharacter(k.key, ch)) {
        in.down.key = sim::Key::Char;
        // As a desktop reports a letter key: the letter unshifted.
        in.down.ch = ch >= 'A' && ch <= 'Z' ? ch + ('a' - 'A') : ch;
        // Control characters type nothing.
        if (!shortcut && ch >= 32 && ch != 127) in.text = k.key;
        return in;
    }
    in.down.key = sim::Key::Other;
    if (functionKey(k.key, in.down.key)) return in;
    for (const NamedKey &n : kNamedKeys) {
        if (n.name == k.key) {
            in.down.key = n.key;
            break;
        }
    }
    return in;
}

int WheelNotches::add(double deltaY, int deltaMode) {
    if (!std::isfinite(deltaY) || deltaY == 0) return 0;
    const double perNotch = deltaMode == kLines ? 3.0 : deltaMode == kPages ? 0.2 : 100.0;
    // Away from the user is a negative deltaY and a positive notch.
    const double notches = -deltaY / perNotch;
    if ((notches > 0) != (pending_ > 0)) pending_ = 0;
    pending_ += notches;
    // Bounded: a page may hand over any number.
    if (pending_ > 1000) pending_ = 1000;
    if (pending_ < -1000) pending_ = -1000;
    const double whole = std::trunc(pending_);
    pending_ -= whole;
    return static_cast<int>(whole);
}

}  // namespace web
