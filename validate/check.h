// check.h - playing a session on the simulated Layout beside the light model,
// and checking what the plug-in does against what the model predicts.
#ifndef VANTOREL_VALIDATE_CHECK_H
#define VANTOREL_VALIDATE_CHECK_H

#include <cstddef>
#include <functional>
#include <string>

#include "host.h"
#include "record_probe.h"
#include "session.h"

namespace validate {

// Plays a session on a fresh copy of the plug-in beside the model. Returns an
// empty text if all went as predicted, else what went wrong first (the first
// check that fails, in the order they are made); then *failedAt (if given) is
// the index of the activation that failed. The checks of the plug-in's record
// are made when the file has the probe (record_probe.h).
std::string checkSession(const std::string &pluginPath, const Session &s, size_t *failedAt = nullptr);
// The same on an activation of one's own (a plug-in linked in, for the fuzzer):
// `activate` runs one activation on the host with the driver given, and the
// probe shows the record of the plug-in it runs (or is none).
using Activate = std::function<int(sim::Host &, sim::Host::Driver)>;
std::string checkSession(const Activate &activate, const Session &s, const RecordProbe &probe,
                         size_t *failedAt = nullptr);

}  // namespace validate

#endif
