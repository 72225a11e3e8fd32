// recorder.cpp - actions to script lines.
#include "recorder.h"

#include "script_text.h"

namespace sim {

namespace {

std::string number(int v) { return std::to_string(v); }

std::string comment(const std::string &note) {
    if (note.empty() || note.find_first_of("\r\n") != std::string::npos) return "";
    return "  # " + note;
}

std::string pressWord(Button b) {
    switch (b) {
    case Button::Copy: return "copy";
    case Button::Paste: return "paste";
    case Button::Clear: return "clear";
    }
    return "";
}

std::string words(const Action &a) {
    switch (a.kind) {
    case ActionKind::ClickY: return "click-y " + number(a.y) + " " + number(a.x);
    case ActionKind::ClickName:
        return "click " + scriptQuoted(a.text) + (a.occurrence > 1 ? " " + number(a.occurrence) : "");
    case ActionKind::Scroll: return "scroll " + number(a.value);
    case ActionKind::Key: return "key " + scriptKey(static_cast<uint16_t>(a.value));
    case ActionKind::Type: return "type " + scriptQuoted(a.text);
    case ActionKind::Prefix: return "prefix " + scriptQuoted(a.text);
    case ActionKind::Intensity: return "intensity " + scriptNumber(a.number);
    case ActionKind::Range: return "range " + scriptNumber(a.number);
    case ActionKind::Color:
        return "color " + number(a.rgb[0]) + " " + number(a.rgb[1]) + " " + number(a.rgb[2]);
    case ActionKind::LightType: return "lighttype " + number(a.value);
    case ActionKind::Shadow: return "shadow " + number(a.value);
    case ActionKind::Drag: {
        std::string line = "drag";
        for (int d : a.distances) line += " " + number(d);
        return line;
    }
    case ActionKind::DragEvent: return "drag-event " + number(a.distance) + " " + number(a.counter);
    case ActionKind::Press: return pressWord(a.button);
    case ActionKind::Ok: return "ok";
    case ActionKind::Cancel: return "cancel";
    }
    return "";
}

// The script line of an action, with the note as a trailing comment.
std::string scriptLine(const Action &a, const std::string &note = {}) { return words(a) + comment(note); }

bool typedCode(const Action &a) { return a.kind == ActionKind::Key && a.value >= 32 && a.value <= 126; }

}  // namespace

void Recorder::record(const Action &a, const std::string &note) {
    if (!typedCode(a)) return add(a, note);
    const char c = static_cast<char>(a.value);
    if (typing_) {
        actions_.back().text += c;
        lines_.back() = scriptLine(actions_.back());
        return;
    }
    add(Action::type(std::string(1, c)), {});
    typing_ = true;
}

void Recorder::add(const Action &a, const std::string &note) {
    typing_ = false;
    actions_.push_back(a);
    lines_.push_back(scriptLine(a, note));
}

}  // namespace sim
