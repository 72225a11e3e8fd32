// deliver.cpp - playing one Action on the simulated Layout's open panel, and
// comparing Actions.
#include <algorithm>
#include <cmath>

#include "action.h"
#include "host_glue.h"

namespace sim {

namespace {

Delivery dragEvent(Host &h, std::int32_t distance, std::int32_t counter) {
    Delivery d = h.setAndFire(Role::Drag, ControlValue::ofVector(distance, 0, counter));
    if (d) g_lastDragCounter = counter;
    return d;
}

// A gesture: a starting event with a fresh counter, then one per distance.
Delivery dragGesture(Host &h, const std::vector<std::int32_t> &distances) {
    int counter = Host::freshDragCounter();
    if (Delivery d = dragEvent(h, 0, counter); !d) return d;
    for (std::int32_t distance : distances)
        if (Delivery d = dragEvent(h, distance, ++counter); !d) return d;
    return Delivery::done();
}

// The Layout key code of each character typed: ASCII and Latin-1 as
// themselves, as the window passes them on. A text that is not UTF-8 is
// taken byte by byte, as before texts were UTF-8.
Delivery typedKeys(Host &h, const std::string &text, std::vector<std::uint16_t> &keys) {
    if (!scene::isUtf8(text)) {
        for (char ch : text) keys.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(ch)));
        return Delivery::done();
    }
    for (const char32_t cp : scene::utf8CodePoints(text)) {
        if (cp > 0xFF || (cp >= 0x80 && cp < 0xA0))
            return h.refuse(scene::characterName(cp) +
                            " has no key of the panel (a key carries an ASCII character, or a Latin-1 one "
                            "from U+00A0 to U+00FF); enter such a text in the prefix field instead");
        keys.push_back(static_cast<std::uint16_t>(cp));
    }
    return Delivery::done();
}

// One key per character, stopping at the first that cannot be sent.
Delivery typeText(Host &h, const std::string &text) {
    std::vector<std::uint16_t> keys;
    if (Delivery d = typedKeys(h, text, keys); !d) return d;
    for (std::uint16_t k : keys)
        if (Delivery d = h.sendKey(k); !d) return d;
    return Delivery::done();
}

// The prefix field's text in the bytes of the scene's names.
Delivery prefixText(Host &h, const std::string &text) {
    std::string bytes, why;
    if (!h.nameReading().bytesOf(text, bytes, why)) return h.refuse(why);
    return h.setAndFire(Role::Prefix, ControlValue::ofText(bytes));
}

// The same number as a script or the plug-in sees it: any NaN is every other
// NaN, and 0 is not -0 (they are written differently).
bool sameNumber(double x, double y) {
    if (std::isnan(x) || std::isnan(y)) return std::isnan(x) && std::isnan(y);
    return x == y && std::signbit(x) == std::signbit(y);
}

}  // namespace

Delivery deliver(Host &h, const Action &a) {
    using V = ControlValue;
    switch (a.kind) {
    case ActionKind::ClickY: return h.setAndFire(Role::List, V::ofPointer(a.x, a.y));
    case ActionKind::ClickName: return h.clickName(a.text, a.occurrence);
    case ActionKind::Scroll: return h.setAndFire(Role::Slider, V::ofInteger(a.value));
    case ActionKind::Key: return h.sendKey(static_cast<std::uint16_t>(a.value));
    case ActionKind::Type: return typeText(h, a.text);
    case ActionKind::Prefix: return prefixText(h, a.text);
    case ActionKind::Intensity: return h.setAndFire(Role::Intensity, V::ofNumber(a.number));
    case ActionKind::Range: return h.setAndFire(Role::Range, V::ofNumber(a.number));
    case ActionKind::Color: return h.setAndFire(Role::Color, V::ofVector(a.rgb[0], a.rgb[1], a.rgb[2]));
    case ActionKind::LightType: return h.setAndFire(Role::LightType, V::ofInteger(a.value));
    case ActionKind::Shadow: return h.setAndFire(Role::Shadow, V::ofInteger(a.value));
    case ActionKind::Drag: return dragGesture(h, a.distances);
    case ActionKind::DragEvent: return dragEvent(h, a.distance, a.counter);
    case ActionKind::Press: return h.setAndFire(buttonRole(a.button), V::none());
    case ActionKind::Ok: return h.closing(Close::Ok);
    case ActionKind::Cancel: return h.closing(Close::Cancel);
    }
    return Delivery::refused("an action of an unknown kind");
}

bool operator==(const Action &a, const Action &b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case ActionKind::ClickY: return a.x == b.x && a.y == b.y;
    case ActionKind::ClickName: return a.text == b.text && a.occurrence == b.occurrence;
    case ActionKind::Scroll:
    case ActionKind::Key:
    case ActionKind::LightType:
    case ActionKind::Shadow: return a.value == b.value;
    case ActionKind::Type:
    case ActionKind::Prefix: return a.text == b.text;
    case ActionKind::Intensity:
    case ActionKind::Range: return sameNumber(a.number, b.number);
    case ActionKind::Color: return std::equal(a.rgb, a.rgb + 3, b.rgb);
    case ActionKind::Drag: return a.distances == b.distances;
    case ActionKind::DragEvent: return a.distance == b.distance && a.counter == b.counter;
    case ActionKind::Press: return a.button == b.button;
    case ActionKind::Ok:
    case ActionKind::Cancel: return true;
    }
    return false;
}

}  // namespace sim
