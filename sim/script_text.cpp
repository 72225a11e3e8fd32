// script_text.cpp - writing words of the session-script language.
#include "script_text.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

std::string scriptQuoted(const std::string &text) {
    std::string s = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') s += '\\';
        s += c;
    }
    return s + "\"";
}

std::string scriptNumber(double v) {
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    return buf;
}

std::string scriptKey(uint16_t code) {
    if (code == 8) return "backspace";
    if (code > 32 && code < 127 && code != '"' && code != '#') return std::string(1, static_cast<char>(code));
    if (code == ' ' || code == '"' || code == '#')
        return scriptQuoted(std::string(1, static_cast<char>(code)));
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(code));
    return buf;
}

std::string scriptButton(Button b) {
    switch (b) {
    case Button::Copy: return "copy";
    case Button::Paste: return "paste";
    case Button::Clear: return "clear";
    }
    return "clear";
}

}  // namespace sim
