// field_editor.h - a field of the panel being edited by hand: its text and
// caret, the editing keys, and what a commit sends.
//
// Keys
//   Left, Right, Home, End move the caret; Backspace and Delete remove a
//   character; printable characters are inserted (digits, sign, point and
//   exponent are what a number field can use; other ASCII characters are
//   kept and refused on commit; a number field takes no character past ASCII).
//   Return commits; Tab commits and goes on to the next field (Shift+Tab the
//   one before); Escape drops the edit. Other keys do nothing.
// Commit
//   Nothing is sent when the text is still the one shown (so looking into a
//   field never edits every selected light, and a value with more decimals
//   than the field shows is kept). A number field whose text, blanks around
//   it aside, is not a finite number (a colour number: not a whole number)
//   is refused with a sentence saying why, and keeps its value; colour
//   numbers outside 0..255 are held at the ends.
#ifndef VANTOREL_SIM_FIELD_EDITOR_H
#define VANTOREL_SIM_FIELD_EDITOR_H

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "action.h"
#include "keyboard.h"
#include "rect.h"

namespace sim {

// The fields a person can type into: the text field that selects by the
// start of a name, the two number fields and the colour's three numbers.
enum class FieldKind { Prefix, Intensity, Range, Colour };

struct Field {
    FieldKind kind = FieldKind::Prefix;
    int component = -1;  // Colour: 0 red, 1 green, 2 blue
    Rect rect;           // where it is in the picture
    std::string label;   // the control's label, for a refusal's sentence
    bool usable = true;  // not ghosted
    bool same(const Field &o) const { return kind == o.kind && component == o.component; }
};

class FieldEditor {
public:
    // Starts editing a field that shows `shown`: the caret at the end, or at
    // the character boundary nearest picture column pointerX.
    FieldEditor(Field field, std::string shown, std::optional<int> pointerX);

    const Field &field() const { return field_; }
    const std::string &text() const { return text_; }
    size_t caret() const { return caret_; }  // bytes of text before the caret

    // The caret to the character boundary nearest picture column x.
    void pointAt(int x);

    // What a key leaves to the panel: nothing (Ignored, Edited: the text or
    // caret changed), or to commit, drop the edit, or go on to another field.
    enum class Step { Ignored, Edited, Commit, Drop, Next, Previous };
    Step key(const KeyPress &k);

    // What committing the text sends: the action for the field's new value,
    // nothing when the text was not edited, or nothing with the sentence
    // that says why the text was refused. colourNow: the colour control's
    // three numbers, of which a colour field replaces one.
    struct Committed {
        std::optional<Action> send;
        std::string refused;
    };
    Committed commit(const std::array<int, 3> &colourNow) const;

private:
    bool takes(const KeyPress &k) const;  // a character the field can hold

    Field field_;
    std::string shown_;  // the text the field showed when editing began
    std::string text_;
    size_t caret_ = 0;
};

}  // namespace sim

#endif
