// The validator itself: it passes the real plug-in and catches stand-ins with
// faults planted in them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "validate.h"

namespace {

struct Outcome {
    validate::Status status;
    std::string text;
};

Outcome validateFile(const std::string &plugin, int runs = 40, int lifecycle = 60) {
    validate::Options o;
    o.plugin = plugin;
    o.seed = 11;
    o.runs = runs;
    o.lifecycleRuns = lifecycle;
    o.shrinkBudget = 400;
    std::ostringstream out;
    validate::Status s = validate::run(o, out);
    return {s, out.str()};
}

size_t countLines(const std::string &text, const std::string &start) {
    size_t n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) n += line.rfind(start, 0) == 0;
    return n;
}

TEST(Validator, PassesThePlugInWithOneLinePerCheckAndASummary) {
    Outcome o = validateFile(VANTOREL_PLUGIN_PATH);
    EXPECT_EQ(o.status, validate::kAllPassed) << o.text;
    EXPECT_EQ(countLines(o.text, "FAIL "), 0u);
    // descriptor, lifecycle, 22 host faults, random sessions
    EXPECT_EQ(countLines(o.text, "PASS "), 25u) << o.text;
    EXPECT_NE(o.text.find("validate: all passed: 25 checks, 0 failed; seed 11"), std::string::npos) << o.text;
}

TEST(Validator, RejectsAnApplyStepThatSendsNonNumbersAndShrinksTheSession) {
    Outcome o = validateFile(VANTOREL_BROKEN_APPLY_PATH, 200, 20);
    EXPECT_EQ(o.status, validate::kSomeFailed) << o.text;
    EXPECT_NE(o.text.find("FAIL random sessions: seed 11, session "), std::string::npos) << o.text;
    ASSERT_NE(o.text.find("shortest reproduction found"), std::string::npos) << o.text;
    // The lifecycle's model comparison sees the wrong light type words as well.
    EXPECT_NE(o.text.find("FAIL lifecycle"), std::string::npos) << o.text;
    // Shrunk to one activation with at most a few lights and events.
    const std::string repro = o.text.substr(o.text.find("shortest reproduction found"));
    EXPECT_EQ(countLines(repro, "  activation "), 1u) << repro;
    EXPECT_LE(countLines(repro, "    "), 8u) << repro;
    EXPECT_NE(o.text.find("validate: FAILED"), std::string::npos);
}

TEST(Validator, RejectsADescriptorWithTwoServers) {
    Outcome o = validateFile(VANTOREL_TWO_SERVERS_PATH, 2, 2);
    EXPECT_EQ(o.status, validate::kSomeFailed);
    EXPECT_NE(o.text.find("FAIL descriptor: 2 server records, expected exactly one"), std::string::npos) << o.text;
}

TEST(Validator, AFileThatIsNoPlugInCannotBeValidated) {
    Outcome o = validateFile(VANTOREL_NOT_A_PLUGIN_PATH, 1, 1);
    EXPECT_EQ(o.status, validate::kNotLoadable);
    EXPECT_NE(o.text.find("FAIL load: "), std::string::npos) << o.text;
}

}  // namespace
