// validate.h - vantorel-host --validate: checks a plug-in file against the
// editor's contract inside the simulated Layout.
#ifndef VANTOREL_VALIDATE_VALIDATE_H
#define VANTOREL_VALIDATE_VALIDATE_H

#include <cstdint>
#include <ostream>
#include <string>

namespace validate {

struct Options {
    std::string plugin;        // the plug-in file
    uint64_t seed = 1;         // every random choice follows from it
    int runs = 300;            // random sessions
    int lifecycleRuns = 1000;  // activations of one loaded library
    int shrinkBudget = 3000;   // replays spent on shrinking a failing session
};

// Exit statuses of a validation.
enum Status { kAllPassed = 0, kSomeFailed = 1, kNotLoadable = 2 };

// Runs every check, printing one line per check and a summary line to out.
Status run(const Options &options, std::ostream &out);

}  // namespace validate

#endif
