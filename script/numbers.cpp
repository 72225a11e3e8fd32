// numbers.cpp - reading and writing the numbers of session scripts.
#include "script/numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace script {

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

// The fewest significant digits that read back as v (finite, not zero), and
// the power of ten of the first: v = 0.DIGITS x 10^(exponent + 1).
void shortestDigits(double v, std::string &digits, int &exponent) {
    char buf[48];
    for (int precision = 0; precision < 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*e", precision, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    // buf is [-]D[.DDD]e(+|-)XX
    const char *p = buf + (buf[0] == '-' ? 1 : 0);
    digits.clear();
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
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

std::string writeNumber(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    const std::string sign = std::signbit(v) ? "-" : "";
    if (v == 0) return sign + "0";
    std::string digits;
    int exponent = 0;
    shortestDigits(v, digits, exponent);
    if (exponent < -6 || exponent > 20) {
        const std::string mantissa =
            digits.size() == 1 ? digits : digits.substr(0, 1) + "." + digits.substr(1);
        return sign + mantissa + "e" + (exponent < 0 ? "-" : "+") +
               std::to_string(exponent < 0 ? -exponent : exponent);
    }
    if (exponent < 0) return sign + "0." + std::string(static_cast<size_t>(-exponent) - 1, '0') + digits;
    const size_t whole = static_cast<size_t>(exponent) + 1;  // digits before the point
    if (digits.size() <= whole) return sign + digits + std::string(whole - digits.size(), '0');
    return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}

}  // namespace script
