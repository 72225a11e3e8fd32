// options.h - vantorel-host's command line.
#ifndef VANTOREL_CLI_OPTIONS_H
#define VANTOREL_CLI_OPTIONS_H

#include <optional>
#include <string>

#include "host.h"

namespace vhost {

struct Options {
    std::string plugin;                 // empty: the plug-in beside the executable
    std::optional<int> lights;          // empty: the built-in demo scene
    std::optional<std::string> script;  // "-" for standard input; empty: the demo session
    std::optional<std::string> scene;   // --scene: lights from a LightWave scene file
    std::optional<std::string> save;    // --save: the edited scene, after OK
    std::optional<std::string> png;     // --png: the panel as it was when it closed
    sim::HostConditions conditions;
    bool help = false;
    bool version = false;                    // --version
    bool validate = false;                   // --validate: check the plug-in instead of running a session
    std::optional<unsigned long long> seed;  // --seed, with --validate
    std::optional<int> runs;                 // --runs, with --validate
    bool force = false;                      // --force: --save over a scene file that changed on disk
    bool list = false;                       // --list: print the lights of --scene and run nothing
    bool json = false;                       // --json, with --list
    bool window = false;                     // --window: the panel in a real window, by hand
    bool shell = false;                 // --shell, with --window: a Layout stand-in that runs the plug-in
    std::optional<int> zoom;            // --zoom N, with --window: 1..4; empty: fit the screen
    std::optional<std::string> record;  // --record FILE.vts, with --window: the session as a script
    bool diff = false;                  // --diff: what --save would write, as a unified diff on stdout

    std::optional<std::string> failureScript;  // --failure-script F.vts, with --validate
};

// What a run does; main has one function for each. An option's entry in the
// option table names the modes it has an effect in.
enum Mode : unsigned {
    kHelpMode = 1u << 0,      // --help, -h
    kVersionMode = 1u << 1,   // --version
    kListMode = 1u << 2,      // --list
    kValidateMode = 1u << 3,  // --validate
    kWindowMode = 1u << 4,    // --window: one run of the panel by hand
    kShellMode = 1u << 5,     // --window --shell
    kScriptMode = 1u << 6,    // a session script (or the demo session)
};

// The mode the options ask for; the first of help, version, validate, list,
// shell, window, script that they name.
Mode modeOf(const Options &options);

// Parses argv by the option table (option_table.h): "--name value" and
// "--name=value", "-h", and "--" to end the options (vantorel-host takes no
// operands, so nothing may follow it). On an error returns false with a
// message that says what is wrong and what to do.
bool parseOptions(int argc, char **argv, Options &out, std::string &error);

// The --help text: the option list made from the table, and the prose.
std::string helpText();

// Exit statuses.
enum Exit {
    kExitRan = 0,
    kExitExpectFailed = 1,
    kExitUsage = 2,
    kExitWriteFailed = 3,
    kExitOutputFailed = 4
};

}  // namespace vhost

#endif
