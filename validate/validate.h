// validate.h - vantorel-host --validate: checks a plug-in file against the
// editor's contract inside the simulated Layout.
#ifndef VANTOREL_VALIDATE_VALIDATE_H
#define VANTOREL_VALIDATE_VALIDATE_H

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "replay.h"

namespace validate {

struct Options {
    std::string plugin;        // the plug-in file
    uint64_t seed = 1;         // every random choice follows from it
    int runs = 300;            // random sessions
    int lifecycleRuns = 1000;  // activations of one loaded library
    int shrinkBudget = 3000;   // replays spent on shrinking a failing session
    // The files the first failure is written to, when it is; empty names: it
    // is not, and the report names F.vts and F.lws. The plug-in's (empty:
    // `plugin`) is the one the failure was seen with.
    ReplayNames replayNames{"", "", ""};
    // The command line that replays a failure's files, for its script's first
    // line; none: no such line.
    std::function<std::string(const ReplayNames &)> replayCommand;
    // Said beside the script of a failure whose files are not written.
    std::string filesNote;
};

// Exit statuses of a validation.
enum Status { kAllPassed = 0, kSomeFailed = 1, kNotLoadable = 2 };

// The first failure of a validation, shrunk: its replay, or why it has none
// and the session as text.
struct FirstFailure {
    std::optional<Replay> replay;
    std::string whyNot;
    std::string description;
};

// Runs every check, printing one line per check and a summary line to out.
// A failing lifecycle or random session is shrunk and printed as a session
// script (as describe() shows it when no script replays it); `first` (if
// given) gets the first of them.
Status run(const Options &options, std::ostream &out, std::optional<FirstFailure> *first = nullptr);

}  // namespace validate

#endif
