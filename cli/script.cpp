// script.cpp - the session script language of vantorel-host.
#include "script.h"
#include "script_numbers.h"
#include "words.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace vhost {

namespace {

constexpr double kTolerance = 1e-6;

// Splits a line into words. Returns false (with why) on an unclosed quote.
bool tokenize(const std::string &line, std::vector<std::string> &words, std::string &source,
              std::string &why) {
    size_t i = 0;
    size_t end = line.size();
    // Find where a comment starts, outside quotes.
    {
        bool inQuote = false;
        for (size_t k = 0; k < line.size(); ++k) {
            char c = line[k];
            if (inQuote && c == '\\' && k + 1 < line.size()) {
                ++k;
                continue;
            }
            if (c == '"') inQuote = !inQuote;
            else if (c == '#' && !inQuote) {
                end = k;
                break;
            }
        }
    }
    source = line.substr(0, end);
    while (!source.empty() && std::isspace(static_cast<unsigned char>(source.back()))) source.pop_back();
    while (i < end) {
        while (i < end && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= end) break;
        std::string word;
        bool quoted = false;
        while (i < end && !std::isspace(static_cast<unsigned char>(line[i]))) {
            if (line[i] == '"') {
                quoted = true;
                ++i;
                bool closed = false;
                while (i < end) {
                    if (line[i] == '\\' && i + 1 < end && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                        word += line[i + 1];
                        i += 2;
                    } else if (line[i] == '"') {
                        closed = true;
                        ++i;
                        break;
                    } else {
                        word += line[i++];
                    }
                }
                if (!closed) {
                    why = "a double quote is not closed";
                    return false;
                }
            } else {
                word += line[i++];
            }
        }
        if (!word.empty() || quoted) words.push_back(word);
    }
    return true;
}

bool toInt(const std::string &w, long long &out) {
    return readWholeNumber(w, INT32_MIN, INT32_MAX, out).empty();
}

const char *const kLightTypes[] = {"Distant", "Point", "Spot", "Linear", "Area"};
const char *const kShadowTypes[] = {"Off", "Raytrace", "ShadowMap"};

// A choice given as a word of the list or as a number.
bool toChoice(const std::string &w, const char *const *words, size_t count, long long &out) {
    for (size_t i = 0; i < count; ++i)
        if (sim::sameWord(w, words[i])) {
            out = static_cast<long long>(i);
            return true;
        }
    return toInt(w, out);
}

// A key: one character, "backspace", or a number of two or more characters
// (decimal, or hexadecimal after 0x).
bool toKey(const std::string &w, long long &out) {
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
    out = v;
    return true;
}

// A word as messages quote it; a long one is cut, its length follows anyway.
std::string quoted(const std::string &w) {
    return w.size() > 40 ? "'" + w.substr(0, 32) + "...'" : "'" + w + "'";
}

std::string joinNames(const std::vector<std::string> &names) {
    std::string s = "[";
    for (size_t i = 0; i < names.size(); ++i) s += (i ? ", \"" : "\"") + names[i] + "\"";
    return s + "]";
}

std::string fmt(double v) {
    std::ostringstream o;
    o.precision(10);
    o << v;
    return o.str();
}

}  // namespace

bool parseScript(const std::string &text, const std::string &name, Script &out, std::string &error) {
    int line = 0;
    if (parseScript(text, name, out, error, line)) return true;
    error = name + ":" + std::to_string(line) + ": " + error;
    return false;
}

bool parseScript(const std::string &text, const std::string &name, Script &out, std::string &error,
                 int &errorLine) {
    out.name = name;
    out.steps.clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    int closedAt = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> w;
        Step s;
        s.line = lineNo;
        std::string why;
        auto bad = [&](const std::string &what) {
            error = what;
            errorLine = lineNo;
            return false;
        };
        // A NUL would cut the line short in messages and in every C string it reaches.
        const size_t nul = line.find('\0');
        if (nul != std::string::npos)
            return bad("a NUL byte (0x00) at column " + std::to_string(nul + 1) + "; scripts are text");
        if (!tokenize(line, w, s.source, why)) return bad(why);
        if (w.empty()) continue;
        const std::string &verb = w[0];
        const size_t n = w.size() - 1;
        auto arity = [&](size_t k, const char *usage) -> bool {
            if (n == k) return true;
            errorLine = lineNo;
            error =
                "'" + verb + "' takes " +
                (k == 0 ? std::string("no argument") : std::to_string(k) + " argument" + (k > 1 ? "s" : "")) +
                "; write: " + usage + (k == 1 ? " (quote a text with blanks)" : "");
            return false;
        };
        auto intArg = [&](size_t i, const char *what) -> bool {
            long long v = 0;
            const std::string refused = readWholeNumber(w[i], INT32_MIN, INT32_MAX, v);
            if (!refused.empty()) return bad(quoted(w[i]) + " (" + what + ") " + refused);
            s.ints.push_back(v);
            return true;
        };
        auto numArg = [&](size_t i, const char *what) -> bool {
            const std::string refused = readScriptNumber(w[i], s.number);
            if (!refused.empty()) return bad(quoted(w[i]) + " (" + what + ") " + refused);
            return true;
        };

        if (closedAt && verb != "expect")
            return bad("'" + verb + "' comes after the panel was closed on line " + std::to_string(closedAt) +
                       "; move it before ok/cancel");

        if (verb == "click") {
            if (n != 1 && n != 2)
                return bad(
                    "'click' takes a name and, for a later row of that name, its number; write: click "
                    "NAME [N] (quote a name with blanks)");
            s.op = Op::Click;
            s.text.push_back(w[1]);
            long long k = 1;
            if (n == 2 && (!toInt(w[2], k) || k < 1))
                return bad("'" + w[2] + "' is not a row number: give 1 for the first row named \"" +
                           scene::textAsUtf8(w[1]) + "\", 2 for the second, and so on");
            s.ints.push_back(k);
        } else if (verb == "click-y") {
            if (n != 1 && n != 2) return bad("'click-y' takes 1 or 2 arguments; write: click-y Y [X]");
            if (!intArg(1, "mouse y") || (n == 2 && !intArg(2, "mouse x"))) return false;
            s.op = Op::ClickY;
        } else if (verb == "scroll") {
            if (!arity(1, "scroll Y") || !intArg(1, "slider position")) return false;
            s.op = Op::Scroll;
        } else if (verb == "key") {
            if (!arity(1, "key K")) return false;
            long long k;
            if (!toKey(w[1], k))
                return bad("'" + w[1] +
                           "' is not a key: give one character, backspace, or a code from 0 to 65535 "
                           "(decimal, or 0x hexadecimal)");
            s.op = Op::Key;
            s.ints.push_back(k);
        } else if (verb == "type") {
            if (!arity(1, "type TEXT")) return false;
            s.op = Op::Type;
            s.text.push_back(w[1]);
        } else if (verb == "prefix") {
            if (!arity(1, "prefix TEXT")) return false;
            s.op = Op::Prefix;
            s.text.push_back(w[1]);
        } else if (verb == "intensity" || verb == "range") {
            if (!arity(1, verb == "range" ? "range V" : "intensity V") || !numArg(1, verb.c_str()))
                return false;
            s.op = verb == "range" ? Op::Range : Op::Intensity;
        } else if (verb == "color") {
            if (!arity(3, "color R G B") || !intArg(1, "red") || !intArg(2, "green") || !intArg(3, "blue"))
                return false;
            s.op = Op::Color;
        } else if (verb == "lighttype" || verb == "shadow") {
            bool lt = verb == "lighttype";
            if (!arity(1,
                       lt ? "lighttype Distant|Point|Spot|Linear|Area|N" : "shadow Off|Raytrace|ShadowMap|N"))
                return false;
            long long v;
            if (!toChoice(w[1], lt ? kLightTypes : kShadowTypes, lt ? 5 : 3, v))
                return bad("'" + w[1] + "' is not a " + (lt ? "light type" : "shadow type") +
                           (lt ? ": use Distant, Point, Spot, Linear, Area or a number"
                               : ": use Off, Raytrace, ShadowMap or a number"));
            s.op = lt ? Op::LightType : Op::Shadow;
            s.ints.push_back(v);
        } else if (verb == "drag") {
            for (size_t i = 1; i <= n; ++i)
                if (!intArg(i, "drag distance")) return false;
            s.op = Op::Drag;
        } else if (verb == "drag-event") {
            if (!arity(2, "drag-event DIST COUNTER") || !intArg(1, "distance") || !intArg(2, "step counter"))
                return false;
            s.op = Op::DragEvent;
        } else if (verb == "snapshot") {
            if (!arity(1, "snapshot FILE.png")) return false;
            if (w[1].empty()) return bad("'snapshot' needs a file name, not an empty one");
            s.op = Op::Snapshot;
            s.text.push_back(w[1]);
        } else if (verb == "copy" || verb == "paste" || verb == "clear" || verb == "ok" || verb == "cancel") {
            if (!arity(0, verb.c_str())) return false;
            s.op = verb == "copy"    ? Op::Copy
                   : verb == "paste" ? Op::Paste
                   : verb == "clear" ? Op::Clear
                   : verb == "ok"    ? Op::Ok
                                     : Op::Cancel;
            if (s.op == Op::Ok || s.op == Op::Cancel) closedAt = lineNo;
        } else if (verb == "expect") {
            if (n < 1)
                return bad(
                    "'expect' needs what to check: selected, field, ghosted, info, error, prefix, result, "
                    "command or commands");
            const std::string &what = w[1];
            if (what == "selected") {
                s.op = Op::ExpectSelected;
                s.text.assign(w.begin() + 2, w.end());
            } else if (what == "field") {
                if (n < 2)
                    return bad(
                        "'expect field' needs a control: intensity, range, color, lighttype or shadow");
                const std::string &f = w[2];
                s.text.push_back(f);
                if (f == "intensity" || f == "range") {
                    if (n != 3) return bad("write: expect field " + f + " V");
                    if (!numArg(3, f.c_str())) return false;
                    s.op = Op::ExpectFieldNumber;
                } else if (f == "color") {
                    if (n != 5) return bad("write: expect field color R G B");
                    if (!intArg(3, "red") || !intArg(4, "green") || !intArg(5, "blue")) return false;
                    s.op = Op::ExpectFieldColor;
                } else if (f == "lighttype" || f == "shadow") {
                    if (n != 3) return bad("write: expect field " + f + " WORD-or-N");
                    long long v;
                    bool lt = f == "lighttype";
                    if (!toChoice(w[3], lt ? kLightTypes : kShadowTypes, lt ? 5 : 3, v))
                        return bad("'" + w[3] + "' is not a " + (lt ? "light type" : "shadow type"));
                    s.ints.push_back(v);
                    s.op = Op::ExpectFieldChoice;
                } else {
                    return bad("unknown field '" + f + "': use intensity, range, color, lighttype or shadow");
                }
            } else if (what == "ghosted") {
                if (n != 2 || (w[2] != "yes" && w[2] != "no")) return bad("write: expect ghosted yes|no");
                s.op = Op::ExpectGhosted;
                s.ints.push_back(w[2] == "yes");
            } else if (what == "info" || what == "error" || what == "prefix") {
                if (n != 2) return bad("write: expect " + what + " TEXT (quote a text with blanks)");
                s.op = what == "info" ? Op::ExpectInfo : what == "error" ? Op::ExpectError : Op::ExpectPrefix;
                s.text.push_back(w[2]);
            } else if (what == "result") {
                if (n != 2) return bad("write: expect result N");
                if (!intArg(2, "result")) return false;
                s.op = Op::ExpectResult;
            } else if (what == "command") {
                if (n != 3) return bad("write: expect command N TEXT (quote a text with blanks)");
                if (!intArg(2, "command number")) return false;
                if (s.ints[0] < 1)
                    return bad("write: expect command N TEXT with N from 1, the first command");
                s.op = Op::ExpectCommand;
                s.text.push_back(w[3]);
            } else if (what == "commands") {
                if (n != 2) return bad("write: expect commands N");
                if (!intArg(2, "number of commands")) return false;
                if (s.ints[0] < 0) return bad("write: expect commands N with N from 0");
                s.op = Op::ExpectCommands;
            } else {
                return bad(
                    "unknown expectation '" + what +
                    "': use selected, field, ghosted, info, error, prefix, result, command or commands");
            }
        } else {
            return bad("unknown action '" + verb + "'; see vantorel-host --help for the script language");
        }
        out.steps.push_back(std::move(s));
    }
    return true;
}

void ScriptRunner::fail(const Step &s, const std::string &what) {
    if (!failures_) failedLine_ = s.line;
    ++failures_;
    err_.errorAt(script_.name, s.line, s.source + ": " + what + failNote_);
}

sim::Close ScriptRunner::stop(size_t at) {
    stoppedAt_ = at;
    next_ = script_.steps.size();
    closed_ = true;
    return sim::Close::Cancel;
}

std::vector<std::string> ScriptRunner::skippedSnapshots() const {
    std::vector<std::string> files;
    for (size_t i = stoppedAt_ == static_cast<size_t>(-1) ? script_.steps.size() : stoppedAt_ + 1;
         i < script_.steps.size(); ++i)
        if (script_.steps[i].op == Op::Snapshot) files.push_back(script_.steps[i].text[0]);
    return files;
}

// Checks an "expect command N TEXT" or "expect commands N" line against what was sent.
void ScriptRunner::checkCommands(const Step &s, const std::vector<std::string> &sent) {
    if (s.op == Op::ExpectCommands) {
        if (static_cast<long long>(sent.size()) != s.ints[0])
            fail(s,
                 "expected " + std::to_string(s.ints[0]) + " command(s), saw " + std::to_string(sent.size()));
        return;
    }
    const size_t nth = static_cast<size_t>(s.ints[0]);
    if (nth > sent.size())
        fail(s, "expected command " + std::to_string(nth) + " \"" + s.text[0] + "\", but " +
                    std::to_string(sent.size()) + " command(s) were sent");
    else if (sent[nth - 1] != s.text[0])
        fail(s, "expected command " + std::to_string(nth) + " \"" + s.text[0] + "\", saw \"" + sent[nth - 1] +
                    "\"");
}

// Checks one expectation. Result is known only at the end.
bool ScriptRunner::check(const Step &s, sim::Host &host, int result, bool atEnd) {
    switch (s.op) {
    case Op::ExpectSelected: {
        // Names as the user reads them, on both sides.
        const scene::NameReading read = host.nameReading();
        std::vector<std::string> seen, wanted;
        for (const std::string &n : host.selectedNames()) seen.push_back(read(n));
        for (const std::string &n : s.text) wanted.push_back(scene::textAsUtf8(n));
        if (seen != wanted) fail(s, "expected selected " + joinNames(wanted) + ", saw " + joinNames(seen));
        return true;
    }
    case Op::ExpectFieldNumber: {
        const sim::ControlModel *c =
            host.control(s.text[0] == "intensity" ? sim::Role::Intensity : sim::Role::Range);
        if (!c) fail(s, "the panel has no " + s.text[0] + " field");
        else if (std::fabs(c->floatValue - s.number) > kTolerance)
            fail(s, "expected " + fmt(s.number) + ", saw " + fmt(c->floatValue));
        return true;
    }
    case Op::ExpectFieldColor: {
        const sim::ControlModel *c = host.control(sim::Role::Color);
        if (!c) {
            fail(s, "the panel has no colour control");
            return true;
        }
        if (c->vec[0] != s.ints[0] || c->vec[1] != s.ints[1] || c->vec[2] != s.ints[2])
            fail(s, "expected " + std::to_string(s.ints[0]) + " " + std::to_string(s.ints[1]) + " " +
                        std::to_string(s.ints[2]) + ", saw " + std::to_string(c->vec[0]) + " " +
                        std::to_string(c->vec[1]) + " " + std::to_string(c->vec[2]));
        return true;
    }
    case Op::ExpectFieldChoice: {
        const sim::ControlModel *c =
            host.control(s.text[0] == "lighttype" ? sim::Role::LightType : sim::Role::Shadow);
        if (!c) fail(s, "the panel has no " + s.text[0] + " choice");
        else if (c->intValue != s.ints[0])
            fail(s, "expected " + std::to_string(s.ints[0]) + ", saw " + std::to_string(c->intValue));
        return true;
    }
    case Op::ExpectGhosted: {
        auto g = host.propertyGhosted();
        if (!g) {
            std::string states;
            for (sim::Role r : sim::propertyRoles()) {
                const sim::ControlModel *c = host.control(r);
                states += (states.empty() ? "" : ", ") + std::string(sim::roleRule(r).key) + "=" +
                          (!c                         ? "missing"
                           : c->drawState == DR_GHOST ? "ghosted"
                                                      : "normal");
            }
            fail(s, "the property controls disagree: " + states);
        } else if (*g != (s.ints[0] != 0)) {
            fail(s, std::string("expected ghosted ") + (s.ints[0] ? "yes" : "no") + ", saw " +
                        (*g ? "yes" : "no"));
        }
        return true;
    }
    case Op::ExpectInfo:
    case Op::ExpectPrefix: {
        std::string seen = s.op == Op::ExpectInfo ? host.infoText() : host.prefixText();
        if (seen != s.text[0]) fail(s, "expected \"" + s.text[0] + "\", saw \"" + seen + "\"");
        return true;
    }
    case Op::ExpectError: {
        auto errs = host.errors();
        bool found = false;
        for (auto &e : errs) found = found || e == s.text[0];
        if (!found) fail(s, "expected an error box \"" + s.text[0] + "\", saw " + joinNames(errs));
        return true;
    }
    case Op::ExpectResult:
        if (!atEnd) return false;  // checked once the activation has returned
        if (result != s.ints[0])
            fail(s, "expected result " + std::to_string(s.ints[0]) + ", saw " + std::to_string(result));
        return true;
    case Op::ExpectCommand:
    case Op::ExpectCommands:
        if (!atEnd) return false;  // checked once the activation has returned
        checkCommands(s, host.commands());
        return true;
    default: return true;
    }
}

sim::Close ScriptRunner::drive(sim::Host &host) {
    if (closed_) {
        err_.warning("the panel opened again; the script has already ended, so it is cancelled");
        return sim::Close::Cancel;
    }
    opened_ = true;
    auto act = [&](const Step &s) -> sim::Delivery {
        using sim::Action;
        auto v = [&](size_t i) { return static_cast<int32_t>(s.ints[i]); };
        switch (s.op) {
        case Op::Click: return deliver(host, Action::clickName(s.text[0], v(0)));
        case Op::ClickY: return deliver(host, Action::clickY(v(0), s.ints.size() > 1 ? v(1) : 0));
        case Op::Scroll: return deliver(host, Action::scroll(v(0)));
        case Op::Key: return deliver(host, Action::key(v(0)));
        case Op::Type: return deliver(host, Action::type(s.text[0]));
        case Op::Prefix: return deliver(host, Action::prefix(s.text[0]));
        case Op::Intensity: return deliver(host, Action::intensity(s.number));
        case Op::Range: return deliver(host, Action::range(s.number));
        case Op::Color: return deliver(host, Action::color(v(0), v(1), v(2)));
        case Op::LightType: return deliver(host, Action::lightType(v(0)));
        case Op::Shadow: return deliver(host, Action::shadow(v(0)));
        case Op::Drag: {
            std::vector<int32_t> d;
            for (long long x : s.ints) d.push_back(static_cast<int32_t>(x));
            return deliver(host, Action::drag(std::move(d)));
        }
        case Op::DragEvent: return deliver(host, Action::dragEvent(v(0), v(1)));
        case Op::Copy: return deliver(host, Action::press(sim::Button::Copy));
        case Op::Paste: return deliver(host, Action::press(sim::Button::Paste));
        case Op::Clear: return deliver(host, Action::press(sim::Button::Clear));
        case Op::Snapshot: {
            std::string why = "snapshots are not available here";
            if (snapshot && snapshot(host, s.text[0], why)) return sim::Delivery::done();
            return sim::Delivery::refused(why);
        }
        default: return sim::Delivery::done();
        }
    };
    const std::string stopping = "; the rest of the script is skipped and the panel is cancelled";
    for (; next_ < script_.steps.size(); ++next_) {
        const Step &s = script_.steps[next_];
        if (s.op == Op::Ok || s.op == Op::Cancel) {
            closed_ = true;
            ++next_;
            return s.op == Op::Ok ? sim::Close::Ok : sim::Close::Cancel;
        }
        if (s.isExpectation()) {
            // What follows a failed expectation was written for another state
            // of the panel: an OK there could save the wrong edits.
            const int before = failures_;
            failNote_ = stopping;
            check(s, host, 0, false);
            failNote_.clear();
            if (failures_ != before) return stop(next_);
            continue;
        }
        if (const sim::Delivery d = act(s); !d) {
            fail(s, d.why + stopping);
            return stop(next_);
        }
    }
    closed_ = true;
    err_.warning(script_.name + " ends without ok or cancel; the panel is closed with Cancel");
    return sim::Close::Cancel;
}

void ScriptRunner::finish(sim::Host &host, int result) {
    if (!opened_) {
        bool commandLines = false;
        for (const Step &s : script_.steps)
            commandLines = commandLines || s.op == Op::ExpectCommand || s.op == Op::ExpectCommands;
        err_.warning(
            "the panel never opened (result " + std::to_string(result) +
            "); the script's actions did not run, only its 'expect result'" +
            (commandLines ? ", 'expect error' and 'expect command' lines " : " and 'expect error' lines ") +
            "are checked");
        for (const Step &s : script_.steps)
            if (s.checkedAtEnd() || s.op == Op::ExpectError) check(s, host, result, true);
        return;
    }
    // Expectations after ok/cancel see the panel as it was when it closed.
    for (; next_ < script_.steps.size(); ++next_)
        if (script_.steps[next_].isExpectation() && !script_.steps[next_].checkedAtEnd())
            check(script_.steps[next_], host, result, true);
    // Result and command lines are checked at the end, wherever they stand;
    // those a failure skipped are not.
    for (size_t i = 0; i < script_.steps.size() && i < stoppedAt_; ++i)
        if (script_.steps[i].checkedAtEnd()) check(script_.steps[i], host, result, true);
}

}  // namespace vhost
