// panel_input.cpp - pointer gestures and keys on the open panel, dispatched
// to the field editor, the plug-in and the recorder.
#include "panel_input.h"

#include <algorithm>
#include <array>
#include <climits>

#include "layout_keys.h"
#include "utf8.h"

namespace sim {

namespace {

// What a control of the panel is to the input.
enum class Part {
    None,
    List,
    Slider,
    Drag,
    LightType,
    Shadow,
    Prefix,
    Intensity,
    Range,
    Colour,
    Copy,
    Paste,
    Clear
};

// The part a control plays for the input, from the role the host recognised
// it by (roles.h).
Part partOf(const ControlModel &c) {
    if (!c.role) return Part::None;
    switch (*c.role) {
    case Role::List: return Part::List;
    case Role::Slider: return Part::Slider;
    case Role::Drag: return Part::Drag;
    case Role::LightType: return Part::LightType;
    case Role::Shadow: return Part::Shadow;
    case Role::Prefix: return Part::Prefix;
    case Role::Intensity: return Part::Intensity;
    case Role::Range: return Part::Range;
    case Role::Color: return Part::Colour;
    case Role::Copy: return Part::Copy;
    case Role::Paste: return Part::Paste;
    case Role::Clear: return Part::Clear;
    case Role::Info: return Part::None;
    }
    return Part::None;
}

std::optional<FieldKind> fieldKindOf(Part p) {
    switch (p) {
    case Part::Prefix: return FieldKind::Prefix;
    case Part::Intensity: return FieldKind::Intensity;
    case Part::Range: return FieldKind::Range;
    case Part::Colour: return FieldKind::Colour;
    default: return std::nullopt;
    }
}

Part partOfField(FieldKind k) {
    switch (k) {
    case FieldKind::Prefix: return Part::Prefix;
    case FieldKind::Intensity: return Part::Intensity;
    case FieldKind::Range: return Part::Range;
    case FieldKind::Colour: return Part::Colour;
    }
    return Part::None;
}

bool ghosted(const ControlModel &c) { return c.drawState == DR_GHOST; }

const ControlGeometry *geometryOf(const PanelGeometry &g, Part p) {
    for (const ControlGeometry &c : g.controls)
        if (partOf(*c.control) == p) return &c;
    return nullptr;
}

// The name painted on the list row at area y, as the last paint drew it.
std::string listRowName(const ControlModel &list, int y) {
    std::string name;
    for (const PaintedText &t : list.lastPaint.texts)
        if (y >= t.y && y < t.y + kListRow) name = t.text;
    return name;
}

// A text typed (UTF-8) in the panel font's characters, one byte each: the
// font draws cp1252, and a character it lacks is the undefined byte 0x81,
// which it draws as a hollow box.
std::string fontText(const std::string &typed) {
    std::string out;
    for (const uint32_t cp : utf8::codePoints(typed)) {
        std::string byte;
        char32_t unmapped = 0;
        out += scene::utf8ToCp1252(utf8::encode(cp), byte, unmapped) ? byte : std::string("\x81");
    }
    return out;
}

}  // namespace

// What is under a point of the picture.
struct PanelInput::Target {
    enum Kind { None, List, Slider, Drag, Choice, Button, Ok, Cancel, Field } kind = None;
    const ControlModel *control = nullptr;
    Rect rect;       // the control's field, the item, or the button
    int index = -1;  // choice item, colour component
    Part part = Part::None;

    static Kind kindOf(Part p);
    static Target inside(const ControlGeometry &g, int x, int y);
};

PanelInput::Target::Kind PanelInput::Target::kindOf(Part p) {
    switch (p) {
    case Part::None: return None;
    case Part::List: return List;
    case Part::Slider: return Slider;
    case Part::Drag: return Drag;
    case Part::LightType:
    case Part::Shadow: return Choice;
    case Part::Copy:
    case Part::Paste:
    case Part::Clear: return Button;
    case Part::Prefix:
    case Part::Intensity:
    case Part::Range:
    case Part::Colour: return Field;
    }
    return None;
}

// The target inside one control that contains (x, y): choices and the
// colour's numbers by item, nothing between their items.
PanelInput::Target PanelInput::Target::inside(const ControlGeometry &g, int x, int y) {
    const Part part = partOf(*g.control);
    Target t{kindOf(part), g.control, g.field, -1, part};
    if (t.kind == None) return {};
    if (t.kind != Choice && part != Part::Colour) return t;
    for (size_t i = 0; i < g.items.size(); ++i) {
        if (!g.items[i].contains(x, y)) continue;
        t.rect = g.items[i];
        t.index = static_cast<int>(i);
    }
    return t.index >= 0 ? t : Target{};
}

PanelInput::PanelInput(Host &host) : host_(host) {}

PanelInput::Target PanelInput::hit(int x, int y) const {
    const PanelModel *panel = host_.openPanel();
    if (!panel) return {};
    const PanelGeometry g = panelGeometry(*panel);
    if (g.ok.contains(x, y)) return {Target::Ok, nullptr, g.ok, -1, Part::None};
    if (g.cancel.contains(x, y)) return {Target::Cancel, nullptr, g.cancel, -1, Part::None};
    // Later controls are drawn over earlier ones: look from the last.
    for (auto it = g.controls.rbegin(); it != g.controls.rend(); ++it) {
        if (!it->field.contains(x, y)) continue;
        if (ghosted(*it->control)) return {};  // ghosted controls ignore the mouse
        return Target::inside(*it, x, y);
    }
    return {};
}

// Every field the editor can work on, ghosted ones marked unusable, in
// reading order: top to bottom, then left to right.
std::vector<Field> PanelInput::fieldsInOrder() const {
    std::vector<Field> fields;
    const PanelModel *panel = host_.openPanel();
    if (!panel) return fields;
    for (const ControlGeometry &g : panelGeometry(*panel).controls) {
        const ControlModel &c = *g.control;
        const std::optional<FieldKind> kind = fieldKindOf(partOf(c));
        if (!kind) continue;
        if (*kind == FieldKind::Colour) {
            for (size_t i = 0; i < g.items.size() && i < 3; ++i)
                fields.push_back({*kind, static_cast<int>(i), g.items[i], c.label, !ghosted(c)});
        } else {
            fields.push_back({*kind, -1, g.field, c.label, !ghosted(c)});
        }
    }
    std::stable_sort(fields.begin(), fields.end(), [](const Field &a, const Field &b) {
        return a.rect.y != b.rect.y ? a.rect.y < b.rect.y : a.rect.x < b.rect.x;
    });
    return fields;
}

const ControlModel *PanelInput::controlOf(const Field &f) const {
    const PanelModel *panel = host_.openPanel();
    if (!panel) return nullptr;
    const Part part = partOfField(f.kind);
    for (const auto &c : panel->controls)
        if (partOf(*c) == part) return c.get();
    return nullptr;
}

std::string PanelInput::shownText(const Field &f) const {
    const ControlModel *c = controlOf(f);
    if (!c) return "";
    switch (f.kind) {
    case FieldKind::Colour: return std::to_string(c->vec[std::clamp(f.component, 0, 2)]);
    case FieldKind::Intensity:
    case FieldKind::Range: return fieldNumberText(c->floatValue);
    case FieldKind::Prefix: return host_.nameReading()(c->text);  // edited as the user reads it
    }
    return "";
}

// ---- the field being edited ----------------------------------------------------

void PanelInput::startEdit(const Field &f, std::optional<int> pointerX) {
    edit_.emplace(f, shownText(f), pointerX);
    changed_ = true;
}

void PanelInput::commitEdit() {
    if (!edit_) return;
    const FieldEditor e = std::move(*edit_);
    edit_.reset();
    changed_ = true;
    const ControlModel *c = controlOf(e.field());
    if (!c) return;
    const FieldEditor::Committed done = e.commit({c->vec[0], c->vec[1], c->vec[2]});
    if (!done.refused.empty()) status_ = done.refused;
    else if (done.send) send(*done.send);
}

void PanelInput::moveToField(int step) {
    const Field from = edit_->field();
    commitEdit();  // may ghost or enable fields
    const std::vector<Field> fields = fieldsInOrder();
    const size_t n = fields.size();
    size_t at = 0;
    for (size_t i = 0; i < n; ++i)
        if (fields[i].same(from)) at = i;
    for (size_t k = 1; k <= n; ++k) {
        const size_t i = (at + (step > 0 ? k : n - k)) % n;
        if (fields[i].usable) return startEdit(fields[i], std::nullopt);
    }
}

void PanelInput::editKey(const KeyPress &k) {
    switch (edit_->key(k)) {
    case FieldEditor::Step::Ignored: return;
    case FieldEditor::Step::Edited: break;
    case FieldEditor::Step::Commit: commitEdit(); break;
    case FieldEditor::Step::Drop: edit_.reset(); break;  // the field shows its value again
    case FieldEditor::Step::Next: moveToField(1); break;
    case FieldEditor::Step::Previous: moveToField(-1); break;
    }
    changed_ = true;
}

// ---- pointer ------------------------------------------------------------------

void PanelInput::pointerDown(int x, int y) {
    if (finished() || hold_ != Hold::None) return;
    Target t = hit(x, y);
    if (edit_) {
        const std::optional<FieldKind> kind = fieldKindOf(t.part);
        if (t.kind == Target::Field && kind == edit_->field().kind && t.index == edit_->field().component) {
            edit_->pointAt(x);  // keep the text, move the caret
            changed_ = true;
            return;
        }
        commitEdit();
        t = hit(x, y);  // the commit may have ghosted or enabled controls
    }
    press(t, x, y);
}

void PanelInput::press(const Target &t, int x, int y) {
    switch (t.kind) {
    case Target::List: {
        const int ax = x - t.rect.x, ay = y - t.rect.y;
        std::string note;
        const Action recordAs = listClick(*t.control, ax, ay, note);
        if (deliverNow(Action::clickY(ay, ax))) recorder_.record(recordAs, note);
        break;
    }
    case Target::Slider:
        hold_ = Hold::Slider;
        send(Action::scroll(sliderValueAt(*t.control, t.rect, y)));
        break;
    case Target::Drag:
        hold_ = Hold::Drag;
        dragPressX_ = x;
        dragLast_ = 0;
        dragCounter_ = Host::freshDragCounter();
        dragDistances_.clear();
        if (!deliverNow(Action::dragEvent(0, dragCounter_))) hold_ = Hold::None;
        break;
    case Target::Choice: {
        const auto item = static_cast<size_t>(t.index);
        send(t.part == Part::LightType ? Action::lightType(t.index) : Action::shadow(t.index),
             t.control->items[item]);
        break;
    }
    case Target::Button:
    case Target::Ok:
    case Target::Cancel:
        hold_ = Hold::Button;
        heldAction_ = t.kind == Target::Ok       ? Action::ok()
                      : t.kind == Target::Cancel ? Action::cancel()
                                                 : Action::press(t.part == Part::Copy    ? Button::Copy
                                                                 : t.part == Part::Paste ? Button::Paste
                                                                                         : Button::Clear);
        heldRect_ = t.rect;
        heldInside_ = true;
        changed_ = true;
        break;
    case Target::Field: startEdit({*fieldKindOf(t.part), t.index, t.rect, t.control->label, true}, x); break;
    case Target::None: break;
    }
}

void PanelInput::pointerMove(int x, int y) {
    if (finished()) return;
    switch (hold_) {
    case Hold::Slider: {
        const PanelModel *panel = host_.openPanel();
        if (!panel) return;
        const PanelGeometry g = panelGeometry(*panel);
        const ControlGeometry *slider = geometryOf(g, Part::Slider);
        if (!slider) return;
        const int v = sliderValueAt(*slider->control, slider->field, y);
        if (v != slider->control->intValue) send(Action::scroll(v));
        return;
    }
    case Hold::Drag: {
        const long long d = std::clamp(static_cast<long long>(dragPressX_) - x, -1000000000LL, 1000000000LL);
        if (d == dragLast_ || dragCounter_ == INT_MAX) return;
        dragLast_ = static_cast<int>(d);
        if (deliverNow(Action::dragEvent(dragLast_, ++dragCounter_))) dragDistances_.push_back(dragLast_);
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
    if (heldAction_.kind == ActionKind::Ok) return finish(Close::Ok);
    if (heldAction_.kind == ActionKind::Cancel) return finish(Close::Cancel);
    send(heldAction_);
}

void PanelInput::endDrag() {
    std::vector<std::int32_t> distances(dragDistances_.begin(), dragDistances_.end());
    recorder_.record(Action::drag(std::move(distances)));
    dragDistances_.clear();
}

void PanelInput::wheel(int x, int y, int notches) {
    if (finished() || hold_ != Hold::None || notches == 0) return;
    const PanelModel *panel = host_.openPanel();
    if (!panel) return;
    const PanelGeometry g = panelGeometry(*panel);
    const ControlGeometry *list = geometryOf(g, Part::List), *slider = geometryOf(g, Part::Slider);
    if (!slider || ghosted(*slider->control)) return;
    const bool overList = list && !ghosted(*list->control) && list->field.contains(x, y);
    if (!slider->field.contains(x, y) && !overList) return;
    const long long lo = sliderMin(*slider->control), hi = sliderMax(*slider->control);
    if (hi < lo) return;
    const long long now = slider->control->intValue;
    const int v = static_cast<int>(std::clamp(now - static_cast<long long>(kListRow) * notches, lo, hi));
    if (v != now) send(Action::scroll(v));  // nothing at the end already
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
    if (code >= 0) send(Action::key(code));
}

void PanelInput::keyDown(const KeyPress &k) {
    if (const std::optional<KeyPress> press = sim::keyDown(k)) keyPress(*press);
}

void PanelInput::typed(std::string_view utf8) {
    for (const KeyPress &k : typedKeys(utf8)) keyPress(k);
}

void PanelInput::requestClose() {
    if (!finished()) finish(Close::Cancel);
}

void PanelInput::finish(Close how) {
    edit_.reset();  // an edit still open is dropped; OK commits it on its press
    if (hold_ == Hold::Drag) endDrag();
    hold_ = Hold::None;
    recorder_.record(how == Close::Ok ? Action::ok() : Action::cancel());
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
        o.editField = edit_->field().rect;
        o.editText = fontText(edit_->text().substr(0, edit_->caret()));
        o.caret = static_cast<int>(o.editText.size());
        o.editText += fontText(edit_->text().substr(edit_->caret()));
    }
    if (hold_ == Hold::Button && heldInside_) o.pressed = heldRect_;
    o.status = status_;
    return o;
}

// ---- to the plug-in and the recording ---------------------------------------------

// A click on a light's row is recorded by the light's name and its number
// among the rows of that name, so that a replay on another scene clicks the
// same light wherever its row is; a click on no row keeps its position, with
// what the row shows as a note. Taken before the click is delivered: it is
// what the person pointed at.
Action PanelInput::listClick(const ControlModel &list, int ax, int ay, std::string &note) const {
    const std::optional<ListRow> row = host_.listRowAt(ay);
    if (row && row->name.find_first_of("\r\n") == std::string::npos)
        return Action::clickName(row->name, row->occurrence);
    note = host_.nameReading()(listRowName(list, ay));
    return Action::clickY(ay, ax);
}

bool PanelInput::deliverNow(const Action &a) {
    const Delivery d = deliver(host_, a);
    changed_ = true;
    status_ = d.delivered ? std::string() : d.why;
    return d.delivered;
}

void PanelInput::send(const Action &a, const std::string &note) {
    if (deliverNow(a)) recorder_.record(a, note);
}

}  // namespace sim
