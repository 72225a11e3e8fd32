// Malformed input: a clear error with file and line, never a crash.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "lws_test_util.h"

using scenefile::LoadError;
using scenefile::LwsDocument;

namespace {

struct BadCase {
    const char *what;
    std::string bytes;
    int line;
    const char *messagePart;
};

}  // namespace

TEST(LwsMalformed, ErrorsNameTheFileAndLine) {
    const std::vector<BadCase> cases = {
        {"empty file", "", 1, "LWSC"},
        {"no header", "AddLight\nLightName A\n", 1, "LWSC"},
        {"no version", "LWSC\n", 1, "version"},
        {"version not a number", "LWSC\nthree\n", 2, "version"},
        {"unknown version", "LWSC\n9\n", 2, "version 9"},
        {"non-numeric value", lwstest::fixture("bad-number.lws"), 7, "LightIntensity"},
        {"colour short of numbers", "LWSC\n3\nAddLight\nLightColor 1 1\n", 4, "LightColor"},
        {"colour with nan", "LWSC\n3\nAddLight\nLightColor 1 nan 1\n", 4, "nan"},
        {"light type not whole", "LWSC\n3\nAddLight\nLightType 1.5\n", 4, "LightType"},
        {"shadow type missing", "LWSC\n3\nAddLight\nShadowType\n", 4, "ShadowType"},
        {"hex ID missing in LWSC 4", "LWSC\n4\n\nAddLight\nLightName A\n", 4, "ID"},
        {"hex ID invalid in LWSC 5", "LWSC\n5\nAddLight 2000000G\n", 3, "ID"},
        {"hex ID too long", "LWSC\n5\nAddLight 120000000\n", 3, "ID"},
        {"old envelope truncated", lwstest::fixture("truncated-envelope-v1.lws"), 13, "truncated"},
        {"old envelope without EndBehavior",
         "LWSC\n1\nAddLight\nLgtIntensity (envelope)\n1\n1\n0.5\n0 0 0 0 0\nLightType 1\n", 9, "EndBehavior"},
        {"block envelope unclosed", lwstest::fixture("truncated-envelope-v3.lws"), 8, "not closed"},
        {"block envelope with too few keys",
         "LWSC\n3\nAddLight\nLightIntensity (envelope)\n{ Envelope\n  2\n  Key 1 0 0 0 0 0 0 0 0\n}\n", 8,
         "announces 2"},
        {"envelope key count absurd", "LWSC\n1\nAddLight\nLgtIntensity (envelope)\n1\n2000000000\n0\n", 7,
         "truncated"},
        {"colour from an envelope", "LWSC\n3\nAddLight\nLightColor (envelope)\n", 4, "envelope"},
        {"block left open", "LWSC\n3\nPlugin X\n{ A\n}\n", 3, "not closed"},
    };
    for (const BadCase &c : cases) {
        SCOPED_TRACE(c.what);
        LwsDocument doc;
        LoadError err;
        ASSERT_FALSE(LwsDocument::parse(c.bytes, "bad.lws", doc, err));
        EXPECT_EQ(err.file, "bad.lws");
        EXPECT_EQ(err.line, c.line) << err.toString();
        EXPECT_NE(err.message.find(c.messagePart), std::string::npos) << err.message;
        EXPECT_EQ(err.toString().rfind("bad.lws:" + std::to_string(c.line) + ": ", 0), 0u) << err.toString();
    }
}

TEST(LwsMalformed, FailedParseLeavesTheOutputDocumentAlone) {
    LwsDocument doc = lwstest::parseOrFail(lwstest::fixture("v4.lws"), "v4.lws");
    LoadError err;
    ASSERT_FALSE(LwsDocument::parse("LWSC\n3\nAddLight\nLightType x\n", "bad.lws", doc, err));
    EXPECT_EQ(doc.lightCount(), 2u);
    EXPECT_EQ(doc.fileName(), "v4.lws");
}

TEST(LwsMalformed, OddLinesAreTolerated) {
    const std::string bytes =
        "\xEF\xBB\xBFLWSC\n3\n"
        "HJointStiffness 0PJointStiffness 0\n"
        "LightIntensity nonsense outside any light\n"
        "}\n"  // a stray closing brace
        "AddLight\n"
        "LightName  Two  Words \n"
        "LightIntensity 0.5 trailing words\n"
        "SomethingNew 1 2 3\n"
        "\t\n"
        "\x01\x02\x7f\n";
    const LwsDocument doc = lwstest::parseOrFail(bytes, "odd.lws");
    ASSERT_EQ(doc.lightCount(), 1u);
    EXPECT_EQ(doc.scene().lights[0].name, "Two  Words");
    EXPECT_DOUBLE_EQ(doc.scene().lights[0].intensity, 0.5);
    std::vector<std::string> warnings;
    EXPECT_EQ(doc.render(doc.scene(), warnings), bytes);
}

TEST(LwsMalformed, MissingFileIsAnError) {
    LwsDocument doc;
    LoadError err;
    EXPECT_FALSE(LwsDocument::load(std::string(VANTOREL_SCENEFILE_FIXTURES) + "/no-such.lws", doc, err));
    EXPECT_NE(err.toString().find("no-such.lws"), std::string::npos);
}

// Damaged versions of every fixture: truncated anywhere, bytes overwritten.
// The reader must fail cleanly or succeed; the sanitizers catch the rest.
TEST(LwsMalformed, DamagedInputNeverCrashes) {
    std::mt19937 rng(12345);
    const char *const names[] = {"v1.lws", "v2.lws", "v3.lws", "v4.lws", "v5.lws"};
    const char noise[] = {'\n', '\r', '{', '}', ' ', '-', '9', 'x', '\0', '.'};
    for (const char *name : names) {
        const std::string bytes = lwstest::fixture(name);
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            scenefile::fuzzParseAndRender(reinterpret_cast<const std::uint8_t *>(bytes.data()), cut);
        }
        for (int round = 0; round < 300; ++round) {
            std::string damaged = bytes;
            for (int k = 0; k < 3; ++k) {
                damaged[rng() % damaged.size()] = noise[rng() % sizeof noise];
            }
            scenefile::fuzzParseAndRender(reinterpret_cast<const std::uint8_t *>(damaged.data()),
                                          damaged.size());
        }
    }
}
