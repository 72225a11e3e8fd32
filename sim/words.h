// words.h - small parsing helpers shared by the command interpreter and the
// session-script reader.
#ifndef VANTOREL_SIM_WORDS_H
#define VANTOREL_SIM_WORDS_H

#include <string>
#include <string_view>

namespace sim {

// A word as a terminated text, for strtod and its kin: a short word (all that
// "%f" makes of ordinary values) on the stack, a long one on the heap.
class TerminatedWord {
public:
    explicit TerminatedWord(std::string_view word);
    TerminatedWord(const TerminatedWord &) = delete;
    TerminatedWord &operator=(const TerminatedWord &) = delete;
    const char *c_str() const { return long_.empty() ? short_ : long_.c_str(); }
    const char *end() const { return c_str() + size_; }  // where a full parse stops

private:
    char short_[64];
    std::string long_;
    size_t size_;
};

// Case-insensitive equality of a word and a keyword (ASCII).
bool sameWord(std::string_view word, const char *keyword);
// The whole word as a finite double; false for trailing text, overflow or non-numbers.
bool parseFiniteDouble(std::string_view word, double &out);

}  // namespace sim

#endif
