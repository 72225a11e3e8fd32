// runner.h - playing a session script inside the simulated Layout's modal
// panel.
//
//   script::Runner runner(script, [](const script::Message &m) { ... });
//   int result = host.activate(lib, [&](sim::Host &h) { return runner.drive(h); });
//   runner.finish(host, result);   // expectations after ok/cancel, expect result
//
// Each action is played with sim::deliver. The first expectation that fails,
// or action that cannot be delivered, stops the script there: the rest is
// skipped and the panel is cancelled. A script that failed anywhere (after
// ok/cancel too) must lead to no file being written; failures() tells, once
// finish() has run.
#ifndef VANTOREL_SCRIPT_RUNNER_H
#define VANTOREL_SCRIPT_RUNNER_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host.h"
#include "script/script.h"

namespace script {

// What the runner reports: a failed step (with its line, and the step's
// source at the start of the text: "click Nobody: the scene has no light
// named ..."), or a warning about the run as a whole.
struct Message {
    enum class Kind { Failure, Warning };
    Kind kind = Kind::Failure;
    int line = 0;  // Failure: the step's line in the script
    std::string text;
};

class Runner {
public:
    using Report = std::function<void(const Message &)>;
    Runner(const Script &script, Report report) : script_(script), report_(std::move(report)) {}

    // The driver for the modal open.
    sim::Close drive(sim::Host &host);
    // Checks what is left once the activation has returned.
    void finish(sim::Host &host, int result);

    int failures() const { return failures_; }
    // The first line that failed, or 0.
    int failedLine() const { return failedLine_; }
    // The snapshot files the script did not get to because it stopped.
    std::vector<std::string> skippedSnapshots() const;

    // Carries out "snapshot FILE": writes a picture of the open panel. Returns
    // false with why set when it cannot; the script then fails there.
    std::function<bool(sim::Host &, const std::string &file, std::string &why)> snapshot;

private:
    void check(const Step &s, const Expectation &e, sim::Host &host, int result);
    void fail(const Step &s, const std::string &what);
    void warn(const std::string &what);
    sim::Delivery play(const Step &s, sim::Host &host);
    // Stops the script at step `at` after a failure there.
    sim::Close stop(size_t at);

    const Script &script_;
    Report report_;
    size_t next_ = 0;
    bool opened_ = false;
    bool closed_ = false;
    int failures_ = 0;
    int failedLine_ = 0;
    size_t stoppedAt_ = static_cast<size_t>(-1);  // the step that stopped the script; -1: it ran through
    std::string failNote_;                        // added to a failure message while the panel is open
};

}  // namespace script

#endif
