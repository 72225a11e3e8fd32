// Round trips on the real scene files kept beside the source tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "lws_test_util.h"

#include "tests/support/real_scenes.h"

using scenefile::LwsDocument;
using scenefile::LwsSetting;

namespace {

const std::string kSceneDir = VANTOREL_SHARED_SCENES;

std::vector<std::string> realScenes() { return testsupport::realSceneFiles(kSceneDir); }

// `names` is the name of the variable declared, so it cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define REQUIRE_REAL_SCENES(names)                       \
    const std::vector<std::string> names = realScenes(); \
    if (names.empty()) GTEST_SKIP() << "no scene files in " << kSceneDir
// NOLINTEND(bugprone-macro-parentheses)

// 0-based indices of every line that holds a light setting (envelopes included).
std::set<std::size_t> settingLines(const LwsDocument &doc) {
    std::set<std::size_t> out;
    for (std::size_t i = 0; i < doc.lightCount(); ++i) {
        for (int s = 0; s < scenefile::kLwsSettingCount; ++s) {
            const int line = doc.settingLine(i, static_cast<LwsSetting>(s));
            if (line > 0) out.insert(static_cast<std::size_t>(line - 1));
        }
    }
    return out;
}

}  // namespace

TEST(LwsRealScenes, UnchangedSceneIsWrittenByteForByte) {
    REQUIRE_REAL_SCENES(names);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string bytes = lwstest::readBytes(kSceneDir + "/" + name);
        const LwsDocument doc = lwstest::parseOrFail(bytes, name);
        EXPECT_GT(doc.lightCount(), 0u);
        std::vector<std::string> warnings;
        EXPECT_EQ(doc.render(doc.scene(), warnings), bytes);
        EXPECT_TRUE(warnings.empty());
    }
}

TEST(LwsRealScenes, WhatThePluginSendsBackIsWhatIsSaved) {
    REQUIRE_REAL_SCENES(names);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string bytes = lwstest::readBytes(kSceneDir + "/" + name);
        const LwsDocument doc = lwstest::parseOrFail(bytes, name);
        const scene::Scene before = doc.scene();
        const scene::Scene sent = lwstest::asPluginSendsBack(before);
        std::vector<std::string> warnings;
        const std::string out = doc.render(sent, warnings);
        EXPECT_TRUE(warnings.empty()) << (warnings.empty() ? "" : warnings.front());

        // Only light settings may differ; nothing is inserted or lost.
        const auto a = lwstest::splitKeepEol(bytes);
        const auto b = lwstest::splitKeepEol(out);
        ASSERT_EQ(a.size(), b.size());
        const std::set<std::size_t> settings = settingLines(doc);
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!settings.count(i)) {
                EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
            }
        }

        const scene::Scene back = lwstest::parseOrFail(out, "out.lws").scene();
        ASSERT_EQ(back.lights.size(), before.lights.size());
        for (std::size_t k = 0; k < back.lights.size(); ++k) {
            SCOPED_TRACE("light " + std::to_string(k + 1));
            const scene::Light &o = before.lights[k];
            const scene::Light &s = sent.lights[k];
            const scene::Light &r = back.lights[k];
            EXPECT_EQ(r.id, o.id);
            EXPECT_EQ(r.name, o.name);
            EXPECT_EQ(r.lightType, s.lightType);
            EXPECT_EQ(r.shadowType, s.shadowType);
            EXPECT_EQ(r.flags, s.flags);
            EXPECT_DOUBLE_EQ(r.range, o.range);
            EXPECT_EQ(r.intensityAnimated, o.intensityAnimated);
            if (o.intensityAnimated) continue;
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(r.color[c] * r.intensity, o.color[c] * o.intensity, 2e-6);
                if (doc.version() >= 3) {
                    EXPECT_NEAR(r.color[c], s.color[c], 1e-9);
                }
            }
            if (doc.version() >= 3) {
                EXPECT_NEAR(r.intensity, s.intensity, 1e-9);
            }
        }
    }
}

TEST(LwsRealScenes, OneScriptedIntensityChangesExactlyOneLine) {
    REQUIRE_REAL_SCENES(names);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string bytes = lwstest::readBytes(kSceneDir + "/" + name);
        const LwsDocument doc = lwstest::parseOrFail(bytes, name);
        scene::Scene s = doc.scene();
        std::size_t k = 0;
        while (k < s.lights.size() && s.lights[k].intensityAnimated) ++k;
        ASSERT_LT(k, s.lights.size());
        s.lights[k].intensity = lwstest::fromPrintf(s.lights[k].intensity * 0.5 + 0.125);
        std::vector<std::string> warnings;
        const std::string out = doc.render(s, warnings);
        const auto a = lwstest::splitKeepEol(bytes);
        const auto b = lwstest::splitKeepEol(out);
        ASSERT_EQ(a.size(), b.size());
        const std::size_t line = static_cast<std::size_t>(doc.settingLine(k, LwsSetting::Intensity));
        ASSERT_GT(line, 0u);
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (i + 1 == line) {
                EXPECT_NE(a[i], b[i]);
                EXPECT_EQ(b[i].substr(b[i].size() - 2), "\r\n");  // the file's line end
            } else {
                EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
            }
        }
        EXPECT_NEAR(lwstest::parseOrFail(out, "out").scene().lights[k].intensity, s.lights[k].intensity,
                    1e-12);
    }
}

TEST(LwsRealScenes, KnownLightsReadAsInTheFiles) {
    REQUIRE_REAL_SCENES(names);
    const std::set<std::string> have(names.begin(), names.end());
    if (have.count("aliens-newtek-01.lws")) {
        const scene::Scene s =
            lwstest::parseOrFail(lwstest::readBytes(kSceneDir + "/aliens-newtek-01.lws"), "a").scene();
        ASSERT_EQ(s.lights.size(), 4u);
        const int types[] = {2, 4, 1, 1};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(s.lights[static_cast<std::size_t>(i)].lightType, types[i]);
        EXPECT_EQ(s.lights[0].shadowType, 2);
        EXPECT_EQ(s.lights[0].flags, 0u);
        EXPECT_EQ(s.lights[2].name, "mouth");
        EXPECT_EQ(s.lights[2].flags, 1u);
        EXPECT_DOUBLE_EQ(s.lights[2].range, 1.44);
        EXPECT_DOUBLE_EQ(s.lights[3].intensity, -0.5);
        EXPECT_EQ(s.lights[3].id, 0x20000003u);
    }
    if (have.count("shcr-shadow.lws")) {
        const scene::Scene s =
            lwstest::parseOrFail(lwstest::readBytes(kSceneDir + "/shcr-shadow.lws"), "s").scene();
        ASSERT_EQ(s.lights.size(), 4u);
        EXPECT_NEAR(s.lights[1].color[0], 190.0 / 255.0, 1e-12);
        EXPECT_DOUBLE_EQ(s.lights[1].intensity, 0.7);
        EXPECT_TRUE(s.lights[3].intensityAnimated);
        EXPECT_DOUBLE_EQ(s.lights[3].intensity, 0.0);  // first key: 0 at frame 0
        EXPECT_EQ(s.lights[3].flags, 1u);
        EXPECT_DOUBLE_EQ(s.lights[3].range, 12.5);
        EXPECT_EQ(s.lights[3].lightType, 1);
        EXPECT_EQ(s.lights[3].shadowType, 0);  // after the flare envelopes
    }
}
