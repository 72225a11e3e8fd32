// host_driver.cpp - driver events and queries: what a test, a session script
// or a window does to the open panel, and what it can see of it.
#include <algorithm>
#include <climits>

#include "host_glue.h"

namespace sim {

// ---- driver events --------------------------------------------------------

namespace {
const char *kNotOpen = "no panel is open: driver events work only inside open";
}

// The open panel's control for an event, or null with the failure recorded.
ControlModel *Host::eventTarget(std::string_view key, const std::string &missing) {
    if (!open_) {
        eventFail(kNotOpen);
        return nullptr;
    }
    ControlModel *c = findControl(key);
    if (!c) eventFail(missing);
    return c;
}

bool Host::clickY(int y, int x) {
    ControlModel *list = eventTarget("list", "the panel has no list area");
    if (!list) return false;
    list->mouseY = y;
    list->mouseX = x;
    return fireEvent(list);
}

bool Host::click(const std::string &name) {
    ControlModel *list = eventTarget("list", "the panel has no list area");
    if (!list) return false;
    if (!drawing_)
        return eventFail("the host keeps no paints while drawing is off, so no row can be clicked by name");
    if (!list->lastPaint.valid) return eventFail("the list has not been painted, so no row can be clicked");
    for (const PaintedText &t : list->lastPaint.texts) {
        if (t.text != name) continue;
        if (t.y + kRowPitch <= 0 || t.y >= list->bodyHeight) continue;  // scrolled out of view
        return clickY(std::clamp(t.y + kListBarHeight / 2, 0, list->bodyHeight - 1));
    }
    return eventFail("no visible row of the list shows \"" + name + "\"");
}

bool Host::scroll(int y) {
    ControlModel *s = eventTarget("slider", "the panel has no slider");
    if (!s) return false;
    s->intValue = y;
    return fireEvent(s);
}

bool Host::key(uint16_t code) {
    if (!open_) return eventFail(kNotOpen);
    if (!open_->keyHandler) return eventFail("the panel has no key handler");
    if (logging()) log("plugin.key", {num(code)}, true);
    reinterpret_cast<HostPanelKeyFunc>(open_->keyHandler)(reinterpret_cast<HostPanel *>(open_),
                                                          reinterpret_cast<void *>(open_->userData), code);
    return true;
}

bool Host::typeText(const std::string &text) {
    for (char ch : text)
        if (!key(static_cast<uint16_t>(static_cast<unsigned char>(ch)))) return false;
    return true;
}

bool Host::setPrefix(const std::string &text) {
    ControlModel *c = eventTarget("prefix", "the panel has no prefix field");
    if (!c) return false;
    c->text = text;
    return fireEvent(c);
}

bool Host::setIntensity(double percent) {
    ControlModel *c = eventTarget("Intensity", "the panel has no Intensity field");
    if (!c) return false;
    c->floatValue = percent;
    return fireEvent(c);
}

bool Host::setRange(double range) {
    ControlModel *c = eventTarget("Range", "the panel has no Range field");
    if (!c) return false;
    c->floatValue = range;
    return fireEvent(c);
}

bool Host::setColor(int r, int g, int b) {
    ControlModel *c = eventTarget("color", "the panel has no colour control");
    if (!c) return false;
    c->vec[0] = r;
    c->vec[1] = g;
    c->vec[2] = b;
    return fireEvent(c);
}

bool Host::setLightType(int index) {
    ControlModel *c = eventTarget("lighttype", "the panel has no light type choice");
    if (!c) return false;
    c->intValue = index;
    return fireEvent(c);
}

bool Host::setShadow(int index) {
    ControlModel *c = eventTarget("shadow", "the panel has no shadow type choice");
    if (!c) return false;
    c->intValue = index;
    return fireEvent(c);
}

bool Host::dragEvent(int distance, int counter) {
    ControlModel *c = eventTarget("drag", "the panel has no drag button");
    if (!c) return false;
    c->vec[0] = distance;
    c->vec[1] = 0;
    c->vec[2] = counter;
    g_lastDragCounter = counter;
    return fireEvent(c);
}

int Host::freshDragCounter() {
    // Two past the last one sent, so it never continues a drag.
    return g_lastDragCounter > INT_MAX - 1000000 || g_lastDragCounter < 0 ? 2 : g_lastDragCounter + 2;
}

bool Host::drag(const std::vector<int> &distances) {
    int counter = freshDragCounter();
    if (!dragEvent(0, counter)) return false;
    for (int d : distances)
        if (!dragEvent(d, ++counter)) return false;
    return true;
}

bool Host::press(const std::string &controlKey) {
    ControlModel *c = eventTarget(controlKey, "the panel has no control \"" + controlKey + "\"");
    if (!c) return false;
    return fireEvent(c);
}

// ---- queries --------------------------------------------------------------

const ControlModel *Host::control(std::string_view key) const { return findControl(key); }

std::vector<std::string> Host::listedNames() const {
    std::vector<std::string> out;
    const ControlModel *list = findControl("list");
    if (list)
        for (auto &t : list->lastPaint.texts) out.push_back(t.text);
    return out;
}

std::vector<std::string> Host::selectedNames() const {
    std::vector<std::string> out;
    const ControlModel *list = findControl("list");
    if (list)
        for (auto &t : list->lastPaint.texts)
            if (t.onBar) out.push_back(t.text);
    return out;
}

const std::vector<std::string> &Host::propertyControlKeys() {
    static const std::vector<std::string> keys{"color", "Intensity", "drag",  "lighttype",      "shadow",
                                               "Range", "copy",      "paste", "Clear selection"};
    return keys;
}

std::optional<bool> Host::propertyGhosted() const {
    int ghosted = 0, normal = 0;
    for (auto &k : propertyControlKeys()) {
        const ControlModel *c = findControl(k);
        if (!c) return std::nullopt;
        (c->drawState == DR_GHOST ? ghosted : normal)++;
    }
    if (ghosted && normal) return std::nullopt;
    return ghosted > 0;
}

std::string Host::infoText() const {
    const ControlModel *c = findControl("info");
    return c ? c->text : std::string();
}

std::string Host::prefixText() const {
    const ControlModel *c = findControl("prefix");
    return c ? c->text : std::string();
}

Picture Host::listPicture() const {
    const ControlModel *list = findControl("list");
    if (!list || list->paintRaster < 0 || static_cast<size_t>(list->paintRaster) >= rasters_.size())
        return {};
    return rasters_[static_cast<size_t>(list->paintRaster)]->picture;
}

const Picture *Host::panelPicture() const {
    const PanelModel *p = open_ ? open_ : lastPanel();
    return p ? &p->picture : nullptr;
}

}  // namespace sim
