// session.cpp - random sessions, their replay against the light model, shrinking.
#include "session.h"

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>

#include "host.h"
#include "loader.h"
#include "model/editor_state.h"
#include "script/writer.h"
#include "words.h"

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

namespace {

bool allOf(std::string_view s, const char *set) {
    return !s.empty() && s.find_first_not_of(set) == std::string_view::npos;
}

// "%f" text: optional minus, digits, a point and exactly six decimals, and
// the same text again when read back and printed.
bool fixedParsesBack(std::string_view w) {
    if (w.empty()) return false;
    size_t start = w[0] == '-' ? 1 : 0;
    size_t dot = w.find('.');
    if (dot == std::string_view::npos || dot == start || w.size() - dot - 1 != 6) return false;
    if (!allOf(w.substr(start, dot - start), "0123456789") || !allOf(w.substr(dot + 1), "0123456789"))
        return false;
    const sim::TerminatedWord text(w);
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end != text.end() || !std::isfinite(v)) return false;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%f", v);
    return w == buf;
}

bool intParsesBack(std::string_view w) {
    if (w.empty() || !allOf(w[0] == '-' ? w.substr(1) : w, "0123456789") || w.size() > 11) return false;
    long long v = std::strtoll(sim::TerminatedWord(w).c_str(), nullptr, 10);
    return v >= INT32_MIN && v <= INT32_MAX && std::to_string(v) == w;
}

bool hexParsesBack(std::string_view w) {
    if (!allOf(w, "0123456789abcdef") || w.size() > 8) return false;
    unsigned long v = std::strtoul(sim::TerminatedWord(w).c_str(), nullptr, 16);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%lx", v);
    return w == buf;
}

// "nan" or "inf" anywhere, in any case. (c | 0x20 is the lower case of an
// ASCII letter, and only the letter itself and its capital give these.)
bool carriesNonNumber(std::string_view c) {
    for (size_t i = 0; i + 3 <= c.size(); ++i) {
        const char a = static_cast<char>(c[i] | 0x20), b = static_cast<char>(c[i + 1] | 0x20),
                   d = static_cast<char>(c[i + 2] | 0x20);
        if ((a == 'n' && b == 'a' && d == 'n') || (a == 'i' && b == 'n' && d == 'f')) return true;
    }
    return false;
}

}  // namespace

std::string commandProblem(std::string_view c) {
    if (carriesNonNumber(c)) return "command \"" + std::string(c) + "\" carries a non-number";
    // Words joined by single spaces, and nothing else: no other white space,
    // none at either end.
    bool good = !c.empty() && c.front() != ' ' && c.back() != ' ';
    for (size_t i = 0; i < c.size() && good; ++i)
        if ((c[i] >= '\t' && c[i] <= '\r') || (c[i] == ' ' && c[i + 1] == ' ')) good = false;
    std::string_view w[5];
    size_t count = 0;
    if (good) {
        std::string_view rest = c;
        while (!rest.empty()) {
            const size_t space = rest.find(' ');
            const std::string_view word = rest.substr(0, space);
            if (count < 5) w[count] = word;
            ++count;
            rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
        }
        const std::string_view op = w[0];
        if (op == "EditLights" || op == "DistantLight" || op == "PointLight" || op == "Spotlight" ||
            op == "LinearLight" || op == "AreaLight")
            good = count == 1;
        else if (op == "SelectItem") good = count == 2 && hexParsesBack(w[1]);
        else if (op == "ShadowType") good = count == 2 && intParsesBack(w[1]);
        else if (op == "LightIntensity" || op == "LightRange") good = count == 2 && fixedParsesBack(w[1]);
        else if (op == "LightColor")
            good = count == 4 && fixedParsesBack(w[1]) && fixedParsesBack(w[2]) && fixedParsesBack(w[3]);
        else good = false;
    }
    if (good) return {};
    return "command \"" + std::string(c.substr(0, 200)) +
           "\" does not parse back to the value it carries (cut short or malformed)";
}

std::string commandProblem(const std::vector<std::string> &commands) {
    for (const std::string &c : commands)
        if (std::string p = commandProblem(std::string_view(c)); !p.empty()) return p;
    return {};
}

const EditorState *editorStateOf(const sim::Host &h) {
    const sim::ControlModel *list = h.control(sim::Role::List);
    return list ? reinterpret_cast<const EditorState *>(list->userData) : nullptr;
}

namespace {

// The rows past the filled ones, as bytes. Kept in one buffer that every
// activation reuses: a copy of up to 510 rows per activation was most of the
// validator's own cost.
class RowsPastFilled {
public:
    void keep(const EditorState *s) {
        const char *from = begin(s), *to = end(s);
        bytes_.assign(from, to);
    }
    bool same(const EditorState *s) const {
        const char *from = begin(s), *to = end(s);
        return static_cast<size_t>(to - from) == bytes_.size() &&
               std::memcmp(from, bytes_.data(), bytes_.size()) == 0;
    }

private:
    static const char *begin(const EditorState *s) {
        const int32_t from = s->lightCount < 0               ? 0
                             : s->lightCount > CLIPBOARD_ROW ? CLIPBOARD_ROW
                                                             : s->lightCount;
        return reinterpret_cast<const char *>(&s->rows[from]);
    }
    static const char *end(const EditorState *s) {
        return reinterpret_cast<const char *>(&s->rows[CLIPBOARD_ROW]);
    }
    std::vector<char> bytes_;
};

// The copy buffer's row as bytes, padding included: nothing but copy may
// touch them at all.
using RowBytes = std::array<char, sizeof(LightRow)>;
RowBytes copyRowBytes(const EditorState *s) {
    RowBytes b;
    std::memcpy(b.data(), &s->rows[CLIPBOARD_ROW], b.size());
    return b;
}

// What the checks after one event compare with: the state before it.
struct Before {
    RowBytes copyRow;
    std::string field, prefix;  // the prefix field's text, the model's prefix
};

// The checks after event i (the last failure found is the one kept).
void checkEvent(sim::Host &h, const EditorState *state, const LightModel &model, const sim::Action &e,
                size_t i, const Before &before, std::string &problem) {
    auto at = [&] { return "after event " + std::to_string(i + 1) + " (" + describe(e) + "): "; };
    if (!(e.kind == sim::ActionKind::Press && e.button == sim::Button::Copy) &&
        copyRowBytes(state) != before.copyRow)
        problem = at() + "the copy buffer row changed without copy";
    if (e.kind == sim::ActionKind::Key || e.kind == sim::ActionKind::Type) {
        const std::string field = h.prefixText();
        // A key that changes the prefix shows it in the field; any other leaves the field alone.
        const bool changed = model.prefix() != before.prefix;
        const std::string &expect = changed ? model.prefix() : before.field;
        if (changed && field.size() > 255)
            problem = at() + "the prefix field shows " + std::to_string(field.size()) + " characters";
        else if (field != expect)
            problem = at() + "the prefix field shows \"" + field.substr(0, 60) + "\", expected \"" +
                      expect.substr(0, 60) + "\"";
    }
    if (state->prefixLength < 0 || state->prefixLength > 255)
        problem = at() + "prefix length " + std::to_string(state->prefixLength);
}

// Plays one action of event i beside the model; false when the event is to
// stop (a problem, or the panel closes: then *closes says how).
bool playAction(sim::Host &h, const EditorState *state, LightModel &model, const sim::Action &e,
                const sim::Action &a, size_t i, std::string &problem, std::optional<sim::Close> &closes) {
    const Before before{copyRowBytes(state), h.prefixText(), model.prefix()};
    const sim::Delivery d = deliver(h, a);
    if (!d) {
        problem = "event " + describe(e) + " could not be delivered: " + d.why;
        return false;
    }
    if (d.closes) {
        closes = d.closes;
        return false;
    }
    if (!model.apply(a)) problem = "event " + describe(e) + " is not one the model predicts";
    checkEvent(h, state, model, a, i, before, problem);
    return problem.empty();
}

// Plays event i beside the model. Returns how the panel closes when the
// event is ok or cancel. A drag gesture is played as the raw events it is
// made of, so that the model sees the counters the host gives them: a fresh
// one to start, then one more each.
std::optional<sim::Close> playEvent(sim::Host &h, const EditorState *state, LightModel &model,
                                    const sim::Action &e, size_t i, std::string &problem) {
    std::optional<sim::Close> closes;
    if (e.kind != sim::ActionKind::Drag) {
        playAction(h, state, model, e, e, i, problem, closes);
        return closes;
    }
    int32_t counter = sim::Host::freshDragCounter();
    if (!playAction(h, state, model, e, sim::Action::dragEvent(0, counter), i, problem, closes))
        return closes;
    for (int32_t d : e.distances)
        if (!playAction(h, state, model, e, sim::Action::dragEvent(d, ++counter), i, problem, closes)) break;
    return closes;
}

}  // namespace

std::string checkSession(const std::string &pluginPath, const Session &s, size_t *failedAt) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(pluginPath);
    return checkSession(
        [&lib](sim::Host &host, sim::Host::Driver driver) { return host.activate(lib, std::move(driver)); },
        s, failedAt);
}

namespace {

// What the plug-in shows when its panel opens, against the model and the
// activation before (the last failure found is the one kept).
std::string openingProblem(const sim::Host &h, const EditorState *state, const LightModel &model,
                           const std::optional<RowBytes> &lastCopyRow) {
    std::string problem;
    if (state->prefixLength != 0 || state->prefixText[0] != '\0' || !h.prefixText().empty())
        problem = "the prefix is not empty when the panel opens";
    if (lastCopyRow && copyRowBytes(state) != *lastCopyRow)
        problem = "the copy buffer did not carry over from the activation before";
    if (state->lightCount != model.lightCount())
        problem = "the scan filled " + std::to_string(state->lightCount) + " rows, expected " +
                  std::to_string(model.lightCount());
    return problem;
}

// What the host saw of an activation once it returned: its result, faults,
// what was left alive, error boxes and the commands against the model's.
std::string closingProblem(const sim::Host &host, int result, const LightModel &model, const Activation &a,
                           bool ok) {
    if (result != 0) return "activation result " + std::to_string(result) + ", expected 0";
    if (!host.faults().empty()) return "host fault: " + host.faults().front();
    if (host.livePanels() || host.liveRasters())
        return "left " + std::to_string(host.livePanels()) + " panel(s) and " +
               std::to_string(host.liveRasters()) + " raster(s) alive";
    if (!host.errors().empty()) return "unexpected error box \"" + host.errors().front() + "\"";
    const std::vector<sim::CommandRecord> &sent = host.commandRecords();
    for (const sim::CommandRecord &c : sent)
        if (std::string p = commandProblem(std::string_view(c.text)); !p.empty()) return p;
    const std::vector<std::string> expected = ok ? model.commandsOnOk(a.scene) : std::vector<std::string>{};
    size_t i = 0;
    while (i < sent.size() && i < expected.size() && sent[i].text == expected[i]) ++i;
    if (i < sent.size() || i < expected.size()) {
        std::string seen = i < sent.size() ? "\"" + sent[i].text.substr(0, 120) + "\"" : "nothing";
        std::string want = i < expected.size() ? "\"" + expected[i].substr(0, 120) + "\"" : "nothing";
        return "command " + std::to_string(i + 1) + " of " + std::to_string(sent.size()) + " is " + seen +
               ", the model expects " + want + " (" + std::to_string(expected.size()) + " in all)";
    }
    return ok ? model.untouchedLightProblem(a.scene, host.scene()) : std::string();
}

}  // namespace

std::string checkSession(const Activate &activate, const Session &s, size_t *failedAt) {
    static thread_local RowsPastFilled past;
    LightModel model;
    std::optional<RowBytes>
        lastCopyRow;  // the copy buffer as the last activation left it, once something was copied
    for (size_t ai = 0; ai < s.size(); ++ai) {
        const Activation &a = s[ai];
        const std::string where = "activation " + std::to_string(ai + 1) + ": ";
        if (failedAt) *failedAt = ai;
        model.scan(a.scene);
        sim::Host host(a.scene);
        host.setLogging(false);
        host.setDrawing(false);  // no check looks at pixels or paints
        std::string problem;
        std::optional<sim::Close> closes;
        const int result = activate(host, [&](sim::Host &h) {
            const EditorState *state = editorStateOf(h);
            if (!state) {
                problem = "the list area carries no user data";
                return sim::Close::Cancel;
            }
            problem = openingProblem(h, state, model, lastCopyRow);
            past.keep(state);
            for (size_t i = 0; i < a.events.size() && problem.empty() && !closes; ++i)
                closes = playEvent(h, state, model, a.events[i], i, problem);
            if (problem.empty() && !past.same(state))
                problem = "a row past the " + std::to_string(state->lightCount) + " filled ones was written";
            lastCopyRow = state->clipboardValid ? std::optional<RowBytes>(copyRowBytes(state)) : std::nullopt;
            if (!closes) closes = a.ok ? sim::Close::Ok : sim::Close::Cancel;
            return *closes;
        });
        if (problem.empty()) problem = closingProblem(host, result, model, a, closes == sim::Close::Ok);
        if (!problem.empty()) return where + problem;
    }
    if (failedAt) *failedAt = s.size();
    return {};
}

namespace {

size_t eventCount(const Session &s) {
    size_t n = 0;
    for (const Activation &a : s) n += a.events.size();
    return n;
}

// Removes ever smaller chunks of a list while the session still fails.
template <class T, class Get>
void shrinkList(Session &s, Get get, const Fails &fails, int &budget, int *replays) {
    for (size_t chunk = std::max<size_t>(1, get(s).size() / 2); chunk >= 1 && budget > 0; chunk /= 2) {
        for (size_t at = 0; at < get(s).size() && budget > 0;) {
            Session trial = s;
            std::vector<T> &v = get(trial);
            v.erase(v.begin() + static_cast<long>(at),
                    v.begin() + static_cast<long>(std::min(v.size(), at + chunk)));
            --budget;
            if (replays) ++*replays;
            if (fails(trial)) s = std::move(trial);
            else at += chunk;
        }
        if (chunk == 1) break;
    }
}

}  // namespace

Session shrink(const Fails &fails, Session s, int budget, int *replays) {
    size_t before;
    do {
        before = eventCount(s) + s.size();
        // Whole activations first, in ever smaller chunks: a long lifecycle drops
        // most of its activations in a few replays.
        shrinkList<Activation>(
            s, [](Session &x) -> Session & { return x; }, fails, budget, replays);
        for (size_t ai = 0; ai < s.size(); ++ai) {
            shrinkList<sim::Action>(
                s, [ai](Session &x) -> std::vector<sim::Action> & { return x[ai].events; }, fails, budget,
                replays);
            shrinkList<scene::Light>(
                s, [ai](Session &x) -> std::vector<scene::Light> & { return x[ai].scene.lights; }, fails,
                budget, replays);
        }
    } while (budget > 0 && eventCount(s) + s.size() < before);
    return s;
}

Session shrink(const std::string &pluginPath, Session s, int budget, int *replays) {
    return shrink([&pluginPath](const Session &trial) { return !checkSession(pluginPath, trial).empty(); },
                  std::move(s), budget, replays);
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

std::string describe(const Session &s) {
    std::ostringstream out;
    for (size_t ai = 0; ai < s.size(); ++ai) {
        const Activation &a = s[ai];
        out << "  activation " << ai + 1 << ", " << a.scene.lights.size() << " light(s):\n";
        for (size_t i = 0; i < a.scene.lights.size() && i < 12; ++i) {
            const scene::Light &l = a.scene.lights[i];
            char buf[400];
            std::snprintf(buf, sizeof buf,
                          "    light %zx \"%.40s\"%s colour %.17g %.17g %.17g intensity %.17g type %d shadow "
                          "%d range %.17g flags %u\n",
                          static_cast<size_t>(l.id), l.name.c_str(), l.name.size() > 40 ? "..." : "",
                          l.color[0], l.color[1], l.color[2], l.intensity, l.lightType, l.shadowType, l.range,
                          l.flags);
            out << buf;
        }
        if (a.scene.lights.size() > 12) out << "    ...\n";
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
