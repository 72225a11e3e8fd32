// writer.cpp - session scripts as text, in the reader's own form.
#include "script/writer.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "script/numbers.h"
#include "sim/panel_facts.h"

namespace script {

namespace {

std::string number(std::int32_t v) { return std::to_string(v); }

bool needsQuotes(const std::string &text) {
    if (text.empty()) return true;
    for (char c : text)
        if (c == '"' || c == '#' || std::isspace(static_cast<unsigned char>(c))) return true;
    return false;
}

std::string choice(sim::Role field, std::int32_t item) {
    const char *word = field == sim::Role::LightType ? sim::lightTypeName(item) : sim::shadowTypeName(item);
    return word ? word : number(item);
}

const char *pressWord(sim::Button b) {
    switch (b) {
    case sim::Button::Copy: return "copy";
    case sim::Button::Paste: return "paste";
    case sim::Button::Clear: return "clear";
    }
    return "clear";
}

const char *fieldWord(sim::Role r) {
    switch (r) {
    case sim::Role::Intensity: return "intensity";
    case sim::Role::Range: return "range";
    case sim::Role::Color: return "color";
    case sim::Role::LightType: return "lighttype";
    case sim::Role::Shadow: return "shadow";
    default: return "?";
    }
}

std::string fieldLine(const Expectation &e) {
    std::string line = std::string("expect field ") + fieldWord(e.field) + " ";
    switch (e.field) {
    case sim::Role::Intensity:
    case sim::Role::Range: return line + writeNumber(e.number);
    case sim::Role::Color:
        return line + number(e.values[0]) + " " + number(e.values[1]) + " " + number(e.values[2]);
    default: return line + choice(e.field, e.values[0]);
    }
}

std::string textProblem(const std::string &text) {
    if (text.find('\n') != std::string::npos) return "a line break, which a script line cannot hold";
    if (text.find('\0') != std::string::npos) return "a NUL byte, which a script cannot hold";
    return "";
}

std::string numberProblem(double v) { return std::isfinite(v) ? "" : "a number that is not finite"; }

}  // namespace

std::string writeText(const std::string &text) {
    if (!needsQuotes(text)) return text;
    std::string s = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') s += '\\';
        s += c;
    }
    return s + "\"";
}

std::string writeKey(std::int32_t code) {
    if (code < 0 || code > 0xFFFF) return number(code);
    if (code == 8) return "backspace";
    if (code >= 32 && code < 127) return writeText(std::string(1, static_cast<char>(code)));
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(code));
    return buf;
}

std::string writeAction(const sim::Action &a) {
    using sim::ActionKind;
    switch (a.kind) {
    case ActionKind::ClickY: return "click-y " + number(a.y) + (a.x ? " " + number(a.x) : "");
    case ActionKind::ClickName:
        return "click " + writeText(a.text) + (a.occurrence != 1 ? " " + number(a.occurrence) : "");
    case ActionKind::Scroll: return "scroll " + number(a.value);
    case ActionKind::Key: return "key " + writeKey(a.value);
    case ActionKind::Type: return "type " + writeText(a.text);
    case ActionKind::Prefix: return "prefix " + writeText(a.text);
    case ActionKind::Intensity: return "intensity " + writeNumber(a.number);
    case ActionKind::Range: return "range " + writeNumber(a.number);
    case ActionKind::Color:
        return "color " + number(a.rgb[0]) + " " + number(a.rgb[1]) + " " + number(a.rgb[2]);
    case ActionKind::LightType: return "lighttype " + choice(sim::Role::LightType, a.value);
    case ActionKind::Shadow: return "shadow " + choice(sim::Role::Shadow, a.value);
    case ActionKind::Drag: {
        std::string line = "drag";
        for (std::int32_t d : a.distances) line += " " + number(d);
        return line;
    }
    case ActionKind::DragEvent: return "drag-event " + number(a.distance) + " " + number(a.counter);
    case ActionKind::Press: return pressWord(a.button);
    case ActionKind::Ok: return "ok";
    case ActionKind::Cancel: return "cancel";
    }
    return "";
}

std::string writeExpectation(const Expectation &e) {
    switch (e.check) {
    case Check::Selected: {
        std::string line = "expect selected";
        for (const std::string &n : e.names) line += " " + writeText(n);
        return line;
    }
    case Check::Field: return fieldLine(e);
    case Check::Ghosted: return std::string("expect ghosted ") + (e.ghosted ? "yes" : "no");
    case Check::Info: return "expect info " + writeText(e.text);
    case Check::Error: return "expect error " + writeText(e.text);
    case Check::Prefix: return "expect prefix " + writeText(e.text);
    case Check::Result: return "expect result " + number(e.values[0]);
    case Check::Command: return "expect command " + number(e.values[0]) + " " + writeText(e.text);
    case Check::Commands: return "expect commands " + number(e.values[0]);
    }
    return "";
}

std::string writeStep(const Step &s) {
    if (const sim::Action *a = s.action()) return writeAction(*a);
    if (const Expectation *e = s.expectation()) return writeExpectation(*e);
    return "snapshot " + writeText(s.snapshot()->file);
}

std::string writeScript(const Script &s) {
    std::string text;
    for (const Step &step : s.steps) text += writeStep(step) + "\n";
    return text;
}

std::string unwritable(const sim::Action &a) {
    using sim::ActionKind;
    switch (a.kind) {
    case ActionKind::ClickName:
        if (a.occurrence < 1) return "a row number below 1";
        return textProblem(a.text);
    case ActionKind::Type:
    case ActionKind::Prefix: return textProblem(a.text);
    case ActionKind::Intensity:
    case ActionKind::Range: return numberProblem(a.number);
    case ActionKind::Key: return a.value < 0 || a.value > 0xFFFF ? "a key code outside 0..65535" : "";
    default: return "";
    }
}

std::string unwritable(const Step &s) {
    if (const sim::Action *a = s.action()) return unwritable(*a);
    if (const Snapshot *p = s.snapshot())
        return p->file.empty() ? "a snapshot without a file" : textProblem(p->file);
    const Expectation &e = *s.expectation();
    if (e.check == Check::Field && std::string(fieldWord(e.field)) == "?")
        return "a field the language has no word for";
    if (e.check == Check::Field && (e.field == sim::Role::Intensity || e.field == sim::Role::Range))
        return numberProblem(e.number);
    std::string problem = textProblem(e.text);
    for (const std::string &n : e.names)
        if (problem.empty()) problem = textProblem(n);
    return problem;
}

}  // namespace script
