// shrink.cpp - shrinking a failing session: fewer activations, events and
// lights while it still fails.
#include "shrink.h"

#include <algorithm>

#include "check.h"

namespace validate {

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

}  // namespace validate
