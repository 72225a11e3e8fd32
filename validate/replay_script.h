// replay_script.h - the lines of a replay's session script: actions, and the
// expectations the validator's model predicts. Each line is one the script
// reader of vantorel-host takes back as the same action or expectation.
#ifndef VANTOREL_VALIDATE_REPLAY_SCRIPT_H
#define VANTOREL_VALIDATE_REPLAY_SCRIPT_H

#include <string>

#include "action.h"

namespace validate {

// Whether a script line can carry the action: not a number that is not finite
// (scripts hold finite numbers only), no line break in a text. Empty when it
// can; else why not, as a clause ("a script holds finite numbers only").
std::string unwritable(const sim::Action &a);

// The action's line ("click-y 4", "prefix \"S p\"", "intensity 1e+308"); the
// action must be writable.
std::string actionLine(const sim::Action &a);

std::string expectPrefixLine(const std::string &text);
std::string expectResultLine(int result);
std::string expectCommandCountLine(size_t count);
// The command sent nth (from 1) on closing.
std::string expectCommandLine(size_t nth, const std::string &command);

// A comment line: "# " and the text, with anything that is no printable ASCII
// character shown as '?' (a comment ends at the line's end).
std::string commentLine(const std::string &text);

// A word as a POSIX shell reads it back: as it is when it needs no quoting,
// else in single quotes.
std::string shellWord(const std::string &word);

}  // namespace validate

#endif
