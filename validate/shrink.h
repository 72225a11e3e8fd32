// shrink.h - the smallest session found that still fails.
#ifndef VANTOREL_VALIDATE_SHRINK_H
#define VANTOREL_VALIDATE_SHRINK_H

#include <functional>
#include <string>

#include "session.h"

namespace validate {

// The smallest session found (by removing activations, events and lights)
// that still fails; at most `budget` replays, counted in *replays (if given).
// Whole activations go first, so a failure that one activation shows is
// shrunk to one.
using Fails = std::function<bool(const Session &)>;
Session shrink(const Fails &fails, Session s, int budget, int *replays);
// The same with checkSession on a fresh copy of the plug-in as the test.
Session shrink(const std::string &pluginPath, Session s, int budget, int *replays);

}  // namespace validate

#endif
