// utf8.cpp - encoding, lenient decoding, caret steps.
#include "utf8.h"

namespace sim::utf8 {

std::string encode(uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

std::vector<uint32_t> codePoints(std::string_view text) {
    std::vector<uint32_t> out;
    size_t i = 0;
    while (i < text.size()) {
        uint32_t c = static_cast<unsigned char>(text[i++]);
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more) c &= 0x3Fu >> more;
        for (; more > 0 && i < text.size() && continuation(text[i]); --more, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3Fu);
        out.push_back(c);
    }
    return out;
}

size_t previous(const std::string &text, size_t at) {
    if (at == 0) return 0;
    --at;
    while (at > 0 && continuation(text[at])) --at;
    return at;
}

size_t next(const std::string &text, size_t at) {
    if (at >= text.size()) return text.size();
    ++at;
    while (at < text.size() && continuation(text[at])) ++at;
    return at;
}

size_t characterStart(const std::string &text, size_t at) {
    if (at > text.size()) return text.size();
    while (at > 0 && at < text.size() && continuation(text[at])) --at;
    return at;
}

}  // namespace sim::utf8
