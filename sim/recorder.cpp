// recorder.cpp - the actions of a session done by hand.
#include "recorder.h"

namespace sim {

namespace {

bool typedCode(const Action &a) { return a.kind == ActionKind::Key && a.value >= 32 && a.value <= 126; }

}  // namespace

void Recorder::record(const Action &a, const std::string &note) {
    if (!typedCode(a)) return add(a, note);
    const char c = static_cast<char>(a.value);
    if (typing_) {
        actions_.back().text += c;
        return;
    }
    add(Action::type(std::string(1, c)), {});
    typing_ = true;
}

void Recorder::add(const Action &a, const std::string &note) {
    typing_ = false;
    actions_.push_back(a);
    notes_.push_back(note);
}

}  // namespace sim
