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

TerminatedWord::TerminatedWord(std::string_view word) : size_(word.size()) {
    if (word.size() < sizeof short_) {
        std::memcpy(short_, word.data(), word.size());
        short_[word.size()] = '\0';
    } else {
        short_[0] = '\0';
        long_.assign(word);
    }
}

bool parseFiniteDouble(std::string_view word, double &out) {
    if (word.empty()) return false;
    const TerminatedWord text(word);
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.end() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

}  // namespace sim
