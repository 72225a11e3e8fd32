// panel_input.cpp - pointer and keyboard input on the open panel.
#include "panel_input.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "font.h"
#include "script_text.h"
#include "words.h"

namespace sim {

namespace {

bool ghosted(const ControlModel &c) { return c.drawState == DR_GHOST; }

// UTF-8: a byte that continues a character.
bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string utf8(uint32_t ch) {
    std::string s;
    if (ch < 0x80) {
        s += static_cast<char>(ch);
    } else if (ch < 0x800) {
        s += static_cast<char>(0xC0 | (ch >> 6));
        s += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        s += static_cast<char>(0xE0 | (ch >> 12));
        s += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (ch >> 18));
        s += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return s;
}

// The character boundary nearest picture column x in a field at r showing text.
size_t caretAt(const std::string &text, const Rect &r, int x) {
    const long long cell = static_cast<long long>(x) - (r.x + kFieldTextInset) + font::kAdvance / 2;
    size_t at =
        static_cast<size_t>(std::clamp(cell / font::kAdvance, 0LL, static_cast<long long>(text.size())));
    while (at > 0 && at < text.size() && continuation(text[at])) --at;
    return at;
}

std::string trimmed(const std::string &s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

// A whole number in decimal, optionally signed.
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

bool isEditable(const ControlModel &c) {
    return c.role == Role::Prefix || c.role == Role::Intensity || c.role == Role::Range ||
           c.role == Role::Color;
}

// A script comment naming what was clicked; none for a text that would end the line.
std::string comment(const std::string &text) {
    if (text.empty() || text.find_first_of("\r\n") != std::string::npos) return "";
    return "  # " + text;
}

// The name painted on the list row at area y, as the last paint drew it.
std::string listRowName(const ControlModel &list, int y) {
    std::string name;
    for (const PaintedText &t : list.lastPaint.texts)
        if (y >= t.y && y < t.y + kListRow) name = t.text;
    return name;
}

}  // namespace

int panelKeyCode(const KeyPress &k) {
    switch (k.key) {
    case Key::Char:
        if (k.ctrl || k.alt) return -1;
        if ((k.ch >= 32 && k.ch <= 126) || (k.ch >= 160 && k.ch <= 255)) return static_cast<int>(k.ch);
        return -1;
    case Key::Backspace: return 8;
    case Key::Tab: return 9;
    case Key::Return: return 13;
    case Key::F1:
    case Key::F2:
    case Key::F3:
    case Key::F4:
    case Key::F5:
    case Key::F6:
    case Key::F7:
    case Key::F8:
    case Key::F9:
    case Key::F10: return 0x1030 + (static_cast<int>(k.key) - static_cast<int>(Key::F1));
    case Key::Left: return 0x1040;
    case Key::Right: return 0x1041;
    case Key::Up: return 0x1042;
    case Key::Down: return 0x1043;
    case Key::Home: return 0x1044;
    case Key::End: return 0x1045;
    case Key::PageUp: return 0x1046;
    case Key::PageDown: return 0x1047;
    case Key::Insert: return 0x1048;
    case Key::Delete: return 0x1049;
    case Key::Shift: return 0x1061;
    case Key::Ctrl: return 0x1062;
    default: return -1;  // Escape (Cancel), Alt, F11, F12, Other
    }
}

// What is under a point of the picture.
struct PanelInput::Target {
    enum Kind { None, List, Slider, Drag, Choice, Button, Ok, Cancel, Field } kind = None;
    const ControlModel *control = nullptr;
    Rect rect;       // the control's field, the item, or the button
    int index = -1;  // choice item, colour component
};

PanelInput::PanelInput(Host &host) : host_(host) {}

PanelInput::Target PanelInput::hit(int x, int y) const {
    Target t;
    const PanelModel *panel = host_.openPanel();
    if (!panel) return t;
    const PanelGeometry g = panelGeometry(*panel);
    if (g.ok.contains(x, y)) return {Target::Ok, nullptr, g.ok, -1};
    if (g.cancel.contains(x, y)) return {Target::Cancel, nullptr, g.cancel, -1};
    // Later controls are drawn over earlier ones: look from the last.
    for (auto it = g.controls.rbegin(); it != g.controls.rend(); ++it) {
        const ControlModel &c = *it->control;
        if (!it->field.contains(x, y)) continue;
        if (ghosted(c)) return t;  // ghosted controls ignore the mouse
        t.control = &c;
        t.rect = it->field;
        const std::optional<Role> role = c.role;
        if (role == Role::List) t.kind = Target::List;
        else if (role == Role::Slider) t.kind = Target::Slider;
        else if (role == Role::Drag) t.kind = Target::Drag;
        else if (role && roleButton(*role)) t.kind = Target::Button;
        else if (role == Role::Prefix || role == Role::Intensity || role == Role::Range)
            t.kind = Target::Field;
        else if (role == Role::LightType || role == Role::Shadow || role == Role::Color) {
            for (size_t i = 0; i < it->items.size(); ++i)
                if (it->items[i].contains(x, y)) {
                    t.kind = role == Role::Color ? Target::Field : Target::Choice;
                    t.rect = it->items[i];
                    t.index = static_cast<int>(i);
                }
        }
        if (t.kind == Target::None) t.control = nullptr;
        return t;
    }
    return t;
}

// Every field the editor can work on, ghosted ones marked unusable, in
// reading order: top to bottom, then left to right.
std::vector<PanelInput::Field> PanelInput::fieldsInOrder() const {
    std::vector<Field> fields;
    const PanelModel *panel = host_.openPanel();
    if (!panel) return fields;
    for (const ControlGeometry &g : panelGeometry(*panel).controls) {
        const ControlModel &c = *g.control;
        if (!isEditable(c)) continue;
        if (c.role == Role::Color) {
            for (size_t i = 0; i < g.items.size() && i < 3; ++i)
                fields.push_back({Role::Color, static_cast<int>(i), g.items[i], !ghosted(c)});
        } else {
            fields.push_back({*c.role, -1, g.field, !ghosted(c)});
        }
    }
    std::stable_sort(fields.begin(), fields.end(), [](const Field &a, const Field &b) {
        return a.rect.y != b.rect.y ? a.rect.y < b.rect.y : a.rect.x < b.rect.x;
    });
    return fields;
}

std::string PanelInput::shownText(const Field &f) const {
    const ControlModel *c = host_.control(f.role);
    if (!c) return "";
    if (f.component >= 0) return std::to_string(c->vec[f.component]);
    if (f.role != Role::Prefix) return fieldNumberText(c->floatValue);
    return c->text;
}

// ---- the field editor -------------------------------------------------------

void PanelInput::startEdit(const Field &f, std::optional<int> pointerX) {
    Edit e;
    e.field = f;
    e.shown = e.text = shownText(f);
    e.caret = e.text.size();
    if (pointerX) e.caret = caretAt(e.text, f.rect, *pointerX);
    edit_ = std::move(e);
    changed_ = true;
}

void PanelInput::commitEdit() {
    if (!edit_) return;
    const Edit e = std::move(*edit_);
    edit_.reset();
    changed_ = true;
    if (e.text == e.shown) return;  // nothing was edited: nothing is sent
    const ControlModel *c = host_.control(e.field.role);
    if (!c) return;
    if (e.field.role == Role::Prefix) {
        const std::string line = "prefix " + scriptQuoted(e.text);
        sent(deliver(host_, Action::prefix(e.text)), line);
    } else if (e.field.component >= 0) {
        long long n = 0;
        const char *name = kColourNames[e.field.component];
        if (!wholeNumber(trimmed(e.text), n)) {
            status_ = std::string(name) + ": \"" + e.text +
                      "\" is not a whole number from 0 to 255; it stays " + e.shown;
            return;
        }
        int v[3] = {c->vec[0], c->vec[1], c->vec[2]};
        v[e.field.component] = static_cast<int>(std::clamp(n, 0LL, 255LL));
        const std::string line =
            "color " + std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]);
        sent(deliver(host_, Action::color(v[0], v[1], v[2])), line);
    } else {
        double v = 0;
        if (!parseFiniteDouble(trimmed(e.text), v)) {
            status_ = std::string(roleRule(e.field.role).key) + ": \"" + e.text +
                      "\" is not a number; it stays " + e.shown;
            return;
        }
        const bool intensity = e.field.role == Role::Intensity;
        const std::string line = std::string(intensity ? "intensity " : "range ") + scriptNumber(v);
        sent(deliver(host_, intensity ? Action::intensity(v) : Action::range(v)), line);
    }
}

void PanelInput::moveToField(int step) {
    const Field from = edit_->field;
    commitEdit();  // may ghost or enable fields
    const std::vector<Field> fields = fieldsInOrder();
    const size_t n = fields.size();
    size_t at = 0;
    for (size_t i = 0; i < n; ++i)
        if (fields[i].role == from.role && fields[i].component == from.component) at = i;
    for (size_t k = 1; k <= n; ++k) {
        const size_t i = (at + (step > 0 ? k : n - k)) % n;
        if (fields[i].usable) return startEdit(fields[i], std::nullopt);
    }
}

void PanelInput::editKey(const KeyPress &k) {
    Edit &e = *edit_;
    std::string &t = e.text;
    auto prev = [&](size_t at) {
        if (at == 0) return at;
        --at;
        while (at > 0 && continuation(t[at])) --at;
        return at;
    };
    auto next = [&](size_t at) {
        if (at >= t.size()) return t.size();
        ++at;
        while (at < t.size() && continuation(t[at])) ++at;
        return at;
    };
    switch (k.key) {
    case Key::Char: {
        if (k.ctrl || k.alt || k.ch < 32 || k.ch == 127 || (k.ch >= 0x80 && k.ch < 0xA0) || k.ch > 0x10FFFF)
            return;
        if (e.field.role != Role::Prefix && k.ch > 126) return;  // numbers are ASCII
        const std::string s = utf8(k.ch);
        t.insert(e.caret, s);
        e.caret += s.size();
        break;
    }
    case Key::Backspace: {
        const size_t p = prev(e.caret);
        t.erase(p, e.caret - p);
        e.caret = p;
        break;
    }
    case Key::Delete: t.erase(e.caret, next(e.caret) - e.caret); break;
    case Key::Left: e.caret = prev(e.caret); break;
    case Key::Right: e.caret = next(e.caret); break;
    case Key::Home: e.caret = 0; break;
    case Key::End: e.caret = t.size(); break;
    case Key::Return: commitEdit(); break;
    case Key::Tab: moveToField(k.shift ? -1 : 1); break;
    case Key::Escape: edit_.reset(); break;  // the field shows its value again
    default: return;                         // other keys do nothing while editing
    }
    changed_ = true;
}

// ---- pointer ------------------------------------------------------------------

void PanelInput::pointerDown(int x, int y) {
    if (finished() || hold_ != Hold::None) return;
    Target t = hit(x, y);
    if (edit_) {
        if (t.kind == Target::Field && t.control->role == edit_->field.role &&
            t.index == edit_->field.component) {
            edit_->caret = caretAt(edit_->text, edit_->field.rect, x);  // keep the text, move the caret
            changed_ = true;
            return;
        }
        commitEdit();
        t = hit(x, y);  // the commit may have ghosted or enabled controls
    }
    switch (t.kind) {
    case Target::List: {
        const int ax = x - t.rect.x, ay = y - t.rect.y;
        const std::string line = listClickLine(*t.control, ax, ay);
        sent(deliver(host_, Action::clickY(ay, ax)), line);
        break;
    }
    case Target::Slider: {
        hold_ = Hold::Slider;
        const int v = sliderValueAt(*t.control, t.rect, y);
        const std::string line = "scroll " + std::to_string(v);
        sent(deliver(host_, Action::scroll(v)), line);
        break;
    }
    case Target::Drag:
        hold_ = Hold::Drag;
        dragPressX_ = x;
        dragLast_ = 0;
        dragCounter_ = Host::freshDragCounter();
        dragDistances_.clear();
        if (!sent(deliver(host_, Action::dragEvent(0, dragCounter_)))) hold_ = Hold::None;
        break;
    case Target::Choice: {
        const bool type = t.control->role == Role::LightType;
        const std::string line = std::string(type ? "lighttype " : "shadow ") + std::to_string(t.index) +
                                 comment(t.control->items[static_cast<size_t>(t.index)]);
        sent(deliver(host_, type ? Action::lightType(t.index) : Action::shadow(t.index)), line);
        break;
    }
    case Target::Button:
    case Target::Ok:
    case Target::Cancel:
        hold_ = Hold::Button;
        heldClose_ = t.kind == Target::Ok       ? std::optional<Close>(Close::Ok)
                     : t.kind == Target::Cancel ? std::optional<Close>(Close::Cancel)
                                                : std::nullopt;
        if (!heldClose_) heldButton_ = *roleButton(*t.control->role);
        heldRect_ = t.rect;
        heldInside_ = true;
        changed_ = true;
        break;
    case Target::Field: startEdit({*t.control->role, t.index, t.rect}, x); break;
    case Target::None: break;
    }
}

void PanelInput::pointerMove(int x, int y) {
    if (finished()) return;
    switch (hold_) {
    case Hold::Slider: {
        const PanelModel *panel = host_.openPanel();
        if (!panel) return;
        for (const ControlGeometry &g : panelGeometry(*panel).controls) {
            if (g.control->role != Role::Slider) continue;
            const int v = sliderValueAt(*g.control, g.field, y);
            if (v == g.control->intValue) return;
            const std::string line = "scroll " + std::to_string(v);
            sent(deliver(host_, Action::scroll(v)), line);
            return;
        }
        return;
    }
    case Hold::Drag: {
        const long long d = std::clamp(static_cast<long long>(dragPressX_) - x, -1000000000LL, 1000000000LL);
        if (d == dragLast_ || dragCounter_ == INT_MAX) return;
        dragLast_ = static_cast<int>(d);
        if (sent(deliver(host_, Action::dragEvent(dragLast_, ++dragCounter_))))
            dragDistances_.push_back(dragLast_);
        return;
    }
    case Hold::Button: {
        const bool inside = heldRect_.contains(x, y);
        if (inside != heldInside_) changed_ = true;
        heldInside_ = inside;
        return;
    }
    case Hold::None: return;
    }
}

void PanelInput::pointerUp(int x, int y) {
    if (finished()) return;
    pointerMove(x, y);
    const Hold h = hold_;
    hold_ = Hold::None;
    if (h == Hold::Drag) return endDrag();
    if (h != Hold::Button) return;
    changed_ = true;
    if (!heldInside_) return;  // released elsewhere: nothing
    if (heldClose_) return finish(*heldClose_);
    sent(deliver(host_, Action::press(heldButton_)), scriptButton(heldButton_));
}

void PanelInput::endDrag() {
    std::string line = "drag";
    for (int d : dragDistances_) line += " " + std::to_string(d);
    record(line);
    dragDistances_.clear();
}

void PanelInput::wheel(int x, int y, int notches) {
    if (finished() || hold_ != Hold::None || notches == 0) return;
    const PanelModel *panel = host_.openPanel();
    if (!panel) return;
    const PanelGeometry g = panelGeometry(*panel);
    const ControlGeometry *list = nullptr, *slider = nullptr;
    for (const ControlGeometry &c : g.controls) {
        if (c.control->role == Role::List) list = &c;
        if (c.control->role == Role::Slider) slider = &c;
    }
    if (!slider || ghosted(*slider->control)) return;
    if (!slider->field.contains(x, y) && !(list && !ghosted(*list->control) && list->field.contains(x, y)))
        return;
    const long long lo = sliderMin(*slider->control), hi = sliderMax(*slider->control);
    if (hi < lo) return;
    const long long now = slider->control->intValue;
    const int v = static_cast<int>(std::clamp(now - static_cast<long long>(kListRow) * notches, lo, hi));
    if (v == now) return;  // at the end already
    const std::string line = "scroll " + std::to_string(v);
    sent(deliver(host_, Action::scroll(v)), line);
}

// ---- keys and closing -----------------------------------------------------------

void PanelInput::keyPress(const KeyPress &k) {
    if (finished()) return;
    if (hold_ == Hold::Drag) {
        if (k.key == Key::Escape) finish(Close::Cancel);
        return;
    }
    if (edit_) return editKey(k);
    if (k.key == Key::Escape) return finish(Close::Cancel);
    const int code = panelKeyCode(k);
    if (code < 0) return;
    if (sent(deliver(host_, Action::key(code)))) recordKey(static_cast<uint16_t>(code));
}

void PanelInput::requestClose() {
    if (!finished()) finish(Close::Cancel);
}

void PanelInput::finish(Close how) {
    edit_.reset();  // an edit still open is dropped; OK commits it on its press
    if (hold_ == Hold::Drag) endDrag();
    hold_ = Hold::None;
    record(how == Close::Ok ? "ok" : "cancel");
    outcome_ = how;
    changed_ = true;
}

// ---- what the window sees ---------------------------------------------------------

bool PanelInput::takeChanged() {
    const bool c = changed_;
    changed_ = false;
    return c;
}

Overlay PanelInput::overlay() const {
    Overlay o;
    if (edit_) {
        o.editField = edit_->field.rect;
        o.editText = edit_->text;
        o.caret = static_cast<int>(edit_->caret);
    }
    if (hold_ == Hold::Button && heldInside_) o.pressed = heldRect_;
    o.status = status_;
    return o;
}

// A click on a light's row is recorded by the light's name and its number
// among the rows of that name, so that a replay on another scene clicks the
// same light wherever its row is; a click on no row keeps its position.
// Taken before the click is delivered: it is what the person pointed at.
std::string PanelInput::listClickLine(const ControlModel &list, int ax, int ay) const {
    const std::optional<ListRow> row = host_.listRowAt(ay);
    if (row && row->name.find_first_of("\r\n") == std::string::npos)
        return "click " + scriptQuoted(row->name) +
               (row->occurrence > 1 ? " " + std::to_string(row->occurrence) : "");
    return "click-y " + std::to_string(ay) + " " + std::to_string(ax) +
           comment(host_.nameReading()(listRowName(list, ay)));
}

bool PanelInput::sent(const Delivery &d, const std::string &line) {
    changed_ = true;
    status_ = d.why;
    // What did not reach the plug-in is not recorded: a replay would fail there.
    if (d && !line.empty()) record(line);
    return d.delivered;
}

void PanelInput::record(std::string line) {
    typing_ = false;
    recorded_.push_back(std::move(line));
}

void PanelInput::recordKey(uint16_t code) {
    if (code < 32 || code > 126) return record("key " + scriptKey(code));
    if (!typing_) typed_.clear();
    typed_ += static_cast<char>(code);
    if (typing_) recorded_.back() = "type " + scriptQuoted(typed_);
    else record("type " + scriptQuoted(typed_));
    typing_ = true;
}

}  // namespace sim
