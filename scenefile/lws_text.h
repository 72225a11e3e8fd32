// lws_text.h - small text helpers shared by the scene-file reader and writer.
#ifndef VANTOREL_SCENEFILE_LWS_TEXT_H
#define VANTOREL_SCENEFILE_LWS_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace scenefile {

struct Token {
    std::size_t begin = 0;
    std::size_t end = 0;  // one past the last byte
};

// Splits on spaces and tabs. At most maxTokens tokens are returned; the rest of
// the line is not examined.
std::vector<Token> tokenize(const std::string& line, std::size_t maxTokens);

inline std::string tokenText(const std::string& line, const Token& t) {
    return line.substr(t.begin, t.end - t.begin);
}

// Strict decimal number: [+-]digits[.digits][(e|E)[+-]digits], or with the
// digits only after the point. No hex, no "nan"/"inf", no surrounding text.
// Fails for values that overflow a double.
bool parseNumber(const std::string& text, double& value);
// Strict decimal integer in the range of int32_t.
bool parseInt(const std::string& text, int32_t& value);
// 1 to 8 hexadecimal digits, either case, no prefix.
bool parseHexId(const std::string& text, uint32_t& value);

// Six decimals with trailing zeros and a trailing point removed; "-0" is "0".
std::string formatTrimmed(double value);
// printf "%f".
std::string formatFixed(double value);
std::string formatInt(int32_t value);

}  // namespace scenefile

#endif
