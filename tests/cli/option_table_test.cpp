// vantorel-host's command line, made from one table: every option's value,
// repetition, needs and conflicts are checked by the parser the table makes,
// and --help lists each option once.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "option_table.h"
#include "options.h"

namespace {

using vhost::OptionEntry;
using vhost::ValueKind;

struct Parsed {
    bool ok = false;
    std::string error;
    vhost::Options options;
};

Parsed parse(std::vector<std::string> args) {
    args.insert(args.begin(), "vantorel-host");
    std::vector<char *> argv;
    argv.reserve(args.size() + 1);
    for (std::string &a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    Parsed p;
    p.ok = vhost::parseOptions(static_cast<int>(args.size()), argv.data(), p.options, p.error);
    return p;
}

// A value each option takes.
std::string goodValue(const OptionEntry &o) {
    switch (o.kind) {
    case ValueKind::None: return "";
    case ValueKind::File: return "a.file";
    case ValueKind::Number: return std::to_string(o.high);
    case ValueKind::Text: return "LW Light Info";
    case ValueKind::Choice: return "panel";
    }
    return "";
}

// The option with a good value, then everything it needs, and what that
// needs, each option once.
std::vector<std::string> withNeeds(const OptionEntry &o, std::set<std::string> &seen) {
    std::vector<std::string> args;
    if (!seen.insert(o.name).second) return args;
    args.push_back(o.name);
    if (o.kind != ValueKind::None) args.push_back(goodValue(o));
    for (const vhost::OptionLink &n : o.needs)
        for (const std::string &a : withNeeds(*vhost::findOption(n.other), seen)) args.push_back(a);
    return args;
}

std::vector<std::string> withNeeds(const OptionEntry &o) {
    std::set<std::string> seen;
    return withNeeds(o, seen);
}

// Both options with what they need, each option once.
std::vector<std::string> bothWithNeeds(const OptionEntry &a, const OptionEntry &b) {
    std::set<std::string> seen;
    std::vector<std::string> args = withNeeds(a, seen);
    for (const std::string &x : withNeeds(b, seen)) args.push_back(x);
    return args;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(OptionTable, EveryOptionWithItsNeedsIsTaken) {
    for (const OptionEntry &o : vhost::optionTable()) {
        const Parsed p = parse(withNeeds(o));
        EXPECT_TRUE(p.ok) << o.name << ": " << p.error;
    }
}

TEST(OptionTable, AMissingValueIsNamed) {
    for (const OptionEntry &o : vhost::optionTable()) {
        if (o.kind == ValueKind::None) continue;
        const Parsed p = parse({o.name});
        EXPECT_FALSE(p.ok) << o.name;
        EXPECT_EQ(p.error, std::string(o.name) + " needs " + o.valueNeeded);
    }
}

TEST(OptionTable, AValueIsGivenOnceUnlessTheOptionAddsUp) {
    for (const OptionEntry &o : vhost::optionTable()) {
        std::vector<std::string> args = withNeeds(o);
        const Parsed p = parse(joined(args, {o.name + std::string(o.kind == ValueKind::None ? "" : "=") +
                                             (o.kind == ValueKind::Choice ? "raster" : goodValue(o))}));
        if (o.kind == ValueKind::None || o.repeats) {
            EXPECT_TRUE(p.ok) << o.name << ": " << p.error;
        } else {
            EXPECT_EQ(p.error,
                      std::string(o.name) +
                          " is given twice; give it once (only --without and --fail may be repeated)");
        }
    }
}

TEST(OptionTable, EachNeedIsCheckedWithItsOwnMessage) {
    int needs = 0;
    for (const OptionEntry &o : vhost::optionTable()) {
        for (const vhost::OptionLink &n : o.needs) {
            // Everything else it needs is there, this one is not.
            std::set<std::string> seen = {n.other};
            const Parsed p = parse(withNeeds(o, seen));
            EXPECT_FALSE(p.ok) << o.name << " without " << n.other;
            EXPECT_EQ(p.error, n.message) << o.name << " without " << n.other;
            ++needs;
        }
    }
    // --save, --diff, --force, --zoom, --record, --shell, --seed, --runs, --failure-script, --list, --json
    EXPECT_EQ(needs, 11);
}

TEST(OptionTable, EachConflictIsCheckedWithItsOwnMessage) {
    int conflicts = 0;
    for (const OptionEntry &o : vhost::optionTable()) {
        for (const vhost::OptionLink &c : o.conflicts) {
            const OptionEntry *other = vhost::findOption(c.other);
            ASSERT_NE(other, nullptr) << c.other;
            const Parsed p = parse(bothWithNeeds(o, *other));
            EXPECT_FALSE(p.ok) << o.name << " with " << c.other;
            EXPECT_EQ(p.error, c.message) << o.name << " with " << c.other;
            ++conflicts;
        }
    }
    EXPECT_EQ(conflicts, 12);
}

// The modes an option works in agree with its rules: what it needs works in
// one of its modes, and an option that excludes a mode's own option does not
// work in that mode.
TEST(OptionTable, TheModesAgreeWithTheRules) {
    for (const OptionEntry &o : vhost::optionTable()) {
        EXPECT_NE(o.modes, 0u) << o.name << " works in no mode";
        for (const vhost::OptionLink &n : o.needs)
            EXPECT_NE(o.modes & vhost::findOption(n.other)->modes, 0u) << o.name << " needs " << n.other;
        for (const vhost::OptionLink &c : o.conflicts) {
            const vhost::Mode mode = vhost::modeOf(parse(withNeeds(*vhost::findOption(c.other))).options);
            if (mode == vhost::kScriptMode) continue;  // --script and the like select no mode of their own
            EXPECT_EQ(o.modes & mode, 0u) << o.name << " excludes " << c.other << " but works in its mode";
        }
    }
}

TEST(OptionTable, ValuesOutsideTheirKindAreRefused) {
    for (const OptionEntry &o : vhost::optionTable()) {
        const std::vector<std::string> all = withNeeds(o);
        const std::vector<std::string> needs(all.begin() + (o.kind == ValueKind::None ? 1 : 2), all.end());
        std::vector<std::string> bad;
        if (o.kind == ValueKind::None) bad = {"=yes"};
        if (o.kind == ValueKind::File) bad = {"="};
        if (o.kind == ValueKind::Number)
            bad = {"=" + std::to_string(o.low - 1), "=x", "=1.5", "=0x10", "=99999999999999999999"};
        if (o.kind == ValueKind::Choice) bad = {"=paneel", "=control:0", "=control:14", "=control:"};
        for (const std::string &value : bad) {
            const Parsed p = parse(joined({o.name + value}, needs));
            EXPECT_FALSE(p.ok) << o.name << value;
            EXPECT_EQ(p.error.rfind(o.name, 0), 0u) << o.name << value << ": " << p.error;
        }
    }
}

TEST(OptionTable, BothFormsOfAValueAreTheSame) {
    const Parsed spaced = parse({"--scene", "s.lws", "--lights", "7"});
    EXPECT_EQ(spaced.error, "--scene and --lights both say which lights to use; give one of them");
    const Parsed a = parse({"--lights", "7", "--zoom", "2", "--window", "--without", "X", "--seed=3"});
    EXPECT_EQ(a.error, "--seed and --runs go with --validate");
    const Parsed b = parse({"--lights=7", "--zoom=2", "--window", "--without=X"});
    ASSERT_TRUE(b.ok) << b.error;
    EXPECT_EQ(b.options.lights, 7);
    EXPECT_EQ(b.options.zoom, 2);
    EXPECT_EQ(b.options.conditions.missingGlobals, std::set<std::string>{"X"});
    // The value after a space is taken whatever it looks like: a file may start with a dash.
    const Parsed dash = parse({"--scene", "-odd.lws", "--list"});
    ASSERT_TRUE(dash.ok) << dash.error;
    EXPECT_EQ(dash.options.scene, "-odd.lws");
}

TEST(OptionTable, ShortHelpAndTheEndOfOptions) {
    EXPECT_TRUE(parse({"-h"}).options.help);
    EXPECT_EQ(vhost::modeOf(parse({"-h", "--version"}).options), vhost::kHelpMode);
    EXPECT_EQ(vhost::modeOf(parse({"--window", "--shell"}).options), vhost::kShellMode);
    EXPECT_EQ(vhost::modeOf(parse({"--lights", "3"}).options), vhost::kScriptMode);

    const Parsed ended = parse({"--lights", "3", "--"});
    ASSERT_TRUE(ended.ok) << ended.error;
    EXPECT_EQ(ended.options.lights, 3);
    // No operands, not even after "--".
    for (const char *operand : {"--force", "x.lws", "-h"}) {
        const Parsed p = parse({"--", operand});
        EXPECT_FALSE(p.ok) << operand;
        EXPECT_NE(p.error.find("'" + std::string(operand) + "' comes after --"), std::string::npos)
            << p.error;
        EXPECT_NE(p.error.find("takes no operands"), std::string::npos) << p.error;
    }
}

TEST(OptionTable, UnknownArgumentsSayWhatWasMeant) {
    EXPECT_EQ(parse({"--bogus"}).error, "unknown argument '--bogus'");
    EXPECT_EQ(parse({"--scnee", "a.lws"}).error, "unknown argument '--scnee'; did you mean --scene?");
    EXPECT_EQ(parse({"-list"}).error, "unknown argument '-list'; did you mean --list?");
    EXPECT_EQ(parse({"--sav=x.lws"}).error, "unknown argument '--sav=x.lws'; did you mean --save?");
    EXPECT_EQ(parse({"edits.lws"}).error,
              "unknown argument 'edits.lws': vantorel-host takes no operands; to read a scene file, give "
              "--scene edits.lws");
    EXPECT_EQ(parse({"-"}).error,
              "unknown argument '-': vantorel-host takes no operands; to play a script, give --script -");
}

// The option list of --help: its lines that start with an option.
std::vector<std::string> optionLines() {
    std::istringstream help(vhost::helpText());
    std::vector<std::string> lines;
    bool inOptions = false;
    for (std::string line; std::getline(help, line);) {
        if (line == "Options:") inOptions = true;
        else if (inOptions && line.empty()) break;
        else if (inOptions && line.rfind("  -", 0) == 0) lines.push_back(line);
    }
    return lines;
}

TEST(OptionTable, HelpListsEveryOptionOnce) {
    const std::vector<std::string> lines = optionLines();
    EXPECT_EQ(lines.size(), vhost::optionTable().size());
    for (const OptionEntry &o : vhost::optionTable()) {
        std::string entry = std::string("  ") + (o.shortName ? std::string(o.shortName) + ", " : "") + o.name;
        if (o.valueName) entry += std::string(" ") + o.valueName;
        int found = 0;
        for (const std::string &l : lines) found += l == entry || l.rfind(entry + "  ", 0) == 0;
        EXPECT_EQ(found, 1) << entry;
    }
    std::istringstream help(vhost::helpText());
    for (std::string line; std::getline(help, line);) EXPECT_LE(line.size(), 79u) << line;
}

}  // namespace
