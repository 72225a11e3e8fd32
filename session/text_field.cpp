// text_field.cpp - editing one line of text.
#include "session/text_field.h"

#include <algorithm>

namespace session {

namespace {

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void TextField::type(std::string_view utf8) {
    std::string keep;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 32 || c == 127) continue;
        // C1 controls, U+0080 to U+009F, are two bytes: C2 80 to C2 9F.
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
            continuation(utf8[i + 1])) {
            ++i;
            continue;
        }
        keep += utf8[i];
    }
    text.insert(caret, keep);
    caret += keep.size();
}

void TextField::backspace() {
    const std::size_t to = caret;
    left();
    text.erase(caret, to - caret);
}

void TextField::erase() {
    const std::size_t from = caret;
    right();
    text.erase(from, caret - from);
    caret = from;
}

void TextField::left() {
    if (caret == 0) return;
    --caret;
    while (caret > 0 && continuation(text[caret])) --caret;
}

void TextField::right() {
    if (caret >= text.size()) return;
    ++caret;
    while (caret < text.size() && continuation(text[caret])) ++caret;
}

void TextField::caretToColumn(int column) {
    // The panel font gives every byte a cell of its own.
    caret = column <= 0 ? 0 : std::min(static_cast<std::size_t>(column), text.size());
    while (caret > 0 && caret < text.size() && continuation(text[caret])) --caret;
}

}  // namespace session
