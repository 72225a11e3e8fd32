// session.h - random sessions for the validator: what a session is, and how
// random scenes and sessions are made. Playing one beside the model is in
// check.h, shrinking a failing one in shrink.h.
#ifndef VANTOREL_VALIDATE_SESSION_H
#define VANTOREL_VALIDATE_SESSION_H

#include <cstdint>
#include <string>
#include <vector>

#include "action.h"
#include "light_model.h"
#include "scene/scene.h"

namespace validate {

// A small portable generator: the same seed gives the same sessions everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next();
    uint64_t below(uint64_t n) { return n ? next() % n : 0; }
    int64_t between(int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(below(static_cast<uint64_t>(hi - lo) + 1));
    }
    bool chance(unsigned percent) { return below(100) < percent; }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    double hostileDouble();  // NaN, infinities, +-1e308, tiny and ordinary values

private:
    uint64_t state_;
};

// One activation: the scene it starts on, what the user does, how it closes.
// An ok or cancel among the events closes the panel there (the events after
// it are not played); without one, `ok` says how it closes.
struct Activation {
    scene::Scene scene;
    std::vector<sim::Action> events;
    bool ok = true;
};
// Activations in a row on one freshly loaded library.
using Session = std::vector<Activation>;

struct Hostility {
    int maxLights = 60;  // usual scene size limit (a few scenes are far larger)
    int maxEvents = 40;
    bool hostile = true;  // extreme values in scenes and events
};

scene::Scene randomScene(Random &rnd, const Hostility &h);
std::vector<sim::Action> randomEvents(Random &rnd, const scene::Scene &scene, const Hostility &h,
                                      int32_t &dragCounter);
Session randomSession(Random &rnd, const Hostility &h);

// One event as a report shows it: its script line, with control bytes as
// \xNN and a long line cut ("... (N bytes)").
std::string describe(const sim::Action &a);
// One event as a report shows it: its script line, with control bytes as
// \xNN and a long line cut ("... (N bytes)").
std::string describe(const sim::Action &a);
// The session as text: scenes, events, OK or Cancel.
std::string describe(const Session &s);
// A scene's lights as describe() shows them, a line each (the first twelve).
std::string describeScene(const scene::Scene &scene);

}  // namespace validate

#endif
