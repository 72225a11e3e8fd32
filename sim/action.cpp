// action.cpp - playing an action on the open panel through the host's
// driver events.
#include "action.h"

#include "host.h"

namespace sim {

namespace {

bool play(Host &h, const Action &a) {
    switch (a.kind) {
    case ActionKind::ClickY: return h.clickY(a.y, a.x);
    case ActionKind::ClickName: return h.click(a.text, a.occurrence);
    case ActionKind::Scroll: return h.scroll(a.value);
    case ActionKind::Key: return h.key(static_cast<uint16_t>(a.value));
    case ActionKind::Type: return h.typeText(a.text);
    case ActionKind::Prefix: return h.setPrefix(a.text);
    case ActionKind::Intensity: return h.setIntensity(a.number);
    case ActionKind::Range: return h.setRange(a.number);
    case ActionKind::Color: return h.setColor(a.rgb[0], a.rgb[1], a.rgb[2]);
    case ActionKind::LightType: return h.setLightType(a.value);
    case ActionKind::Shadow: return h.setShadow(a.value);
    case ActionKind::Drag: return h.drag(a.distances);
    case ActionKind::DragEvent: return h.dragEvent(a.distance, a.counter);
    case ActionKind::Press:
        return a.button == Button::Copy ? h.copy() : a.button == Button::Paste ? h.paste() : h.clear();
    case ActionKind::Ok:
    case ActionKind::Cancel: break;
    }
    return false;
}

}  // namespace

Delivery deliver(Host &h, const Action &a) {
    if (a.kind == ActionKind::Ok || a.kind == ActionKind::Cancel) {
        if (!h.openPanel()) return Delivery::refused("no panel is open: driver events work only inside open");
        return Delivery::closing(a.kind == ActionKind::Ok ? Close::Ok : Close::Cancel);
    }
    if (play(h, a)) return Delivery::done();
    return Delivery::refused(h.lastEventError());
}

}  // namespace sim
