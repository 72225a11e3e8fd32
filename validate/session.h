// session.h - random sessions for the validator: generation, playing them on
// the simulated Layout against the light model, and shrinking a failing one.
#ifndef VANTOREL_VALIDATE_SESSION_H
#define VANTOREL_VALIDATE_SESSION_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"
#include "light_model.h"
#include "model/editor_state.h"
#include "scene/scene.h"

namespace validate {

// The plug-in's editor record, as it hands it to the list area for user data;
// null before the list exists. The validator looks inside it for what no host
// call shows: rows past the filled ones and the copy buffer.
const EditorState *editorStateOf(const sim::Host &h);

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

// Plays a session on a fresh copy of the plug-in beside the model. Returns an
// empty text if all went as predicted, else what went wrong first; then
// *failedAt (if given) is the index of the activation that failed.
std::string checkSession(const std::string &pluginPath, const Session &s, size_t *failedAt = nullptr);
// The same on an activation of one's own (a plug-in linked in, for the fuzzer):
// `activate` runs one activation on the host with the driver given.
using Activate = std::function<int(sim::Host &, sim::Host::Driver)>;
std::string checkSession(const Activate &activate, const Session &s, size_t *failedAt = nullptr);

// Checks made on every activation's commands: each parses back to the value it
// carries in the documented format, none is cut short or holds "nan"/"inf".
// Returns the first problem, or an empty text.
std::string commandProblem(const std::vector<std::string> &commands);
std::string commandProblem(std::string_view command);  // the same for one command

// The smallest session found (by removing activations, events and lights)
// that still fails; at most `budget` replays.
using Fails = std::function<bool(const Session &)>;
Session shrink(const Fails &fails, Session s, int budget, int *replays);
// The same with checkSession on a fresh copy of the plug-in as the test.
Session shrink(const std::string &pluginPath, Session s, int budget, int *replays);

// One event as a report shows it: its script line, with control bytes as
// \xNN and a long line cut ("... (N bytes)").
std::string describe(const sim::Action &a);
// The session as text: scenes, events, OK or Cancel.
std::string describe(const Session &s);

}  // namespace validate

#endif
