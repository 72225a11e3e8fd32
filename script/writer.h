// writer.h - writing session scripts: Actions, Steps and Scripts as text.
//
// Each step becomes one line in the writer's canonical form, which the
// reader takes back as the same step: words separated by one blank, no
// comment; a text bare when it can be and in double quotes (with \" and \\)
// when it is empty or holds a blank, '"' or '#'; numbers in the shortest form
// that reads back as the same double (numbers.h); a choice's item as its word
// (lighttype Spot) and a number outside the words; a key as one character,
// backspace or 0x hexadecimal; click-y without X when X is 0 and click
// without N for the first light of a name.
//
// Some values have no line the reader takes: a text holding a line break or
// a NUL, a number that is not finite, a key outside 0..65535, a row number
// below 1, a snapshot without a file. They are still written (as words the
// reader refuses, so a report can show them); unwritable() says which.
#ifndef VANTOREL_SCRIPT_WRITER_H
#define VANTOREL_SCRIPT_WRITER_H

#include <cstdint>
#include <string>

#include "script/script.h"

namespace script {

std::string writeText(const std::string &text);
std::string writeKey(std::int32_t code);
std::string writeAction(const sim::Action &a);
std::string writeExpectation(const Expectation &e);
std::string writeStep(const Step &s);
// One line per step, each ending in '\n'.
std::string writeScript(const Script &s);

// Why the reader would not take back the line written for a, or "" when it would.
std::string unwritable(const sim::Action &a);
std::string unwritable(const Step &s);

}  // namespace script

#endif
