// reader.cpp - reading session scripts: a table of words, each with a small
// parser of its own.
#include "script/reader.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "scene/name_text.h"
#include "script/line_words.h"
#include "script/numbers.h"
#include "sim/panel_facts.h"
#include "words.h"

namespace script {

namespace {

// A word as messages quote it; a long one is cut, its length follows anyway.
std::string quoted(const std::string &w) {
    return w.size() > 40 ? "'" + w.substr(0, 32) + "...'" : "'" + w + "'";
}

bool toInt(const std::string &w, long long &out) {
    return readWholeNumber(w, INT32_MIN, INT32_MAX, out).empty();
}

// A choice given as a word of the list or as a number.
bool toChoice(const std::string &w, bool lightType, std::int32_t &out) {
    const int count = lightType ? sim::kLightTypeCount : sim::kShadowTypeCount;
    for (int i = 0; i < count; ++i)
        if (sim::sameWord(w, lightType ? sim::lightTypeName(i) : sim::shadowTypeName(i))) {
            out = i;
            return true;
        }
    long long v = 0;
    if (!toInt(w, v)) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

// A key: one character, "backspace", or a number of two or more characters
// (decimal, or hexadecimal after 0x).
bool toKey(const std::string &w, std::int32_t &out) {
    if (w.size() == 1) {
        out = static_cast<unsigned char>(w[0]);
        return true;
    }
    if (sim::sameWord(w, "backspace")) {
        out = 8;
        return true;
    }
    long long v = -1;
    if (w.size() > 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X')) {
        errno = 0;
        char *end = nullptr;
        v = std::strtoll(w.c_str() + 2, &end, 16);
        if (*end != '\0' || errno == ERANGE) return false;
    } else if (!toInt(w, v)) {
        return false;
    }
    if (v < 0 || v > 0xFFFF) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

// One line being read: its words, the step it makes, and why it is refused.
struct Line {
    const std::vector<std::string> &w;
    size_t n;  // arguments after the first word
    Step &step;
    std::string why;
    bool unknownAction = false;

    bool bad(std::string what) {
        why = std::move(what);
        return false;
    }
    bool act(sim::Action a) {
        step.what = std::move(a);
        return true;
    }
    bool expect(Expectation e) {
        step.what = std::move(e);
        return true;
    }
    bool arity(size_t k, const std::string &usage) {
        if (n == k) return true;
        return bad(
            "'" + w[0] + "' takes " +
            (k == 0 ? std::string("no argument") : std::to_string(k) + " argument" + (k > 1 ? "s" : "")) +
            "; write: " + usage + (k == 1 ? " (quote a text with blanks)" : ""));
    }
    bool intArg(size_t i, const char *what, std::int32_t &out) {
        long long v = 0;
        const std::string refused = readWholeNumber(w[i], INT32_MIN, INT32_MAX, v);
        if (!refused.empty()) return bad(quoted(w[i]) + " (" + what + ") " + refused);
        out = static_cast<std::int32_t>(v);
        return true;
    }
    bool numArg(size_t i, const char *what, double &out) {
        const std::string refused = readScriptNumber(w[i], out);
        if (!refused.empty()) return bad(quoted(w[i]) + " (" + what + ") " + refused);
        return true;
    }
};

// ---- actions ----------------------------------------------------------------

bool readClick(Line &l) {
    if (l.n != 1 && l.n != 2)
        return l.bad(
            "'click' takes a name and, for a later row of that name, its number; write: click "
            "NAME [N] (quote a name with blanks)");
    long long k = 1;
    if (l.n == 2 && (!toInt(l.w[2], k) || k < 1))
        return l.bad("'" + l.w[2] + "' is not a row number: give 1 for the first row named \"" +
                     scene::textAsUtf8(l.w[1]) + "\", 2 for the second, and so on");
    return l.act(sim::Action::clickName(l.w[1], static_cast<std::int32_t>(k)));
}

bool readClickY(Line &l) {
    if (l.n != 1 && l.n != 2) return l.bad("'click-y' takes 1 or 2 arguments; write: click-y Y [X]");
    std::int32_t y = 0, x = 0;
    if (!l.intArg(1, "mouse y", y) || (l.n == 2 && !l.intArg(2, "mouse x", x))) return false;
    return l.act(sim::Action::clickY(y, x));
}

bool readScroll(Line &l) {
    std::int32_t v = 0;
    return l.arity(1, "scroll Y") && l.intArg(1, "slider position", v) && l.act(sim::Action::scroll(v));
}

bool readKey(Line &l) {
    if (!l.arity(1, "key K")) return false;
    std::int32_t k = 0;
    if (!toKey(l.w[1], k))
        return l.bad("'" + l.w[1] +
                     "' is not a key: give one character, backspace, or a code from 0 to 65535 "
                     "(decimal, or 0x hexadecimal)");
    return l.act(sim::Action::key(k));
}

bool readType(Line &l) { return l.arity(1, "type TEXT") && l.act(sim::Action::type(l.w[1])); }

bool readPrefix(Line &l) { return l.arity(1, "prefix TEXT") && l.act(sim::Action::prefix(l.w[1])); }

bool readIntensity(Line &l) {
    double v = 0;
    return l.arity(1, "intensity V") && l.numArg(1, "intensity", v) && l.act(sim::Action::intensity(v));
}

bool readRange(Line &l) {
    double v = 0;
    return l.arity(1, "range V") && l.numArg(1, "range", v) && l.act(sim::Action::range(v));
}

bool readColor(Line &l) {
    std::int32_t r = 0, g = 0, b = 0;
    return l.arity(3, "color R G B") && l.intArg(1, "red", r) && l.intArg(2, "green", g) &&
           l.intArg(3, "blue", b) && l.act(sim::Action::color(r, g, b));
}

bool readChoice(Line &l, bool lightType) {
    if (!l.arity(
            1, lightType ? "lighttype Distant|Point|Spot|Linear|Area|N" : "shadow Off|Raytrace|ShadowMap|N"))
        return false;
    std::int32_t v = 0;
    if (!toChoice(l.w[1], lightType, v))
        return l.bad("'" + l.w[1] + "' is not a " +
                     (lightType ? "light type: use Distant, Point, Spot, Linear, Area or a number"
                                : "shadow type: use Off, Raytrace, ShadowMap or a number"));
    return l.act(lightType ? sim::Action::lightType(v) : sim::Action::shadow(v));
}
bool readLightType(Line &l) { return readChoice(l, true); }
bool readShadow(Line &l) { return readChoice(l, false); }

bool readDrag(Line &l) {
    std::vector<std::int32_t> distances(l.n);
    for (size_t i = 1; i <= l.n; ++i)
        if (!l.intArg(i, "drag distance", distances[i - 1])) return false;
    return l.act(sim::Action::drag(std::move(distances)));
}

bool readDragEvent(Line &l) {
    std::int32_t d = 0, c = 0;
    return l.arity(2, "drag-event DIST COUNTER") && l.intArg(1, "distance", d) &&
           l.intArg(2, "step counter", c) && l.act(sim::Action::dragEvent(d, c));
}

bool readSnapshot(Line &l) {
    if (!l.arity(1, "snapshot FILE.png")) return false;
    if (l.w[1].empty()) return l.bad("'snapshot' needs a file name, not an empty one");
    l.step.what = Snapshot{l.w[1]};
    return true;
}

bool readCopy(Line &l) { return l.arity(0, "copy") && l.act(sim::Action::press(sim::Button::Copy)); }
bool readPaste(Line &l) { return l.arity(0, "paste") && l.act(sim::Action::press(sim::Button::Paste)); }
bool readClear(Line &l) { return l.arity(0, "clear") && l.act(sim::Action::press(sim::Button::Clear)); }
bool readOk(Line &l) { return l.arity(0, "ok") && l.act(sim::Action::ok()); }
bool readCancel(Line &l) { return l.arity(0, "cancel") && l.act(sim::Action::cancel()); }

// ---- expectations -------------------------------------------------------------

bool readExpectSelected(Line &l) {
    return l.expect(Expectation::selected(std::vector<std::string>(l.w.begin() + 2, l.w.end())));
}

bool readFieldNumber(Line &l, const std::string &f) {
    if (l.n != 3) return l.bad("write: expect field " + f + " V");
    double v = 0;
    if (!l.numArg(3, f.c_str(), v)) return false;
    return l.expect(Expectation::fieldNumber(f == "range" ? sim::Role::Range : sim::Role::Intensity, v));
}

bool readFieldColor(Line &l) {
    if (l.n != 5) return l.bad("write: expect field color R G B");
    std::int32_t r = 0, g = 0, b = 0;
    return l.intArg(3, "red", r) && l.intArg(4, "green", g) && l.intArg(5, "blue", b) &&
           l.expect(Expectation::fieldColor(r, g, b));
}

bool readFieldChoice(Line &l, const std::string &f) {
    if (l.n != 3) return l.bad("write: expect field " + f + " WORD-or-N");
    const bool lightType = f == "lighttype";
    std::int32_t v = 0;
    if (!toChoice(l.w[3], lightType, v))
        return l.bad("'" + l.w[3] + "' is not a " + (lightType ? "light type" : "shadow type"));
    return l.expect(Expectation::fieldChoice(lightType ? sim::Role::LightType : sim::Role::Shadow, v));
}

bool readExpectField(Line &l) {
    if (l.n < 2) return l.bad("'expect field' needs a control: intensity, range, color, lighttype or shadow");
    const std::string &f = l.w[2];
    if (f == "intensity" || f == "range") return readFieldNumber(l, f);
    if (f == "color") return readFieldColor(l);
    if (f == "lighttype" || f == "shadow") return readFieldChoice(l, f);
    return l.bad("unknown field '" + f + "': use intensity, range, color, lighttype or shadow");
}

bool readExpectGhosted(Line &l) {
    if (l.n != 2 || (l.w[2] != "yes" && l.w[2] != "no")) return l.bad("write: expect ghosted yes|no");
    return l.expect(Expectation::ghostedState(l.w[2] == "yes"));
}

bool readExpectText(Line &l) {
    const std::string &what = l.w[1];
    if (l.n != 2) return l.bad("write: expect " + what + " TEXT (quote a text with blanks)");
    return l.expect(what == "info"    ? Expectation::info(l.w[2])
                    : what == "error" ? Expectation::error(l.w[2])
                                      : Expectation::prefix(l.w[2]));
}

bool readExpectResult(Line &l) {
    if (l.n != 2) return l.bad("write: expect result N");
    std::int32_t v = 0;
    return l.intArg(2, "result", v) && l.expect(Expectation::result(v));
}

bool readExpectCommand(Line &l) {
    if (l.n != 3) return l.bad("write: expect command N TEXT (quote a text with blanks)");
    std::int32_t nth = 0;
    if (!l.intArg(2, "command number", nth)) return false;
    if (nth < 1) return l.bad("write: expect command N TEXT with N from 1, the first command");
    return l.expect(Expectation::command(nth, l.w[3]));
}

bool readExpectCommands(Line &l) {
    if (l.n != 2) return l.bad("write: expect commands N");
    std::int32_t count = 0;
    if (!l.intArg(2, "number of commands", count)) return false;
    if (count < 0) return l.bad("write: expect commands N with N from 0");
    return l.expect(Expectation::commands(count));
}

struct Word {
    const char *word;
    bool (*read)(Line &);
};

constexpr Word kExpectations[] = {
    {"selected", readExpectSelected}, {"field", readExpectField},     {"ghosted", readExpectGhosted},
    {"info", readExpectText},         {"error", readExpectText},      {"prefix", readExpectText},
    {"result", readExpectResult},     {"command", readExpectCommand}, {"commands", readExpectCommands},
};

bool readExpect(Line &l) {
    if (l.n < 1)
        return l.bad(
            "'expect' needs what to check: selected, field, ghosted, info, error, prefix, result, command or "
            "commands");
    for (const Word &e : kExpectations)
        if (l.w[1] == e.word) return e.read(l);
    return l.bad("unknown expectation '" + l.w[1] +
                 "': use selected, field, ghosted, info, error, prefix, result, command or commands");
}

constexpr Word kActions[] = {
    {"click", readClick},
    {"click-y", readClickY},
    {"scroll", readScroll},
    {"key", readKey},
    {"type", readType},
    {"prefix", readPrefix},
    {"intensity", readIntensity},
    {"range", readRange},
    {"color", readColor},
    {"lighttype", readLightType},
    {"shadow", readShadow},
    {"drag", readDrag},
    {"drag-event", readDragEvent},
    {"snapshot", readSnapshot},
    {"copy", readCopy},
    {"paste", readPaste},
    {"clear", readClear},
    {"ok", readOk},
    {"cancel", readCancel},
    {"expect", readExpect},
};

bool readWords(Line &l) {
    for (const Word &a : kActions)
        if (l.w[0] == a.word) return a.read(l);
    l.unknownAction = true;
    return l.bad("unknown action '" + l.w[0] + "'");
}

}  // namespace

bool readScript(const std::string &text, const std::string &name, Script &out, ReadError &error) {
    out.name = name;
    out.steps.clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0, closedAt = 0;
    auto bad = [&](std::string what, bool unknownAction = false) {
        error = {lineNo, std::move(what), unknownAction};
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A NUL would cut the line short in messages and in every C string it reaches.
        const size_t nul = line.find('\0');
        if (nul != std::string::npos)
            return bad("a NUL byte (0x00) at column " + std::to_string(nul + 1) + "; scripts are text");
        LineWords words;
        std::string why;
        if (!splitLine(line, words, why)) return bad(why);
        if (words.words.empty()) continue;
        const std::string &verb = words.words[0];
        if (closedAt && verb != "expect")
            return bad("'" + verb + "' comes after the panel was closed on line " + std::to_string(closedAt) +
                       "; move it before ok/cancel");
        Step step;
        step.line = lineNo;
        step.source = words.source;
        Line l{words.words, words.words.size() - 1, step, {}};
        if (!readWords(l)) return bad(l.why, l.unknownAction);
        if (step.closes()) closedAt = lineNo;
        out.steps.push_back(std::move(step));
    }
    return true;
}

}  // namespace script
