// session_fuzz.cpp - libFuzzer target: bytes become a scene and a session of
// panel events; the plug-in (linked in) runs them on the simulated Layout and
// every check of vantorel-host --validate applies, the light-table model
// included. Any problem aborts, so the fuzzer keeps the input.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "check.h"
#include "host.h"
#include "light_model.h"
#include "loader.h"
#include "model/editor_state.h"
#include "record_probe.h"
#include "session.h"

extern "C" ModuleDescriptor _mod_descrip;
// The probe build's hook, linked in with the plug-in (validate/probe/).
extern "C" int32_t vantorelEditorProbe(int32_t version, VantorelEditorView *view);

namespace {

class Bytes {
public:
    Bytes(const uint8_t *d, size_t n) : d_(d), n_(n) {}
    bool empty() const { return at_ >= n_; }
    uint8_t u8() { return at_ < n_ ? d_[at_++] : 0; }
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | u8();
        return v;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
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
        case 7: return static_cast<int8_t>(u8()) / 16.0;
        default: {
            uint64_t bits = uint64_t{u32()} << 32 | u32();
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
        }
    }
    std::string text(size_t max) {
        size_t n = u8();
        if (n == 255) n = 255 + size_t{u8()} * 40;  // long texts now and then
        if (n > max) n = max;
        std::string s;
        for (size_t i = 0; i < n && !empty(); ++i) {
            uint8_t c = u8();
            s += static_cast<char>(c ? c : 'S');
        }
        return s;
    }

private:
    const uint8_t *d_;
    size_t n_;
    size_t at_ = 0;
};

validate::Activation decode(Bytes &in) {
    validate::Activation a;
    size_t lights = in.u8();
    lights = lights > 250 ? 500 + (lights - 250) * 20 : lights % 40;  // now and then 500 to 600
    for (size_t i = 0; i < lights; ++i) {
        scene::Light l;
        l.id = scene::kLightIdBase + static_cast<uint32_t>(i);
        if (i < 24 && !in.empty()) {  // the first lights from the input, the rest plain
            l.name = in.text(1000);
            for (double &c : l.color) c = in.f64();
            l.intensity = in.f64();
            l.lightType = static_cast<int8_t>(in.u8());
            l.shadowType = static_cast<int8_t>(in.u8());
            l.range = in.f64();
            l.flags = in.u8();
        } else {
            l.name = "L" + std::to_string(i);
        }
        a.scene.lights.push_back(std::move(l));
    }
    while (!in.empty()) {
        validate::Event e;
        const uint8_t k = in.u8();
        if (k == 0xff) break;  // ends this activation
        e.kind = static_cast<validate::Event::Kind>(k % 13);
        switch (e.kind) {
        case validate::Event::ClickY:
        case validate::Event::Scroll:
            e.a = (in.u8() & 1) ? in.i32() : static_cast<int8_t>(in.u8()) * 4;
            break;
        case validate::Event::Key: e.a = in.u8() & 1 ? in.u32() & 0xffff : in.u8(); break;
        case validate::Event::Prefix: e.text = in.text(10000); break;
        case validate::Event::Intensity:
        case validate::Event::Range: e.v = in.f64(); break;
        case validate::Event::Color:
            e.a = in.i32();
            e.b = in.i32();
            e.c = in.i32();
            break;
        case validate::Event::LightType:
        case validate::Event::Shadow: e.a = static_cast<int8_t>(in.u8()); break;
        case validate::Event::Drag:
            e.a = static_cast<int16_t>(in.u32());
            e.b = in.i32();
            break;
        default: break;
        }
        a.events.push_back(std::move(e));
    }
    a.ok = true;
    return a;
}

// The plug-in's objects are linked in, so its state exists once; this zeroes
// it as a fresh load would (the editor record exists once the first
// activation has named it).
void resetPlugIn() {
    if (editorStatePointer) std::memset(editorStatePointer, 0, sizeof(EditorState));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Bytes in(data, size);
    validate::Session s;
    while (!in.empty() && s.size() < 3) {
        validate::Activation a = decode(in);
        s.push_back(std::move(a));
    }
    if (s.empty()) return 0;
    // Each input starts from a fresh instance: an all-zero editor record.
    const sim::PluginLibrary lib =
        sim::PluginLibrary::linkedIn(_mod_descrip, sim::PluginLibrary::Instance::Fresh, resetPlugIn);
    std::string problem = validate::checkSession(
        [&](sim::Host &host, sim::Host::Driver driver) { return host.activate(lib, std::move(driver)); }, s,
        validate::RecordProbe(&vantorelEditorProbe));
    if (!problem.empty()) {
        std::fprintf(stderr, "session check failed: %s\n%s", problem.c_str(), validate::describe(s).c_str());
        std::abort();
    }
    return 0;
}
