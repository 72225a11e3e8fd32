// replay_script.h - the lines of a replay's session script that are not
// steps: comments, and the command line on its first line.
#ifndef VANTOREL_VALIDATE_REPLAY_SCRIPT_H
#define VANTOREL_VALIDATE_REPLAY_SCRIPT_H

#include <string>

namespace validate {

// The lines of actions and expectations are script::writeAction's and
// script::writeExpectation's; these are the rest.

// A comment line: "# " and the text, with anything that is no printable ASCII
// character shown as '?' (a comment ends at the line's end).
std::string commentLine(const std::string &text);

// A word as a POSIX shell reads it back: as it is when it needs no quoting,
// else in single quotes.
std::string shellWord(const std::string &word);

}  // namespace validate

#endif
