// field_editor.cpp - editing one field of the panel.
#include "field_editor.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "font.h"
#include "panel_geometry.h"
#include "utf8.h"
#include "words.h"

namespace sim {

namespace {

std::string trimmed(const std::string &s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

// A whole number in decimal, optionally signed, that fits a long long.
bool wholeNumber(const std::string &s, long long &out) {
    if (s.empty()) return false;
    size_t i = s[0] == '-' || s[0] == '+' ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    errno = 0;
    out = std::strtoll(s.c_str(), nullptr, 10);
    return errno != ERANGE;
}

const char *const kColourNames[] = {"Red", "Green", "Blue"};

// The character boundary nearest picture column x in a field at r showing
// text, one cell per character.
size_t caretAt(const std::string &text, const Rect &r, int x) {
    const long long cell = static_cast<long long>(x) - (r.x + kFieldTextInset) + font::kAdvance / 2;
    size_t at = 0;
    for (long long n = cell / font::kAdvance; n > 0 && at < text.size(); --n) at = utf8::next(text, at);
    return at;
}

}  // namespace

FieldEditor::FieldEditor(Field field, std::string shown, std::optional<int> pointerX)
    : field_(std::move(field)), shown_(std::move(shown)), text_(shown_), caret_(text_.size()) {
    if (pointerX) pointAt(*pointerX);
}

void FieldEditor::pointAt(int x) { caret_ = caretAt(text_, field_.rect, x); }

bool FieldEditor::takes(const KeyPress &k) const {
    if (k.ctrl || k.alt || k.ch < 32 || k.ch == 127 || (k.ch >= 0x80 && k.ch < 0xA0) || k.ch > 0x10FFFF)
        return false;
    return field_.kind == FieldKind::Prefix || k.ch <= 126;  // numbers are ASCII
}

FieldEditor::Step FieldEditor::key(const KeyPress &k) {
    switch (k.key) {
    case Key::Char: {
        if (!takes(k)) return Step::Ignored;
        const std::string s = utf8::encode(k.ch);
        text_.insert(caret_, s);
        caret_ += s.size();
        return Step::Edited;
    }
    case Key::Backspace: {
        const size_t p = utf8::previous(text_, caret_);
        text_.erase(p, caret_ - p);
        caret_ = p;
        return Step::Edited;
    }
    case Key::Delete: text_.erase(caret_, utf8::next(text_, caret_) - caret_); return Step::Edited;
    case Key::Left: caret_ = utf8::previous(text_, caret_); return Step::Edited;
    case Key::Right: caret_ = utf8::next(text_, caret_); return Step::Edited;
    case Key::Home: caret_ = 0; return Step::Edited;
    case Key::End: caret_ = text_.size(); return Step::Edited;
    case Key::Return: return Step::Commit;
    case Key::Tab: return k.shift ? Step::Previous : Step::Next;
    case Key::Escape: return Step::Drop;
    default: return Step::Ignored;
    }
}

FieldEditor::Committed FieldEditor::commit(const std::array<int, 3> &colourNow) const {
    Committed c;
    if (text_ == shown_) return c;  // nothing was edited: nothing is sent
    switch (field_.kind) {
    case FieldKind::Prefix: c.send = Action::prefix(text_); return c;
    case FieldKind::Colour: {
        long long n = 0;
        const int i = std::clamp(field_.component, 0, 2);
        if (!wholeNumber(trimmed(text_), n)) {
            c.refused = std::string(kColourNames[i]) + ": \"" + text_ +
                        "\" is not a whole number from 0 to 255; it stays " + shown_;
            return c;
        }
        std::array<int, 3> v = colourNow;
        v[static_cast<size_t>(i)] = static_cast<int>(std::clamp(n, 0LL, 255LL));
        c.send = Action::color(v[0], v[1], v[2]);
        return c;
    }
    case FieldKind::Intensity:
    case FieldKind::Range: {
        double v = 0;
        if (!parseFiniteDouble(trimmed(text_), v)) {
            c.refused = field_.label + ": \"" + text_ + "\" is not a number; it stays " + shown_;
            return c;
        }
        c.send = field_.kind == FieldKind::Intensity ? Action::intensity(v) : Action::range(v);
        return c;
    }
    }
    return c;
}

}  // namespace sim
