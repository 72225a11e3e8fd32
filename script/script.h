// script.h - a session script as data: a list of steps, each an action on the
// open panel, an expectation about what the host shows, or a snapshot.
//
// The reader (reader.h) makes a Script from text, the writer (writer.h) makes
// text from one, and the runner (runner.h) plays one on the simulated Layout.
// The language itself is described in the reader's header and in
// vantorel-host --help.
#ifndef VANTOREL_SCRIPT_SCRIPT_H
#define VANTOREL_SCRIPT_SCRIPT_H

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "action.h"
#include "roles.h"

namespace script {

// What an expect line checks.
enum class Check : std::uint8_t {
    Selected,  // expect selected NAME...: the rows drawn selected, in list order
    Field,     // expect field intensity|range|color|lighttype|shadow ...: a control's value
    Ghosted,   // expect ghosted yes|no: all nine property controls
    Info,      // expect info TEXT: the info field's text
    Error,     // expect error TEXT: an error box was shown with this text
    Prefix,    // expect prefix TEXT: the prefix field's text
    Result,    // expect result N: the activation result, checked at the end
    Command,   // expect command N TEXT: the Nth command sent (from 1), checked at the end
    Commands,  // expect commands N: how many commands were sent, checked at the end
};

struct Expectation {
    Check check = Check::Result;
    sim::Role field = sim::Role::Intensity;  // Field: Intensity, Range, Color, LightType or Shadow
    std::vector<std::string> names;          // Selected: the names, in list order
    std::string text;                        // Info, Error, Prefix, Command
    double number = 0;                       // Field Intensity, Range
    std::int32_t values[3] = {0, 0, 0};      // Field Color: R G B; LightType, Shadow: the item;
                                             // Result, Command, Commands: N
    bool ghosted = false;                    // Ghosted

    static Expectation selected(std::vector<std::string> names);
    static Expectation fieldNumber(sim::Role field, double v);  // Intensity or Range
    static Expectation fieldColor(std::int32_t r, std::int32_t g, std::int32_t b);
    static Expectation fieldChoice(sim::Role field, std::int32_t item);  // LightType or Shadow
    static Expectation ghostedState(bool ghosted);
    static Expectation info(std::string text);
    static Expectation error(std::string text);
    static Expectation prefix(std::string text);
    static Expectation result(std::int32_t n);
    static Expectation command(std::int32_t nth, std::string text);  // nth from 1
    static Expectation commands(std::int32_t count);

    // Whether it is checked once the activation has returned rather than
    // where it stands: the result and the commands sent.
    bool checkedAtEnd() const {
        return check == Check::Result || check == Check::Command || check == Check::Commands;
    }

    // The same check of the same values (numbers as the writer tells them apart).
    friend bool operator==(const Expectation &a, const Expectation &b);
    friend bool operator!=(const Expectation &a, const Expectation &b) { return !(a == b); }
};

// snapshot FILE: a picture of the open panel, written by the front end.
struct Snapshot {
    std::string file;
    friend bool operator==(const Snapshot &a, const Snapshot &b) { return a.file == b.file; }
    friend bool operator!=(const Snapshot &a, const Snapshot &b) { return !(a == b); }
};

struct Step {
    int line = 0;        // its line in the text it was read from (from 1); 0 for a step made otherwise
    std::string source;  // that line as written, comment and trailing blanks removed
    std::variant<sim::Action, Expectation, Snapshot> what;

    const sim::Action *action() const { return std::get_if<sim::Action>(&what); }
    const Expectation *expectation() const { return std::get_if<Expectation>(&what); }
    const Snapshot *snapshot() const { return std::get_if<Snapshot>(&what); }
    // Whether this step closes the panel (ok, cancel).
    bool closes() const;
};

struct Script {
    std::string name;  // how messages name it: a file name, "<stdin>", "demo session"
    std::vector<Step> steps;
};

// The built-in demo session, played when no script is given. It runs on the
// built-in demo scene (scene::makeDemoScene) and uses every control.
const char *demoScript();

}  // namespace script

#endif
