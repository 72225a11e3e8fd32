// lws_text.h - small text helpers shared by the scene-file reader and writer.
#ifndef VANTOREL_SCENEFILE_LWS_TEXT_H
#define VANTOREL_SCENEFILE_LWS_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenefile {

struct Token {
    std::size_t begin = 0;
    std::size_t end = 0;  // one past the last byte
};

// The first tokens of a line; no line needs more than kMaxTokens.
struct Tokens {
    static constexpr std::size_t kMaxTokens = 8;
    Token at[kMaxTokens];
    std::size_t count = 0;
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    const Token &operator[](std::size_t i) const { return at[i]; }
};

// Splits on spaces and tabs. At most maxTokens tokens (and never more than
// Tokens::kMaxTokens) are returned; the rest of the line is not examined.
Tokens tokenize(std::string_view line, std::size_t maxTokens);

inline std::string_view tokenText(std::string_view line, const Token &t) {
    return line.substr(t.begin, t.end - t.begin);
}

// Strict decimal number: [+-]digits[.digits][(e|E)[+-]digits], or with the
// digits only after the point. No hex, no "nan"/"inf", no surrounding text.
// Fails for values that overflow a double.
bool parseNumber(std::string_view text, double &value);
// Strict decimal integer in the range of int32_t.
bool parseInt(std::string_view text, int32_t &value);
// 1 to 8 hexadecimal digits, either case, no prefix.
bool parseHexId(std::string_view text, uint32_t &value);

// Six decimals with trailing zeros and a trailing point removed; "-0" is "0".
std::string formatTrimmed(double value);
// printf "%f".
std::string formatFixed(double value);
std::string formatInt(int32_t value);

}  // namespace scenefile

#endif
