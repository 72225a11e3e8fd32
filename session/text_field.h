// text_field.h - a line of text being typed, with a caret: the shell's
// "Save as..." field. The keys do what they do in the panel's fields: Left,
// Right, Home, End move the caret, Backspace and Delete remove a character,
// and typed characters are inserted at the caret. The text is UTF-8 and the
// caret never stands inside a character.
#ifndef VANTOREL_SESSION_TEXT_FIELD_H
#define VANTOREL_SESSION_TEXT_FIELD_H

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace session {

struct TextField {
    std::string text;
    std::size_t caret = 0;  // bytes before the caret

    explicit TextField(std::string initial = {}) : text(std::move(initial)), caret(text.size()) {}

    // Inserts typed text at the caret; control characters are left out.
    void type(std::string_view utf8);
    void backspace();
    void erase();  // Delete: the character after the caret
    void left();
    void right();
    void home() { caret = 0; }
    void end() { caret = text.size(); }
    // The caret before the byte shown in this column (a click in the field;
    // the panel font gives each byte a cell), moved back to a character's start.
    void caretToColumn(int column);
};

}  // namespace session

#endif
