// session_decoder.cpp - bytes to a session of panel actions.
#include "session_decoder.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

namespace fuzz {

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t *d, std::size_t n) : d_(d), n_(n) {}
    bool empty() const { return at_ >= n_; }
    std::uint8_t u8() { return at_ < n_ ? d_[at_++] : 0; }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | u8();
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    // Small codes pick the values that break things; others are raw doubles.
    double f64() {
        switch (u8() % 12) {
        case 0: return std::numeric_limits<double>::quiet_NaN();
        case 1: return HUGE_VAL;
        case 2: return -HUGE_VAL;
        case 3: return 1e308;
        case 4: return -1e308;
        case 5: return 0.0;
        case 6: return -0.0;
        case 7: return s8() / 16.0;
        default: {
            std::uint64_t bits = std::uint64_t{u32()} << 32 | u32();
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        }
    }
    std::string text(std::size_t max) {
        std::size_t n = u8();
        if (n == 255) n = 255 + std::size_t{u8()} * 40;  // long texts now and then
        if (n > max) n = max;
        std::string s;
        for (std::size_t i = 0; i < n && !empty(); ++i) {
            std::uint8_t c = u8();
            s += static_cast<char>(c ? c : 'S');
        }
        return s;
    }
    // A byte as a signed number, -128 to 127.
    std::int32_t s8() {
        const std::int32_t v = u8();
        return v < 128 ? v : v - 256;
    }
    // A position: a raw one now and then, else a small one.
    std::int32_t position() { return (u8() & 1) ? i32() : s8() * 4; }

private:
    const std::uint8_t *d_;
    std::size_t n_;
    std::size_t at_ = 0;
};

scene::Scene decodeScene(Bytes &in) {
    scene::Scene scene;
    std::size_t lights = in.u8();
    lights = lights > 250 ? 500 + (lights - 250) * 20 : lights % 40;  // now and then 500 to 600
    for (std::size_t i = 0; i < lights; ++i) {
        scene::Light l;
        l.id = scene::kLightIdBase + static_cast<std::uint32_t>(i);
        if (i < 24 && !in.empty()) {  // the first lights from the input, the rest plain
            l.name = in.text(1000);
            for (double &c : l.color) c = in.f64();
            l.intensity = in.f64();
            l.lightType = in.s8();
            l.shadowType = in.s8();
            l.range = in.f64();
            l.flags = in.u8();
        } else {
            l.name = "L" + std::to_string(i);
        }
        scene.lights.push_back(std::move(l));
    }
    return scene;
}

// Keys typed as a text: ASCII, which every scene can take.
std::string typed(Bytes &in) {
    std::string s = in.text(40);
    for (char &c : s) c = static_cast<char>(c & 0x7F ? c & 0x7F : 'S');
    return s;
}

sim::Action decodeAction(sim::ActionKind kind, Bytes &in, const scene::NameReading &reading) {
    using sim::Action;
    switch (kind) {
    case sim::ActionKind::ClickY: return Action::clickY(in.position());
    case sim::ActionKind::ClickName: return Action::clickY(static_cast<std::int32_t>(in.u8() % 40) * 16 + 8);
    case sim::ActionKind::Scroll: return Action::scroll(in.position());
    case sim::ActionKind::Key:
        return Action::key(static_cast<std::int32_t>(in.u8() & 1 ? in.u32() & 0xffff : in.u8()));
    case sim::ActionKind::Type: return Action::type(typed(in));
    case sim::ActionKind::Prefix: return Action::prefix(reading(in.text(10000)));
    case sim::ActionKind::Intensity: return Action::intensity(in.f64());
    case sim::ActionKind::Range: return Action::range(in.f64());
    case sim::ActionKind::Color: {
        const std::int32_t r = in.i32(), g = in.i32(), b = in.i32();
        return Action::color(r, g, b);
    }
    case sim::ActionKind::LightType: return Action::lightType(in.s8());
    case sim::ActionKind::Shadow: return Action::shadow(in.s8());
    case sim::ActionKind::Drag: {
        std::vector<std::int32_t> distances(in.u8() % 8);
        for (std::int32_t &d : distances) d = static_cast<std::int16_t>(in.u32());
        return Action::drag(std::move(distances));
    }
    case sim::ActionKind::DragEvent: {
        const std::int32_t distance = static_cast<std::int16_t>(in.u32());
        return Action::dragEvent(distance, in.i32());
    }
    case sim::ActionKind::Press: return Action::press(static_cast<sim::Button>(in.u8() % sim::kButtonCount));
    case sim::ActionKind::Ok: return Action::ok();
    case sim::ActionKind::Cancel: return Action::cancel();
    }
    return Action::cancel();
}

validate::Activation decodeActivation(Bytes &in) {
    validate::Activation a;
    a.scene = decodeScene(in);
    const scene::NameReading reading(a.scene.lights);
    while (!in.empty()) {
        const std::uint8_t k = in.u8();
        if (k == 0xff) break;  // ends this activation
        a.events.push_back(
            decodeAction(static_cast<sim::ActionKind>(k % sim::kActionKindCount), in, reading));
        const sim::ActionKind kind = a.events.back().kind;
        if (kind == sim::ActionKind::Ok || kind == sim::ActionKind::Cancel) {
            a.ok = kind == sim::ActionKind::Ok;
            return a;
        }
    }
    a.ok = true;
    return a;
}

}  // namespace

validate::Session decodeSession(const std::uint8_t *data, std::size_t size) {
    Bytes in(data, size);
    validate::Session s;
    while (!in.empty() && s.size() < 3) s.push_back(decodeActivation(in));
    return s;
}

}  // namespace fuzz
