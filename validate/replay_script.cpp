// replay_script.cpp - writing a replay's lines in the session-script language.
#include "replay_script.h"

namespace validate {

std::string commentLine(const std::string &text) {
    std::string line = "# ";
    for (char c : text) line += c >= ' ' && c <= '~' ? c : '?';
    return line;
}

std::string shellWord(const std::string &word) {
    const char *plain = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-./=+,:@%";
    if (!word.empty() && word.find_first_not_of(plain) == std::string::npos) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace validate
