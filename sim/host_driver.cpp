// host_driver.cpp - driver events and queries: what a test, a session script
// or a window does to the open panel, and what it can see of it.
#include <algorithm>
#include <climits>

#include "host_glue.h"
#include "panel_geometry.h"

namespace sim {

// ---- driver events --------------------------------------------------------

namespace {
const char *kNotOpen = "no panel is open: driver events work only inside open";
}

// The open panel's control of a role for an event, or null with the failure
// in why (and recorded).
ControlModel *Host::eventTarget(Role role, Delivery &why) {
    if (!open_) {
        why = eventFail(kNotOpen);
        return nullptr;
    }
    ControlModel *c = findControl(role);
    if (!c) why = eventFail(roleRule(role).missing);
    return c;
}

Delivery Host::setAndFire(Role role, const ControlValue &v) {
    Delivery refused;
    ControlModel *c = eventTarget(role, refused);
    if (!c) return refused;
    switch (v.form) {
    case ControlValue::Form::None: break;
    case ControlValue::Form::Integer: c->intValue = v.integer; break;
    case ControlValue::Form::Number: c->floatValue = v.number; break;
    case ControlValue::Form::Vector: std::copy(v.vec, v.vec + 3, c->vec); break;
    case ControlValue::Form::Text: c->text = v.text; break;
    case ControlValue::Form::Pointer:
        c->mouseX = v.vec[0];
        c->mouseY = v.vec[1];
        break;
    }
    return fireEvent(c);
}

Delivery Host::sendKey(uint16_t code) {
    if (!open_) return eventFail(kNotOpen);
    if (!open_->keyHandler) return eventFail("the panel has no key handler");
    if (logging()) log("plugin.key", {num(code)}, true);
    reinterpret_cast<HostPanelKeyFunc>(open_->keyHandler)(reinterpret_cast<HostPanel *>(open_),
                                                          reinterpret_cast<void *>(open_->userData), code);
    return Delivery::done();
}

Delivery Host::closing(Close how) { return open_ ? Delivery::closing(how) : eventFail(kNotOpen); }

// ---- rows of the list ---------------------------------------------------------
//
// The list shows the scene's lights in the host's enumeration order, row i
// with its top at 16 x i less the scroll offset (the slider's value, held
// inside the slider's range as a slider is). A row is trusted only when the
// last paint drew the light's name exactly at that top, so a plug-in that
// paints something else is caught instead of clicked blindly.

namespace {

constexpr size_t kLongestShownName = 255;  // the plug-in keeps this much of a longer name

// Whether a painted text shows this name (a long name may be shown cut).
bool showsName(const std::string &painted, const std::string &name) {
    if (painted == name) return true;
    return painted.size() >= kLongestShownName && name.size() > painted.size() &&
           name.compare(0, painted.size(), painted) == 0;
}

std::string quotedName(const std::string &utf8) { return "\"" + utf8 + "\""; }

}  // namespace

scene::NameReading Host::nameReading() const { return scene::NameReading(scene_.lights); }

long long Host::listOffset() const {
    const ControlModel *s = findControl(Role::Slider);
    if (!s) return 0;
    const long long lo = sliderMin(*s), hi = sliderMax(*s);
    return hi < lo ? lo : std::clamp<long long>(s->intValue, lo, hi);
}

const PaintedText *Host::paintedRow(const ControlModel &list, size_t light) const {
    const long long top = static_cast<long long>(light) * kRowPitch - listOffset();
    const PaintedText *found = nullptr;
    for (const PaintedText &t : list.lastPaint.texts)
        if (t.y == top) found = &t;  // the last one drawn there is the one seen
    return found;
}

std::optional<ListRow> Host::listRowAt(int y) const {
    const ControlModel *list = findControl(Role::List);
    if (!list || !list->lastPaint.valid || y < 0 || y >= list->bodyHeight) return std::nullopt;
    const long long row = (static_cast<long long>(y) + listOffset()) / kRowPitch;
    if (row < 0 || static_cast<size_t>(row) >= scene_.lights.size()) return std::nullopt;
    const size_t at = static_cast<size_t>(row);
    const std::string &name = scene_.lights[at].name;
    const PaintedText *t = paintedRow(*list, at);
    if (!t || !showsName(t->text, name)) return std::nullopt;
    ListRow r;
    r.light = at;
    r.name = nameReading()(name);
    for (size_t i = 0; i < at; ++i) r.occurrence += scene_.lights[i].name == name;
    return r;
}

Delivery Host::clickName(const std::string &name, int occurrence) {
    Delivery refused;
    ControlModel *list = eventTarget(Role::List, refused);
    if (!list) return refused;
    if (!drawing_)
        return eventFail("the host keeps no paints while drawing is off, so no row can be clicked by name");
    if (!list->lastPaint.valid) return eventFail("the list has not been painted, so no row can be clicked");
    const std::string wanted = scene::textAsUtf8(name);
    const std::string which = quotedName(wanted) + (occurrence > 1 ? " " + std::to_string(occurrence) : "");
    if (occurrence < 1) return eventFail("row numbers of a name count from 1; " + which + " names no row");

    // The light: the occurrence-th of that name, in the host's order.
    const scene::NameReading read = nameReading();
    int seen = 0;
    size_t at = 0;
    for (; at < scene_.lights.size(); ++at) {
        const std::string &n = scene_.lights[at].name;
        if ((read.utf8 ? n == wanted : read(n) == wanted) && ++seen == occurrence) break;
    }
    if (seen == 0)
        return eventFail("the scene has no light named " + quotedName(wanted) +
                         " (names match exactly, case and blanks included" +
                         (namesShownBy.empty() ? "" : "; " + namesShownBy) + ")");
    if (seen < occurrence)
        return eventFail("the scene has " + std::to_string(seen) + " light" + (seen == 1 ? "" : "s") +
                         " named " + quotedName(wanted) + ", so there is no row " + which);
    const std::string &bytes = scene_.lights[at].name;
    const std::string row = "row " + std::to_string(at + 1);

    // The row as the list shows it: the plug-in paints every row, in view or
    // not, so a row it did not paint is one the list does not have.
    auto inView = [&]() {
        const long long top = static_cast<long long>(at) * kRowPitch - listOffset();
        return top + kRowPitch > 0 && top < list->bodyHeight;
    };
    auto check = [&]() -> Delivery {
        const PaintedText *t = paintedRow(*list, at);
        if (!t)
            return eventFail(which + " is light " + std::to_string(at + 1) +
                             " of the scene, but the list shows only " +
                             std::to_string(list->lastPaint.texts.size()) + " rows; it cannot be clicked");
        if (!showsName(t->text, bytes))
            return eventFail(row + " of the list shows " + quotedName(read(t->text)) +
                             " where the scene's light " + std::to_string(at + 1) + " is " +
                             quotedName(wanted) +
                             ": the list does not show the scene's lights in order, so no row is clicked");
        return Delivery::done();
    };
    if (Delivery d = check(); !d) return d;
    if (!inView()) {
        // Scroll as the window's slider would: the least that brings the
        // whole row into view.
        const ControlModel *slider = findControl(Role::Slider);
        if (!slider)
            return eventFail(which + " (" + row +
                             ") is out of view and the panel has no slider to scroll it in");
        const long long want = static_cast<long long>(at) * kRowPitch < listOffset()
                                   ? static_cast<long long>(at) * kRowPitch
                                   : static_cast<long long>(at + 1) * kRowPitch - list->bodyHeight;
        const long long lo = sliderMin(*slider), hi = sliderMax(*slider);
        const int32_t to = static_cast<int32_t>(hi < lo ? lo : std::clamp(want, lo, hi));
        if (Delivery d = setAndFire(Role::Slider, ControlValue::ofInteger(to)); !d) return d;
        if (Delivery d = check(); !d) return d;
        if (!inView())
            return eventFail(which + " (" + row + ") is still out of view with the slider at " +
                             std::to_string(listOffset()));
    }
    const long long y = static_cast<long long>(at) * kRowPitch - listOffset();
    const long long middle = std::clamp<long long>(y + kListBarHeight / 2, 0, list->bodyHeight - 1);
    return setAndFire(Role::List, ControlValue::ofPointer(0, static_cast<int32_t>(middle)));
}

int Host::freshDragCounter() {
    // Two past the last one sent, so it never continues a drag.
    return g_lastDragCounter > INT_MAX - 1000000 || g_lastDragCounter < 0 ? 2 : g_lastDragCounter + 2;
}

// ---- queries --------------------------------------------------------------

const ControlModel *Host::control(Role role) const { return findControl(role); }
const ControlModel *Host::control(std::string_view key) const { return findControl(key); }

std::vector<std::string> Host::listedNames() const {
    std::vector<std::string> out;
    const ControlModel *list = findControl(Role::List);
    if (list)
        for (auto &t : list->lastPaint.texts) out.push_back(t.text);
    return out;
}

std::vector<std::string> Host::selectedNames() const {
    std::vector<std::string> out;
    const ControlModel *list = findControl(Role::List);
    if (list)
        for (auto &t : list->lastPaint.texts)
            if (t.onBar) out.push_back(t.text);
    return out;
}

std::optional<bool> Host::propertyGhosted() const {
    int ghosted = 0, normal = 0;
    for (Role r : propertyRoles()) {
        const ControlModel *c = findControl(r);
        if (!c) return std::nullopt;
        (c->drawState == DR_GHOST ? ghosted : normal)++;
    }
    if (ghosted && normal) return std::nullopt;
    return ghosted > 0;
}

std::string Host::infoText() const {
    const ControlModel *c = findControl(Role::Info);
    return c ? c->text : std::string();
}

std::string Host::prefixText() const {
    const ControlModel *c = findControl(Role::Prefix);
    return c ? c->text : std::string();
}

Picture Host::listPicture() const {
    const ControlModel *list = findControl(Role::List);
    if (!list || list->paintRaster < 0 || static_cast<size_t>(list->paintRaster) >= rasters_.size())
        return {};
    return rasters_[static_cast<size_t>(list->paintRaster)]->picture;
}

const Picture *Host::panelPicture() const {
    const PanelModel *p = open_ ? open_ : lastPanel();
    return p ? &p->picture : nullptr;
}

}  // namespace sim
