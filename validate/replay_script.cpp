// replay_script.cpp - writing a replay's lines in the session-script language.
#include "replay_script.h"

#include <charconv>
#include <cmath>

#include "script_text.h"

namespace validate {

namespace {

std::string number(std::int32_t v) { return std::to_string(v); }

// The shortest text that reads back as exactly v, plain where that is no
// longer ("intensity 50", "1e+308").
std::string number(double v) {
    char buf[64];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// A text as one word: bare when the reader takes it so, else in quotes.
std::string textWord(const std::string &text) {
    bool bare = !text.empty();
    for (char c : text) bare = bare && c > ' ' && c <= '~' && c != '"' && c != '#';
    return bare ? text : sim::scriptQuoted(text);
}

}  // namespace

std::string unwritable(const sim::Action &a) {
    switch (a.kind) {
    case sim::ActionKind::Intensity:
    case sim::ActionKind::Range: return std::isfinite(a.number) ? "" : "a script holds finite numbers only";
    case sim::ActionKind::Prefix:
    case sim::ActionKind::Type:
    case sim::ActionKind::ClickName:
        return a.text.find_first_of(std::string("\n\0", 2)) == std::string::npos
                   ? ""
                   : "a script line holds no line break or NUL byte";
    default: return "";
    }
}

std::string actionLine(const sim::Action &a) {
    using sim::ActionKind;
    switch (a.kind) {
    case ActionKind::ClickY: return "click-y " + number(a.y) + (a.x ? " " + number(a.x) : "");
    case ActionKind::ClickName:
        return "click " + textWord(a.text) + (a.occurrence != 1 ? " " + number(a.occurrence) : "");
    case ActionKind::Scroll: return "scroll " + number(a.value);
    case ActionKind::Key: return "key " + sim::scriptKey(static_cast<uint16_t>(a.value));
    case ActionKind::Type: return "type " + textWord(a.text);
    case ActionKind::Prefix: return "prefix " + textWord(a.text);
    case ActionKind::Intensity: return "intensity " + number(a.number);
    case ActionKind::Range: return "range " + number(a.number);
    case ActionKind::Color:
        return "color " + number(a.rgb[0]) + " " + number(a.rgb[1]) + " " + number(a.rgb[2]);
    case ActionKind::LightType: return "lighttype " + number(a.value);
    case ActionKind::Shadow: return "shadow " + number(a.value);
    case ActionKind::Drag: {
        std::string line = "drag";
        for (std::int32_t d : a.distances) line += " " + number(d);
        return line;
    }
    case ActionKind::DragEvent: return "drag-event " + number(a.distance) + " " + number(a.counter);
    case ActionKind::Press: return sim::scriptButton(a.button);
    case ActionKind::Ok: return "ok";
    case ActionKind::Cancel: return "cancel";
    }
    return "cancel";
}

std::string expectPrefixLine(const std::string &text) { return "expect prefix " + textWord(text); }
std::string expectResultLine(int result) { return "expect result " + std::to_string(result); }
std::string expectCommandCountLine(size_t count) { return "expect commands " + std::to_string(count); }
std::string expectCommandLine(size_t nth, const std::string &command) {
    return "expect command " + std::to_string(nth) + " " + textWord(command);
}

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
