// recorder.h - a session done by hand, kept as a session script.
//
// The input (PanelInput) hands over each action that reached the plug-in, in
// the form that replays it: a click on a light's row by the light's name, a
// drag gesture as one action once it ends. Each becomes one script line, so
// that --script replays the session; printable keys in a row (codes 32 to
// 126) join one type line. What did not reach the plug-in is never handed
// over: a replay would fail there.
#ifndef VANTOREL_SIM_RECORDER_H
#define VANTOREL_SIM_RECORDER_H

#include <string>
#include <vector>

#include "action.h"

namespace sim {

class Recorder {
public:
    // One action; note: a comment for the reader of the script, such as the
    // name of the item chosen ("" for none; left out if it holds a line
    // break). Texts in the action must hold no line break.
    void record(const Action &a, const std::string &note = {});

    // The session so far, one script line per action.
    const std::vector<std::string> &lines() const { return lines_; }
    // The same as actions: a run of typed keys is one Type action.
    const std::vector<Action> &actions() const { return actions_; }

private:
    void add(const Action &a, const std::string &note);

    std::vector<Action> actions_;
    std::vector<std::string> lines_;
    bool typing_ = false;  // the last line is a type run that may grow
};

}  // namespace sim

#endif
