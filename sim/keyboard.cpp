// keyboard.cpp - what a key going down and typed text stand for.
#include "keyboard.h"

#include "utf8.h"

namespace sim {

std::optional<KeyPress> keyDown(const KeyPress &down) {
    // Without Ctrl or Alt the character comes again as text: counting the key
    // as well would type it twice.
    if (down.key == Key::Char && !down.ctrl && !down.alt) return std::nullopt;
    return down;
}

std::vector<KeyPress> typedKeys(std::string_view text) {
    std::vector<KeyPress> keys;
    for (uint32_t c : utf8::codePoints(text)) {
        KeyPress k;
        k.key = Key::Char;
        k.ch = c;
        keys.push_back(k);
    }
    return keys;
}

}  // namespace sim
