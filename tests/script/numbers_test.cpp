// The numbers of session scripts: read by the scene files' rule, and every
// refusal says its real reason.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "scenefile/lws_text.h"
#include "script/numbers.h"
#include "script/reader.h"
#include "tests/script/read_text.h"

namespace {

using testsupport::readError;
using testsupport::readOrFail;

// The error the reader gives for one line, or "" when it is taken.
std::string refusal(const std::string &line) { return readError(line + "\nok\n", "s.vts"); }

TEST(ScriptNumbers, ReadLikeSceneFiles) {
    // Whatever the scene reader takes, the script takes as the same double,
    // and what it refuses, the script refuses.
    const std::vector<std::string> words = {"50",
                                            "-0",
                                            "+1.5",
                                            ".5",
                                            "5.",
                                            "1e3",
                                            "1E-3",
                                            "-2.5e+2",
                                            "1e-320",
                                            "1e-400",
                                            "1e308",
                                            "1e309",
                                            "0x10",
                                            "0X1p4",
                                            "inf",
                                            "-inf",
                                            "nan",
                                            "NaN",
                                            "",
                                            ".",
                                            "e5",
                                            "1e",
                                            "1e+",
                                            "1.2.3",
                                            "1,5",
                                            " 1",
                                            "1 ",
                                            "abc",
                                            "--1",
                                            "1_000",
                                            std::string(400, '9'),
                                            std::string(401, '1')};
    for (const std::string &w : words) {
        double scene = 0, script = 0;
        const bool sceneTakes = scenefile::parseNumber(w, scene);
        const std::string why = script::readScriptNumber(w, script);
        EXPECT_EQ(sceneTakes, why.empty()) << "'" << w << "': " << why;
        if (sceneTakes && why.empty()) {
            EXPECT_EQ(scene, script) << w;
            EXPECT_EQ(std::signbit(scene), std::signbit(script)) << w;
        }
    }
}

TEST(ScriptNumbers, EachRefusalSaysWhy) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"intensity 0x10", "s.vts:1: '0x10' (intensity) is hexadecimal; numbers are written in decimal here"},
        {"range -0x1", "'-0x1' (range) is hexadecimal"},
        {"intensity inf", "'inf' (intensity) is not a finite number"},
        {"intensity -NaN", "'-NaN' (intensity) is not a finite number"},
        {"intensity 1e309", "'1e309' (intensity) is too large for a double"},
        {"intensity 5%", "'5%' (intensity) is not a number"},
        {"intensity " + std::string(401, '1'),
         "(intensity) has too many digits (401 characters; a number may have at most 400"},
        {"color 0 0 1e9",
         "'1e9' (blue) is written with an exponent; write a whole number in plain digits: "
         "1000000000"},
        {"color 0 0 1e10",
         "'1e10' (blue) is out of range: give a whole number from -2147483648 to 2147483647"},
        {"color 2.0 0 0",
         "'2.0' (red) is written with a decimal point; write a whole number in plain digits: 2"},
        {"color 0 1.5 0", "'1.5' (green) is not a whole number"},
        {"scroll 99999999999", "'99999999999' (slider position) is out of range"},
        {"drag 10 0x10", "'0x10' (drag distance) is hexadecimal"},
        {"expect field intensity 0x10", "'0x10' (intensity) is hexadecimal"},
        {"expect result 1e0", "'1e0' (result) is written with an exponent"},
    };
    for (const auto &[line, want] : cases) {
        const std::string error = refusal(line);
        EXPECT_NE(error.find(want), std::string::npos) << line << "\n  gave: " << error;
        if (want.find("finite") == std::string::npos) {
            EXPECT_EQ(error.find("finite"), std::string::npos)
                << "only inf and nan are not finite: " << error;
        }
    }
}

TEST(ScriptNumbers, SubnormalsAndKeyCodesAreTaken) {
    const script::Script s = readOrFail("intensity 1e-320\nkey 0x1030\nok\n");
    ASSERT_EQ(s.steps.size(), 3u);
    EXPECT_EQ(s.steps[0].action()->number, 1e-320);  // a subnormal, finite
    EXPECT_EQ(s.steps[1].action()->value, 0x1030);   // key codes keep their 0x form
}

TEST(ScriptNumbers, WholeNumbersInPlainDigits) {
    long long v = 0;
    EXPECT_EQ(script::readWholeNumber("-2147483648", INT32_MIN, INT32_MAX, v), "");
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_EQ(script::readWholeNumber("+007", INT32_MIN, INT32_MAX, v), "");
    EXPECT_EQ(v, 7);
    EXPECT_EQ(script::readWholeNumber("2147483648", INT32_MIN, INT32_MAX, v),
              "is out of range: give a whole number from -2147483648 to 2147483647");
    EXPECT_EQ(
        script::readWholeNumber(std::string(30, '9'), INT32_MIN, INT32_MAX, v).rfind("is out of range", 0),
        0u);
}

TEST(ScriptText, ASnapshotNeedsAFileName) {
    EXPECT_EQ(refusal("snapshot \"\""), "s.vts:1: 'snapshot' needs a file name, not an empty one");
}

TEST(ScriptText, ANulByteIsNamedWithItsColumn) {
    const std::string text = std::string("click Key\nint") + '\0' + "ensity 5\nok\n";
    EXPECT_EQ(readError(text, "edit.vts"), "edit.vts:2: a NUL byte (0x00) at column 4; scripts are text");
}

}  // namespace
