// recorder.h - a session done by hand, kept as the actions that replay it.
//
// The input (PanelInput) hands over each action that reached the plug-in, in
// the form that replays it: a click on a light's row by the light's name, a
// drag gesture as one action once it ends. Printable keys in a row (codes 32
// to 126) join one Type action. What did not reach the plug-in is never
// handed over: a replay would fail there. The simulated Layout writes no
// script: a front end turns the recording into script lines with script/'s
// writer (script/recording.h).
#ifndef VANTOREL_SIM_RECORDER_H
#define VANTOREL_SIM_RECORDER_H

#include <string>
#include <vector>

#include "action.h"

namespace sim {

class Recorder {
public:
    // One action; note: what the person saw of it, for the reader of the
    // script, such as the item chosen or the name painted where the list was
    // clicked ("" for none). Texts in the action must hold no line break.
    void record(const Action &a, const std::string &note = {});

    // The session so far, one action each, and each action's note.
    const std::vector<Action> &actions() const { return actions_; }
    const std::vector<std::string> &notes() const { return notes_; }

private:
    void add(const Action &a, const std::string &note);

    std::vector<Action> actions_;
    std::vector<std::string> notes_;
    bool typing_ = false;  // the last action is a type run that may grow
};

}  // namespace sim

#endif
