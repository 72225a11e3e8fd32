// option_table.h - vantorel-host's options, declared once. The parser, its
// usage errors and the option list of --help (and so the man page, which
// help2man makes from --help) are all made from this table: an option added
// here is parsed, checked and documented, and one missing here is none of
// these.
#ifndef VANTOREL_CLI_OPTION_TABLE_H
#define VANTOREL_CLI_OPTION_TABLE_H

#include <string>
#include <vector>

#include "options.h"

namespace vhost {

// What an option takes after it (as the next argument or after '=').
enum class ValueKind {
    None,    // nothing: a switch such as --force
    File,    // a file name, not an empty one
    Number,  // a whole number from low to high
    Text,    // any text
    Choice,  // one of a few forms, which the option's store checks
};

// Another option this one goes with, or does not: the usage error when the
// rule is broken is message, a sentence that says what to do.
struct OptionLink {
    const char *other;
    const char *message;
};

struct OptionEntry {
    const char *name;       // "--scene"
    const char *shortName;  // "-h"; nullptr: none
    ValueKind kind = ValueKind::None;
    const char *valueName = nullptr;    // in --help: "FILE.lws"
    const char *valueNeeded = nullptr;  // said when the value is missing: "a file name"
    long long low = 0, high = 0;        // Number: the values taken
    const char *rangeNote = nullptr;    // Number: said after the range when a value is refused
    bool repeats = false;               // may be given more than once
    unsigned modes = 0;                 // the modes (Mode bits) it has an effect in
    std::vector<OptionLink> needs;      // each must be given too
    std::vector<OptionLink> conflicts;  // none may be given too
    // Puts the checked value into the options. A Choice checks it here: false
    // with error set for a value it does not take.
    bool (*store)(Options &out, const std::string &text, long long number, std::string &error) = nullptr;
    const char *help = "";  // one paragraph; --help wraps it
};

// Every option, in the order --help lists them.
const std::vector<OptionEntry> &optionTable();

// The option named name ("--scene") or shortName ("-h"); nullptr if none.
const OptionEntry *findOption(const std::string &name);

// The options that take a value and may be repeated: "--without and --fail".
std::string repeatableOptionNames();

// The "Options:" section of --help: each option with its value and its help,
// wrapped to 79 columns, then the sentence on which options may be repeated.
std::string optionHelp();

}  // namespace vhost

#endif
