// session.cpp - random scenes and sessions, and a session as text.
#include "session.h"

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>

#include "scene/name_text.h"
#include "script/writer.h"

namespace validate {

uint64_t Random::next() {
    // splitmix64
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

double Random::hostileDouble() {
    switch (below(14)) {
    case 0: return std::nan("");
    case 1: return HUGE_VAL;
    case 2: return -HUGE_VAL;
    case 3: return 1e308;
    case 4: return -1e308;
    case 5: return DBL_MAX;
    case 6: return -DBL_MAX;
    case 7: return 4.9e-324;
    case 8: return -0.0;
    case 9: return 0.0;
    case 10: return (unit() - 0.5) * 2e6;
    default: return (unit() - 0.3) * 300;
    }
}

namespace {

const char kNameLetters[] = "SsPpot 1";

std::string randomBytes(Random &rnd, size_t n) {
    std::string s(n, 'x');
    for (char &c : s) c = static_cast<char>(rnd.between(1, 255));
    return s;
}

std::string randomName(Random &rnd, bool hostile) {
    if (hostile && rnd.chance(4)) return randomBytes(rnd, static_cast<size_t>(rnd.between(200, 1000)));
    if (hostile && rnd.chance(3)) return randomBytes(rnd, static_cast<size_t>(rnd.between(0, 20)));
    std::string s;
    for (int64_t n = rnd.between(0, 6); n > 0; --n) s += kNameLetters[rnd.below(sizeof kNameLetters - 1)];
    return s;
}

int32_t extremeInt(Random &rnd) {
    static const int32_t v[] = {INT32_MIN, INT32_MIN + 1, -1000000,      -1,       0, 1, 255,
                                256,       1000000,       INT32_MAX - 1, INT32_MAX};
    return v[rnd.below(sizeof v / sizeof v[0])];
}

}  // namespace

scene::Scene randomScene(Random &rnd, const Hostility &h) {
    scene::Scene scene;
    int64_t n;
    const uint64_t size = rnd.below(100);
    if (size < 5) n = 0;
    else if (size < 70) n = rnd.between(1, 12);
    else if (size < 93) n = rnd.between(13, h.maxLights);
    else n = rnd.between(480, 600);
    for (int64_t i = 0; i < n; ++i) {
        scene::Light l;
        l.id = scene::kLightIdBase + static_cast<uint32_t>(i);
        l.name = randomName(rnd, h.hostile);
        for (double &c : l.color) c = rnd.unit();
        l.intensity = rnd.unit() * 2;
        l.lightType = static_cast<int32_t>(rnd.between(0, 4));
        l.shadowType = static_cast<int32_t>(rnd.between(0, 2));
        l.range = rnd.unit() * 100;
        l.flags = static_cast<uint32_t>(rnd.below(4));
        if (h.hostile) {
            switch (rnd.below(10)) {
            case 0: l.color[0] = l.color[1] = l.color[2] = 0; break;  // black
            case 1:
                for (double &c : l.color) c = -rnd.unit();
                break;
            case 2:
                for (double &c : l.color) c = rnd.hostileDouble();
                break;
            case 3: l.intensity = rnd.hostileDouble(); break;
            default: break;
            }
            if (rnd.chance(10)) l.lightType = extremeInt(rnd);
            if (rnd.chance(10)) l.shadowType = extremeInt(rnd);
            if (rnd.chance(15)) l.range = rnd.hostileDouble();
            if (rnd.chance(5)) l.flags = static_cast<uint32_t>(rnd.next());
        }
        scene.lights.push_back(std::move(l));
    }
    return scene;
}

namespace {

// The kinds of event a random session makes, with the weights of the old
// hundred-sided draw: the same seed gives the same sessions as before.
sim::Action randomClick(Random &rnd, const Hostility &h) {
    return sim::Action::clickY(static_cast<int32_t>(
        h.hostile && rnd.chance(25) ? rnd.between(-1000000, 1000000) : rnd.between(-20, 420)));
}

sim::Action randomScroll(Random &rnd, const Hostility &h, int64_t scrollMax) {
    return sim::Action::scroll(static_cast<int32_t>(
        h.hostile && rnd.chance(30) ? extremeInt(rnd) : rnd.between(-50, scrollMax + 50)));
}

sim::Action randomKey(Random &rnd) {
    const uint64_t w = rnd.below(100);
    int64_t code;
    if (w < 45) code = static_cast<unsigned char>(kNameLetters[rnd.below(sizeof kNameLetters - 1)]);
    else if (w < 62) code = 8;
    else if (w < 70) code = rnd.chance(50) ? 4193 : 4194;
    else if (w < 80) code = rnd.between(32, 126);
    else code = rnd.between(0, 65535);
    return sim::Action::key(static_cast<int32_t>(code));
}

// The bytes the plug-in is to get: often the start of a name, else any text.
// They go out as the text a user types (UTF-8) whose delivery gives them
// back: in the scene's own reading of names.
sim::Action randomPrefix(Random &rnd, const scene::Scene &scene, const Hostility &h) {
    const int64_t lights = static_cast<int64_t>(scene.lights.size());
    const uint64_t w = rnd.below(100);
    std::string bytes;
    if (w < 50 && lights) {
        const std::string &name =
            scene.lights[static_cast<size_t>(rnd.below(static_cast<uint64_t>(lights)))].name;
        bytes = name.substr(0, static_cast<size_t>(rnd.below(name.size() + 1)));
    } else if (w < 75 || !h.hostile) {
        bytes = randomName(rnd, false);
    } else if (w < 90) {
        bytes = randomBytes(rnd, static_cast<size_t>(rnd.below(300)));
    } else {
        bytes = std::string(static_cast<size_t>(rnd.between(250, 10000)), 'S');
        if (rnd.chance(50)) bytes = randomBytes(rnd, bytes.size());
    }
    return sim::Action::prefix(scene::NameReading(scene.lights)(bytes));
}

sim::Action randomColor(Random &rnd, const Hostility &h) {
    int32_t c[3];
    for (int32_t &x : c)
        x = static_cast<int32_t>(!h.hostile       ? rnd.between(0, 255)
                                 : rnd.chance(20) ? extremeInt(rnd)
                                                  : rnd.between(-300, 600));
    return sim::Action::color(c[0], c[1], c[2]);
}

sim::Action randomChoice(Random &rnd, const Hostility &h) {
    const bool shadow = !rnd.chance(50);
    const int32_t item =
        static_cast<int32_t>(h.hostile ? rnd.between(-5, 50) : rnd.between(0, shadow ? 2 : 4));
    return shadow ? sim::Action::shadow(item) : sim::Action::lightType(item);
}

// A raw drag event, mostly one that continues the one before.
sim::Action randomDrag(Random &rnd, const Hostility &h, int32_t &dragCounter) {
    const int32_t distance =
        static_cast<int32_t>(h.hostile && rnd.chance(15) ? extremeInt(rnd) : rnd.between(-3000, 3000));
    const uint64_t w = rnd.below(100);
    int64_t counter;
    if (w < 60) counter = static_cast<int32_t>(static_cast<uint32_t>(dragCounter) + 1u);
    else if (w < 75 && h.hostile)
        counter = rnd.chance(50) ? INT32_MAX - rnd.between(0, 2) : INT32_MIN + rnd.between(0, 2);
    else counter = rnd.between(-100, 100000);
    dragCounter = static_cast<int32_t>(counter);
    return sim::Action::dragEvent(distance, dragCounter);
}

}  // namespace

std::vector<sim::Action> randomEvents(Random &rnd, const scene::Scene &scene, const Hostility &h,
                                      int32_t &dragCounter) {
    std::vector<sim::Action> events;
    const int64_t lights = static_cast<int64_t>(scene.lights.size());
    const int64_t scrollMax = std::max<int64_t>(0, std::min<int64_t>(lights, 510) * 16 - 400);
    for (int64_t n = rnd.between(0, h.maxEvents); n > 0; --n) {
        const uint64_t k = rnd.below(100);
        if (k < 22) events.push_back(randomClick(rnd, h));
        else if (k < 27) events.push_back(randomScroll(rnd, h, scrollMax));
        else if (k < 45) events.push_back(randomKey(rnd));
        else if (k < 52) events.push_back(randomPrefix(rnd, scene, h));
        else if (k < 60)
            events.push_back(
                sim::Action::intensity(h.hostile && rnd.chance(40) ? rnd.hostileDouble() : rnd.unit() * 200));
        else if (k < 65)
            events.push_back(
                sim::Action::range(h.hostile && rnd.chance(40) ? rnd.hostileDouble() : rnd.unit() * 50));
        else if (k < 71) events.push_back(randomColor(rnd, h));
        else if (k < 75) events.push_back(randomChoice(rnd, h));
        else if (k < 87) events.push_back(randomDrag(rnd, h, dragCounter));
        else if (k < 92) events.push_back(sim::Action::press(sim::Button::Copy));
        else if (k < 97) events.push_back(sim::Action::press(sim::Button::Paste));
        else events.push_back(sim::Action::press(sim::Button::Clear));
    }
    return events;
}

Session randomSession(Random &rnd, const Hostility &h) {
    Session s;
    int32_t dragCounter = 0;
    for (int64_t n = rnd.between(1, 3); n > 0; --n) {
        Activation a;
        a.scene = randomScene(rnd, h);
        a.events = randomEvents(rnd, a.scene, h, dragCounter);
        a.ok = !rnd.chance(15);
        s.push_back(std::move(a));
    }
    return s;
}

std::string describe(const sim::Action &a) {
    const std::string line = script::writeAction(a);
    constexpr size_t kShown = 80;
    std::string shown;
    for (size_t i = 0; i < line.size() && i < kShown; ++i) {
        const unsigned char ch = static_cast<unsigned char>(line[i]);
        if (ch >= 32 && ch != 127) {
            shown += static_cast<char>(ch);
            continue;
        }
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02x", ch);
        shown += buf;
    }
    if (line.size() > kShown) shown += "... (" + std::to_string(line.size()) + " bytes)";
    return shown;
}

std::string describeScene(const scene::Scene &scene) {
    std::string out;
    for (size_t i = 0; i < scene.lights.size() && i < 12; ++i) {
        const scene::Light &l = scene.lights[i];
        char buf[400];
        std::snprintf(buf, sizeof buf,
                      "    light %zx \"%.40s\"%s colour %.17g %.17g %.17g intensity %.17g type %d shadow "
                      "%d range %.17g flags %u\n",
                      static_cast<size_t>(l.id), l.name.c_str(), l.name.size() > 40 ? "..." : "", l.color[0],
                      l.color[1], l.color[2], l.intensity, l.lightType, l.shadowType, l.range, l.flags);
        out += buf;
    }
    if (scene.lights.size() > 12) out += "    ...\n";
    return out;
}

std::string describe(const Session &s) {
    std::ostringstream out;
    for (size_t ai = 0; ai < s.size(); ++ai) {
        const Activation &a = s[ai];
        out << "  activation " << ai + 1 << ", " << a.scene.lights.size() << " light(s):\n"
            << describeScene(a.scene);
        bool closed = false;
        for (size_t i = 0; i < a.events.size() && !closed; ++i) {
            out << "    " << describe(a.events[i]) << "\n";
            closed = a.events[i].kind == sim::ActionKind::Ok || a.events[i].kind == sim::ActionKind::Cancel;
        }
        if (!closed) out << "    " << (a.ok ? "ok" : "cancel") << "\n";
    }
    return out.str();
}

}  // namespace validate
