// lws_text.cpp - tokens, numbers and number formatting for scene files.
#include "scenefile/lws_text.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace scenefile {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Tokens tokenize(std::string_view line, std::size_t maxTokens) {
    Tokens out;
    if (maxTokens > Tokens::kMaxTokens) maxTokens = Tokens::kMaxTokens;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && out.count < maxTokens) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        Token &t = out.at[out.count++];
        t.begin = i;
        while (i < n && line[i] != ' ' && line[i] != '\t') ++i;
        t.end = i;
    }
    return out;
}

namespace {

// Scene files are mostly short plain decimals ("0.388235"). One of at most
// 19 digits whose value without the point is at most 2^53 is the quotient of
// two doubles that hold their values exactly, so one division gives the
// nearest double, as strtod would, without strtod's cost (in WebAssembly it
// works in software floating point). Any other text is left to strtod.
bool quickDecimal(std::string_view text, double &value) {
    // Powers of ten up to 1e22 are exact doubles; 19 places need up to 1e19.
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                     1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || text[0] == '-') ++i;
    std::uint64_t digits = 0;
    int places = -1;  // digits after the point; -1 before it
    int count = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            places = 0;
            continue;
        }
        if (!isDigit(c) || ++count > 19) return false;  // an exponent, or too many digits
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        if (places >= 0) ++places;
    }
    if (places < 0) places = 0;
    if (digits > (std::uint64_t{1} << 53)) return false;
    const double v = static_cast<double>(digits) / kPowers[places];
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool parseNumber(std::string_view text, double &value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (n == 0 || n > 400) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    if (quickDecimal(text, value)) return true;
    // The text is a plain decimal in the C locale's form; strtod reads it exactly.
    char buf[401];  // n <= 400, checked above
    text.copy(buf, n);
    buf[n] = '\0';
    errno = 0;
    char *end = nullptr;
    const double v = std::strtod(buf, &end);
    if (end != buf + n) return false;
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parseInt(std::string_view text, int32_t &value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (n == 0) return false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    if (i == n) return false;
    int64_t v = 0;
    for (; i < n; ++i) {
        if (!isDigit(text[i])) return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool parseHexId(std::string_view text, uint32_t &value) {
    if (text.empty() || text.size() > 8) return false;
    uint32_t v = 0;
    for (char c : text) {
        uint32_t d;
        if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
        else return false;
        v = (v << 4) | d;
    }
    value = v;
    return true;
}

std::string formatFixed(double value) {
    // "%f" of the largest double needs about 320 characters.
    char buf[400];
    const int len = std::snprintf(buf, sizeof buf, "%f", value);
    if (len < 0) return std::string();
    if (static_cast<std::size_t>(len) >= sizeof buf) return std::string(buf, sizeof buf - 1);
    return std::string(buf, static_cast<std::size_t>(len));
}

std::string formatTrimmed(double value) {
    std::string s = formatFixed(value);
    const std::size_t point = s.find('.');
    if (point != std::string::npos) {
        std::size_t end = s.size();
        while (end > point + 1 && s[end - 1] == '0') --end;
        if (end == point + 1) end = point;
        s.resize(end);
    }
    if (s == "-0") s = "0";
    return s;
}

std::string formatInt(int32_t value) {
    char buf[16];
    const int len = std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    return std::string(buf, len > 0 ? static_cast<std::size_t>(len) : 0u);
}

}  // namespace scenefile
