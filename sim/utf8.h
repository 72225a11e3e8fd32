// utf8.h - UTF-8 as the input side meets it: typed text decoded into
// characters, characters encoded into a field's text, and a caret that never
// stands inside a character.
#ifndef VANTOREL_SIM_UTF8_H
#define VANTOREL_SIM_UTF8_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim::utf8 {

// A byte that continues a character (10xxxxxx).
inline bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The code point in UTF-8 (one to four bytes; code points past 0x10FFFF are
// written in four bytes as they come).
std::string encode(uint32_t cp);

// The characters of a text. Decoding is lenient, as typed text is what it
// is: a byte that neither starts nor continues a character stands for
// itself, and a character cut short ends where its continuation bytes end.
std::vector<uint32_t> codePoints(std::string_view text);

// Byte positions of a caret in text: the start of the character before at,
// the end of the one after it, and at moved back to the start of the
// character it stands in.
size_t previous(const std::string &text, size_t at);
size_t next(const std::string &text, size_t at);
size_t characterStart(const std::string &text, size_t at);

}  // namespace sim::utf8

#endif
