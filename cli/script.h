// script.h - session scripts for vantorel-host: parsing, and running one
// inside the simulated Layout's modal panel.
//
// One action per line; '#' outside double quotes starts a comment; double
// quotes group words (\" and \\ inside quotes stand for " and \).
#ifndef VANTOREL_CLI_SCRIPT_H
#define VANTOREL_CLI_SCRIPT_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "host.h"

namespace vhost {

enum class Op {
    Click,
    ClickY,
    Scroll,
    Key,
    Type,
    Prefix,
    Intensity,
    Color,
    LightType,
    Shadow,
    Range,
    Drag,
    DragEvent,
    Copy,
    Paste,
    Clear,
    Snapshot,
    Ok,
    Cancel,
    ExpectSelected,
    ExpectFieldNumber,
    ExpectFieldColor,
    ExpectFieldChoice,
    ExpectGhosted,
    ExpectInfo,
    ExpectError,
    ExpectPrefix,
    ExpectResult,
    ExpectCommand,   // the Nth command sent (from 1)
    ExpectCommands,  // how many commands were sent
};

struct Step {
    int line = 0;
    std::string source;  // the line as written, comments removed
    Op op = Op::Ok;
    std::vector<std::string> text;  // names, texts, control keys
    std::vector<long long> ints;
    double number = 0;
    bool isExpectation() const { return op >= Op::ExpectSelected; }
    // Checked once the activation has returned, wherever the line stands.
    bool checkedAtEnd() const {
        return op == Op::ExpectResult || op == Op::ExpectCommand || op == Op::ExpectCommands;
    }
};

struct Script {
    std::string name;  // file name used in messages
    std::vector<Step> steps;
};

// Parses a whole script. On a syntax error returns false and sets error to
// "NAME:LINE: what is wrong".
bool parseScript(const std::string &text, const std::string &name, Script &out, std::string &error);
// The same, with the line apart: error is then what is wrong alone.
bool parseScript(const std::string &text, const std::string &name, Script &out, std::string &error,
                 int &errorLine);

// Runs a script: drive() is the driver for the modal open; finish() checks
// what is left once the activation has returned. Messages go to err.
//
// The first expectation that fails, or action that cannot be delivered, stops
// the script there: the rest is skipped and the panel is cancelled. A script
// that failed anywhere (after ok/cancel too) must lead to no file being
// written; failures() tells, once finish() has run.
class ScriptRunner {
public:
    ScriptRunner(const Script &script, std::ostream &err) : script_(script), err_(err) {}

    sim::Close drive(sim::Host &host);
    void finish(sim::Host &host, int result);

    int failures() const { return failures_; }
    // The first line that failed, or 0.
    int failedLine() const { return failedLine_; }
    // The snapshot files the script did not get to because it stopped.
    std::vector<std::string> skippedSnapshots() const;

    // Carries out "snapshot FILE": writes a picture of the open panel. Returns
    // false with error set when it cannot; the script then fails there.
    std::function<bool(sim::Host &, const std::string &file, std::string &error)> snapshot;

private:
    bool check(const Step &s, sim::Host &host, int result, bool atEnd);
    void checkCommands(const Step &s, const std::vector<std::string> &sent);
    void fail(const Step &s, const std::string &what);

    // Stops the script at step `at` after a failure there.
    sim::Close stop(size_t at);

    const Script &script_;
    Diagnostics err_;
    size_t next_ = 0;
    bool opened_ = false;
    bool closed_ = false;
    int failures_ = 0;
    int failedLine_ = 0;
    size_t stoppedAt_ = static_cast<size_t>(-1);  // the step that stopped the script; -1: it ran through
    std::string failNote_;                        // added to a failure message while the panel is open
};

// The built-in demo session, played when no script is given.
const char *demoScript();

}  // namespace vhost

#endif
