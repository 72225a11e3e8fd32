// text_field.cpp - editing one line of text.
#include "session/text_field.h"

#include "sim/utf8.h"

namespace session {

void TextField::type(std::string_view utf8) {
    std::string keep;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 32 || c == 127) continue;
        // C1 controls, U+0080 to U+009F, are two bytes: C2 80 to C2 9F.
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
            sim::utf8::continuation(utf8[i + 1])) {
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

void TextField::left() { caret = sim::utf8::previous(text, caret); }

void TextField::right() { caret = sim::utf8::next(text, caret); }

void TextField::caretToColumn(int column) {
    // The panel font gives every byte a cell of its own.
    caret = sim::utf8::characterStart(text, column <= 0 ? 0 : static_cast<std::size_t>(column));
}

}  // namespace session
