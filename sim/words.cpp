// words.cpp - small parsing helpers shared by the command interpreter and the
// session-script reader.
#include "words.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace sim {

bool sameWord(const std::string &word, const char *keyword) {
    size_t i = 0;
    for (; i < word.size() && keyword[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(word[i])) !=
            std::tolower(static_cast<unsigned char>(keyword[i])))
            return false;
    return i == word.size() && keyword[i] == '\0';
}

bool parseFiniteDouble(const std::string &word, double &out) {
    if (word.empty()) return false;
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

}  // namespace sim
