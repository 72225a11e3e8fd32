// command_check.cpp - every command parses back to what it carries.
#include "command_check.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "words.h"

namespace validate {

namespace {

bool allOf(std::string_view s, const char *set) {
    return !s.empty() && s.find_first_not_of(set) == std::string_view::npos;
}

// "%f" text: optional minus, digits, a point and exactly six decimals, and
// the same text again when read back and printed.
bool fixedParsesBack(std::string_view w) {
    if (w.empty()) return false;
    size_t start = w[0] == '-' ? 1 : 0;
    size_t dot = w.find('.');
    if (dot == std::string_view::npos || dot == start || w.size() - dot - 1 != 6) return false;
    if (!allOf(w.substr(start, dot - start), "0123456789") || !allOf(w.substr(dot + 1), "0123456789"))
        return false;
    const sim::TerminatedWord text(w);
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end != text.end() || !std::isfinite(v)) return false;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%f", v);
    return w == buf;
}

bool intParsesBack(std::string_view w) {
    if (w.empty() || !allOf(w[0] == '-' ? w.substr(1) : w, "0123456789") || w.size() > 11) return false;
    long long v = std::strtoll(sim::TerminatedWord(w).c_str(), nullptr, 10);
    return v >= INT32_MIN && v <= INT32_MAX && std::to_string(v) == w;
}

bool hexParsesBack(std::string_view w) {
    if (!allOf(w, "0123456789abcdef") || w.size() > 8) return false;
    unsigned long v = std::strtoul(sim::TerminatedWord(w).c_str(), nullptr, 16);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%lx", v);
    return w == buf;
}

// "nan" or "inf" anywhere, in any case. (c | 0x20 is the lower case of an
// ASCII letter, and only the letter itself and its capital give these.)
bool carriesNonNumber(std::string_view c) {
    for (size_t i = 0; i + 3 <= c.size(); ++i) {
        const char a = static_cast<char>(c[i] | 0x20), b = static_cast<char>(c[i + 1] | 0x20),
                   d = static_cast<char>(c[i + 2] | 0x20);
        if ((a == 'n' && b == 'a' && d == 'n') || (a == 'i' && b == 'n' && d == 'f')) return true;
    }
    return false;
}

// Words joined by single spaces, and nothing else: no other white space, none
// at either end.
bool singleSpaced(std::string_view c) {
    if (c.empty() || c.front() == ' ' || c.back() == ' ') return false;
    for (size_t i = 0; i < c.size(); ++i)
        if ((c[i] >= '\t' && c[i] <= '\r') || (c[i] == ' ' && c[i + 1] == ' ')) return false;
    return true;
}

// A command's first words; all of them are counted.
struct Words {
    std::string_view w[5];
    size_t count = 0;
};

Words splitWords(std::string_view rest) {
    Words words;
    while (!rest.empty()) {
        const size_t space = rest.find(' ');
        if (words.count < 5) words.w[words.count] = rest.substr(0, space);
        ++words.count;
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return words;
}

// The command is one the plug-in may send, with its values in their formats.
bool argumentsParseBack(const Words &words) {
    const std::string_view op = words.w[0], *w = words.w;
    const size_t count = words.count;
    if (op == "EditLights" || op == "DistantLight" || op == "PointLight" || op == "Spotlight" ||
        op == "LinearLight" || op == "AreaLight")
        return count == 1;
    if (op == "SelectItem") return count == 2 && hexParsesBack(w[1]);
    if (op == "ShadowType") return count == 2 && intParsesBack(w[1]);
    if (op == "LightIntensity" || op == "LightRange") return count == 2 && fixedParsesBack(w[1]);
    if (op == "LightColor")
        return count == 4 && fixedParsesBack(w[1]) && fixedParsesBack(w[2]) && fixedParsesBack(w[3]);
    return false;
}

}  // namespace

std::string commandProblem(std::string_view c) {
    if (carriesNonNumber(c)) return "command \"" + std::string(c) + "\" carries a non-number";
    if (singleSpaced(c) && argumentsParseBack(splitWords(c))) return {};
    return "command \"" + std::string(c.substr(0, 200)) +
           "\" does not parse back to the value it carries (cut short or malformed)";
}

std::string commandProblem(const std::vector<std::string> &commands) {
    for (const std::string &c : commands)
        if (std::string p = commandProblem(std::string_view(c)); !p.empty()) return p;
    return {};
}

}  // namespace validate
