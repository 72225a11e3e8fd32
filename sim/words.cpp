// words.cpp - small parsing helpers shared by the command interpreter and the
// session-script reader.
#include "words.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace sim {

namespace {
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool sameWord(std::string_view word, const char *keyword) {
    size_t i = 0;
    for (; i < word.size() && keyword[i]; ++i)
        if (asciiLower(word[i]) != asciiLower(keyword[i])) return false;
    return i == word.size() && keyword[i] == '\0';
}

bool parseFiniteDouble(std::string_view word, double &out) {
    if (word.empty()) return false;
    // strtod needs a terminated text: short words (all that "%f" makes of
    // ordinary values) are copied to the stack, long ones to the heap.
    char small[64];
    std::string big;
    const char *text = small;
    if (word.size() < sizeof small) {
        std::memcpy(small, word.data(), word.size());
        small[word.size()] = '\0';
    } else {
        big.assign(word);
        text = big.c_str();
    }
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end != text + word.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

}  // namespace sim
