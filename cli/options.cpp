// options.cpp - parsing vantorel-host's command line by the option table.
#include "options.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "option_table.h"

namespace vhost {

namespace {

bool toInt(const std::string &w, long long lo, long long hi, long long &out) {
    if (w.empty()) return false;
    errno = 0;
    char *end = nullptr;
    long long v = std::strtoll(w.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < lo || v > hi) return false;
    out = v;
    return true;
}

// How far apart two option names are (insertions, deletions, substitutions).
std::size_t editDistance(const std::string &a, const std::string &b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "; did you mean --scene?" for a mistyped option, else "".
std::string suggestion(const std::string &name) {
    const std::string asLong = name.rfind("--", 0) == 0 ? name : "-" + name;
    const OptionEntry *best = nullptr;
    std::size_t bestDistance = 3;  // more than two edits away is no typo
    for (const OptionEntry &o : optionTable()) {
        const std::size_t d = editDistance(asLong, o.name);
        if (d < bestDistance) {
            best = &o;
            bestDistance = d;
        }
    }
    return best ? std::string("; did you mean ") + best->name + "?" : std::string();
}

bool endsWith(const std::string &s, const std::string &tail) {
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// What to say of an argument that is not an option: the option it may have
// been meant for.
std::string operandAdvice(const std::string &arg) {
    if (endsWith(arg, ".lws")) return "; to read a scene file, give --scene " + arg;
    if (endsWith(arg, ".vts") || arg == "-") return "; to play a script, give --script " + arg;
    return "; name each file with its option (--scene FILE.lws, --script FILE.vts)";
}

std::string unknownArgument(const std::string &arg) {
    if (arg.size() > 1 && arg[0] == '-') {
        const std::string name = arg.substr(0, arg.find('='));
        return "unknown argument '" + arg + "'" + suggestion(name);
    }
    return "unknown argument '" + arg + "': vantorel-host takes no operands" + operandAdvice(arg);
}

// Where the parser is: the argument it looks at and the ones given so far.
struct Scan {
    int argc;
    char **argv;
    int i = 1;
    std::vector<bool> given;  // by position in the option table
};

std::size_t indexOf(const OptionEntry &o) { return static_cast<std::size_t>(&o - optionTable().data()); }

bool isGiven(const Scan &scan, const char *name) {
    const OptionEntry *o = findOption(name);
    return o && scan.given[indexOf(*o)];
}

// The value of option o whose argument is arg ("--name" or "--name=value").
bool takeValue(const OptionEntry &o, const std::string &arg, Scan &scan, std::string &value,
               std::string &error) {
    const std::size_t eq = arg.find('=');
    if (o.kind == ValueKind::None) {
        if (eq == std::string::npos) return true;
        error = std::string(o.name) + " takes no value; give it alone, not '" + arg + "'";
        return false;
    }
    if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
    } else if (scan.i + 1 < scan.argc) {
        value = scan.argv[++scan.i];
    } else {
        error = std::string(o.name) + " needs " + o.valueNeeded;
        return false;
    }
    if (o.kind == ValueKind::File && value.empty()) {
        error = std::string(o.name) + " needs " + o.valueNeeded + ", not an empty one";
        return false;
    }
    return true;
}

// "from 0 to 100000 (the most it makes)"
std::string rangeText(const OptionEntry &o) {
    std::string text;
    if (o.low == INT32_MIN && o.high == INT32_MAX) text = "";
    else if (o.high == INT64_MAX) text = " from " + std::to_string(o.low);
    else text = " from " + std::to_string(o.low) + " to " + std::to_string(o.high);
    if (o.rangeNote) text += std::string(" ") + o.rangeNote;
    return text;
}

bool storeValue(const OptionEntry &o, const std::string &value, Options &out, std::string &error) {
    long long number = 0;
    if (o.kind == ValueKind::Number && !toInt(value, o.low, o.high, number)) {
        error = std::string(o.name) + " takes a whole number" + rangeText(o) + ", not '" + value + "'";
        return false;
    }
    return o.store(out, value, number, error);
}

// Reads one argument (and its value). Options with a value say it once: a
// second one would silently win (--save x --save y writes only y).
bool readArgument(Scan &scan, Options &out, std::string &error) {
    const std::string arg = scan.argv[scan.i];
    const bool isLong = arg.rfind("--", 0) == 0;
    const OptionEntry *o = findOption(isLong ? arg.substr(0, arg.find('=')) : arg);
    if (!o) {
        error = unknownArgument(arg);
        return false;
    }
    if (scan.given[indexOf(*o)] && !o->repeats && o->kind != ValueKind::None) {
        error = std::string(o->name) + " is given twice; give it once (only " + repeatableOptionNames() +
                " may be repeated)";
        return false;
    }
    scan.given[indexOf(*o)] = true;
    std::string value;
    return takeValue(*o, arg, scan, value, error) && storeValue(*o, value, out, error);
}

// What each option given needs and excludes, in the table's order.
bool checkLinks(const Scan &scan, std::string &error) {
    for (const OptionEntry &o : optionTable()) {
        if (!scan.given[indexOf(o)]) continue;
        for (const OptionLink &need : o.needs)
            if (!isGiven(scan, need.other)) {
                error = need.message;
                return false;
            }
        for (const OptionLink &conflict : o.conflicts)
            if (isGiven(scan, conflict.other)) {
                error = conflict.message;
                return false;
            }
    }
    return true;
}

}  // namespace

Mode modeOf(const Options &options) {
    if (options.help) return kHelpMode;
    if (options.version) return kVersionMode;
    if (options.validate) return kValidateMode;
    if (options.list) return kListMode;
    if (options.window) return options.shell ? kShellMode : kWindowMode;
    return kScriptMode;
}

bool parseOptions(int argc, char **argv, Options &out, std::string &error) {
    Scan scan{argc, argv, 1, std::vector<bool>(optionTable().size(), false)};
    for (; scan.i < argc; ++scan.i) {
        if (std::string(argv[scan.i]) == "--") {
            if (scan.i + 1 == argc) break;
            error = "'" + std::string(argv[scan.i + 1]) +
                    "' comes after --, which ends the options, and vantorel-host takes no operands" +
                    operandAdvice(argv[scan.i + 1]);
            return false;
        }
        if (!readArgument(scan, out, error)) return false;
    }
    return checkLinks(scan, error);
}

}  // namespace vhost
