// name_text.cpp - light names as a user reads them.
#include "scene/name_text.h"

#include <cstdint>
#include <cstdio>

namespace scene {

namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252; the five bytes
// it leaves undefined stand for the C1 control character of the same number.
const std::uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

void appendUtf8(std::string &out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

bool isUtf8(std::string_view text) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t more = 0;
        unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) more = 1;
        else if (c == 0xE0) more = 2, lo = 0xA0;
        else if (c >= 0xE1 && c <= 0xEF) more = 2, hi = c == 0xED ? 0x9F : 0xBF;
        else if (c == 0xF0) more = 3, lo = 0x90;
        else if (c >= 0xF1 && c <= 0xF3) more = 3;
        else if (c == 0xF4) more = 3, hi = 0x8F;
        else return false;
        if (n - i <= more) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const unsigned char d = static_cast<unsigned char>(text[i + k]);
            if (k == 1 ? (d < lo || d > hi) : (d & 0xC0) != 0x80) return false;
        }
        i += more + 1;
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        appendUtf8(out, c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : c);
    }
    return out;
}

std::string textAsUtf8(std::string_view text) {
    return isUtf8(text) ? std::string(text) : cp1252ToUtf8(text);
}

std::u32string utf8CodePoints(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t more = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = more == 0 ? c : c & (0x3F >> more);
        for (std::size_t k = 1; k <= more && i + k < text.size(); ++k)
            cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += cp;
        i += more + 1;
    }
    return out;
}

std::string utf8Of(char32_t cp) {
    std::string s;
    appendUtf8(s, cp);
    return s;
}

std::string characterName(char32_t cp) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    return "\"" + utf8Of(cp) + "\" (" + code + ")";
}

bool utf8ToCp1252(std::string_view text, std::string &out, char32_t &unmapped) {
    out.clear();
    for (const char32_t cp : utf8CodePoints(text)) {
        int byte = cp <= 0xFF && (cp < 0x80 || cp > 0x9F) ? static_cast<int>(cp) : -1;
        for (int k = 0; k < 32 && byte < 0; ++k)
            if (kCp1252High[k] == cp) byte = 0x80 + k;
        if (byte < 0) {
            unmapped = cp;
            return false;
        }
        out += static_cast<char>(byte);
    }
    return true;
}

bool NameReading::bytesOf(std::string_view text, std::string &bytes, std::string &why) const {
    const std::string utf8Text = textAsUtf8(text);
    if (utf8) {
        bytes = utf8Text;
        return true;
    }
    char32_t unmapped = 0;
    if (utf8ToCp1252(utf8Text, bytes, unmapped)) return true;
    why = characterName(unmapped) +
          " has no byte in cp1252, the code page of this scene's names (they are not all UTF-8), so none of "
          "them can hold it; write the text in characters of cp1252";
    return false;
}

NameReading::NameReading(const std::vector<Light> &lights) {
    for (const Light &l : lights)
        if (!isUtf8(l.name)) {
            utf8 = false;
            return;
        }
}

}  // namespace scene
