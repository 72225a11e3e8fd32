// script_numbers.cpp - reading the numbers of session scripts.
#include "script_numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vhost {

namespace {

// Scene files take no longer number (scenefile::parseNumber).
constexpr std::size_t kMaxChars = 400;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithWord(const std::string &w, std::size_t at, const char *word) {
    std::size_t i = 0;
    for (; word[i]; ++i)
        if (at + i >= w.size() || lower(w[at + i]) != word[i]) return false;
    return true;
}

// What the text is, by the scene files' grammar.
struct Shape {
    bool number = false;  // [+-] digits [. digits] [(e|E) [+-] digits], a digit at least before the exponent
    bool point = false;
    bool exponent = false;
};

Shape shapeOf(const std::string &w) {
    Shape s;
    std::size_t i = 0;
    const std::size_t n = w.size();
    if (i < n && (w[i] == '+' || w[i] == '-')) ++i;
    std::size_t digits = 0;
    for (; i < n && isDigit(w[i]); ++i) ++digits;
    if (i < n && w[i] == '.') {
        s.point = true;
        ++i;
        for (; i < n && isDigit(w[i]); ++i) ++digits;
    }
    if (digits == 0) return s;
    if (i < n && (w[i] == 'e' || w[i] == 'E')) {
        s.exponent = true;
        ++i;
        if (i < n && (w[i] == '+' || w[i] == '-')) ++i;
        std::size_t expDigits = 0;
        for (; i < n && isDigit(w[i]); ++i) ++expDigits;
        if (expDigits == 0) return s;
    }
    s.number = i == n;
    return s;
}

// The reason a word that is not a number by the grammar is refused.
std::string notANumber(const std::string &w) {
    const std::size_t at = !w.empty() && (w[0] == '+' || w[0] == '-') ? 1 : 0;
    if (startsWithWord(w, at, "0x"))
        return "is hexadecimal; numbers are written in decimal here, as in scene files";
    if (startsWithWord(w, at, "inf") || startsWithWord(w, at, "nan")) return "is not a finite number";
    return "is not a number";
}

std::string tooManyDigits(const std::string &w) {
    return "has too many digits (" + std::to_string(w.size()) + " characters; a number may have at most " +
           std::to_string(kMaxChars) + ", as in scene files)";
}

}  // namespace

std::string readScriptNumber(const std::string &word, double &out) {
    const Shape shape = shapeOf(word);
    if (!shape.number) return notANumber(word);
    if (word.size() > kMaxChars) return tooManyDigits(word);
    const double v = std::strtod(word.c_str(), nullptr);
    if (!std::isfinite(v)) return "is too large for a double (the largest is about 1.8e308)";
    out = v;
    return "";
}

std::string readWholeNumber(const std::string &word, long long lo, long long hi, long long &out) {
    const Shape shape = shapeOf(word);
    if (!shape.number) return notANumber(word);
    if (word.size() > kMaxChars) return tooManyDigits(word);
    std::string range =
        "is out of range: give a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    if (!shape.point && !shape.exponent) {
        errno = 0;
        const long long v = std::strtoll(word.c_str(), nullptr, 10);
        if (errno == ERANGE || v < lo || v > hi) return range;
        out = v;
        return "";
    }
    const double v = std::strtod(word.c_str(), nullptr);
    if (std::isfinite(v) && v != std::floor(v)) return "is not a whole number";
    if (!std::isfinite(v) || v < static_cast<double>(lo) || v > static_cast<double>(hi)) return range;
    return std::string("is written with ") + (shape.exponent ? "an exponent" : "a decimal point") +
           "; write a whole number in plain digits: " + std::to_string(static_cast<long long>(v));
}

}  // namespace vhost
