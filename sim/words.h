// words.h - small parsing helpers shared by the command interpreter and the
// session-script reader.
#ifndef VANTOREL_SIM_WORDS_H
#define VANTOREL_SIM_WORDS_H

#include <string_view>

namespace sim {

// Case-insensitive equality of a word and a keyword (ASCII).
bool sameWord(std::string_view word, const char *keyword);
// The whole word as a finite double; false for trailing text, overflow or non-numbers.
bool parseFiniteDouble(std::string_view word, double &out);

}  // namespace sim

#endif
