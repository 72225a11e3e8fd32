// runner.cpp - playing a session script on the simulated Layout.
#include "script/runner.h"

#include "script/expectations.h"
#include "script/writer.h"

namespace script {

namespace {

const char *const kStopping = "; the rest of the script is skipped and the panel is cancelled";

bool checkedAtEnd(const Step &s) { return s.expectation() && s.expectation()->checkedAtEnd(); }

bool isCommandLine(const Step &s) { return checkedAtEnd(s) && s.expectation()->check != Check::Result; }

// The actions that edit the selected lights, which do nothing while no light
// is selected (the property controls are ghosted then).
bool editsSelection(const sim::Action &a) {
    using sim::ActionKind;
    switch (a.kind) {
    case ActionKind::Intensity:
    case ActionKind::Range:
    case ActionKind::Color:
    case ActionKind::LightType:
    case ActionKind::Shadow:
    case ActionKind::Drag:
    case ActionKind::DragEvent: return true;
    case ActionKind::Press: return a.button == sim::Button::Paste;
    default: return false;
    }
}

// The step as its line reads, or as the writer writes it when it has none.
std::string sourceOf(const Step &s) { return s.source.empty() ? writeStep(s) : s.source; }

}  // namespace

void Runner::fail(const Step &s, const std::string &what) {
    if (!failures_) failedLine_ = s.line;
    ++failures_;
    const std::string source = sourceOf(s);
    if (report_) report_({Message::Kind::Failure, s.line, source + ": " + what + failNote_});
}

void Runner::warn(const std::string &what, int line) {
    if (report_) report_({Message::Kind::Warning, line, what});
}

sim::Close Runner::stop(size_t at) {
    stoppedAt_ = at;
    next_ = script_.steps.size();
    closed_ = true;
    return sim::Close::Cancel;
}

std::vector<std::string> Runner::skippedSnapshots() const {
    std::vector<std::string> files;
    for (size_t i = stoppedAt_ == static_cast<size_t>(-1) ? script_.steps.size() : stoppedAt_ + 1;
         i < script_.steps.size(); ++i)
        if (const Snapshot *p = script_.steps[i].snapshot()) files.push_back(p->file);
    return files;
}

void Runner::check(const Step &s, const Expectation &e, sim::Host &host, int result) {
    const std::string problem = expectationProblem(e, host, result);
    if (!problem.empty()) fail(s, problem);
}

sim::Delivery Runner::play(const Step &s, sim::Host &host) {
    if (const sim::Action *a = s.action()) return deliver(host, *a);
    std::string why = "snapshots are not available here";
    if (snapshot && snapshot(host, s.snapshot()->file, why)) return sim::Delivery::done();
    return sim::Delivery::refused(why);
}

sim::Close Runner::drive(sim::Host &host) {
    if (closed_) {
        warn("the panel opened again; the script has already ended, so it is cancelled");
        return sim::Close::Cancel;
    }
    opened_ = true;
    for (; next_ < script_.steps.size(); ++next_) {
        const Step &s = script_.steps[next_];
        if (const Expectation *e = s.expectation()) {
            if (e->checkedAtEnd()) continue;  // checked once the activation has returned
            // What follows a failed expectation was written for another state
            // of the panel: an OK there could save the wrong edits.
            const int before = failures_;
            failNote_ = kStopping;
            check(s, *e, host, 0);
            failNote_.clear();
            if (failures_ != before) return stop(next_);
            continue;
        }
        // Delivered all the same, as Layout would; but a replay on another
        // scene that selects nothing should not pass for one that edits.
        if (const sim::Action *a = s.action(); a && editsSelection(*a) && host.propertyGhosted() == true)
            warn(sourceOf(s) +
                     ": no light is selected (the controls are ghosted), so this edit changes nothing",
                 s.line);
        const sim::Delivery d = play(s, host);
        if (!d) {
            fail(s, d.why + kStopping);
            return stop(next_);
        }
        if (d.closes) {
            closed_ = true;
            ++next_;
            return *d.closes;
        }
    }
    closed_ = true;
    warn(script_.name + " ends without ok or cancel; the panel is closed with Cancel");
    return sim::Close::Cancel;
}

void Runner::finish(sim::Host &host, int result) {
    if (!opened_) {
        bool commandLines = false;
        for (const Step &s : script_.steps) commandLines = commandLines || isCommandLine(s);
        warn("the panel never opened (result " + std::to_string(result) +
             "); the script's actions did not run, only its 'expect result'" +
             (commandLines ? ", 'expect error' and 'expect command' lines " : " and 'expect error' lines ") +
             "are checked");
        for (const Step &s : script_.steps)
            if (const Expectation *e = s.expectation(); e && (e->checkedAtEnd() || e->check == Check::Error))
                check(s, *e, host, result);
        return;
    }
    // Expectations after ok/cancel see the panel as it was when it closed.
    for (; next_ < script_.steps.size(); ++next_)
        if (const Expectation *e = script_.steps[next_].expectation(); e && !e->checkedAtEnd())
            check(script_.steps[next_], *e, host, result);
    // Result and command lines are checked at the end, wherever they stand;
    // those a failure skipped are not.
    for (size_t i = 0; i < script_.steps.size() && i < stoppedAt_; ++i)
        if (checkedAtEnd(script_.steps[i]))
            check(script_.steps[i], *script_.steps[i].expectation(), host, result);
}

}  // namespace script
