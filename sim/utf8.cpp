// utf8.cpp - encoding, lenient decoding, caret steps.
#include "utf8.h"

#include "scene/name_text.h"

namespace sim::utf8 {

std::string encode(uint32_t cp) { return scene::utf8Of(static_cast<char32_t>(cp)); }

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
