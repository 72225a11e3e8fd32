// The plug-in on every real scene file: load, run a session, write back, re-read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

#include "scenefile/lws_document.h"
#include "sim/host.h"
#include "tests/support/deliver.h"

#include "tests/support/real_scenes.h"

using sim::Action;

using scenefile::LwsDocument;
using scenefile::LwsSetting;

namespace {

const std::string kSceneDir = VANTOREL_SHARED_SCENES;

std::vector<std::string> realScenes() { return testsupport::realSceneFiles(kSceneDir); }

// Lines with their line ends, so that a changed line end counts as a change.
std::vector<std::string> linesOf(const std::string &bytes) {
    std::vector<std::string> out;
    std::string cur;
    for (size_t i = 0; i < bytes.size(); ++i) {
        cur += bytes[i];
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) {
            out.push_back(cur);
            cur.clear();
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// 0-based lines holding the given settings of any light.
std::set<size_t> settingLines(const LwsDocument &doc, std::initializer_list<LwsSetting> which) {
    std::set<size_t> out;
    for (size_t i = 0; i < doc.lightCount(); ++i)
        for (LwsSetting s : which)
            if (int line = doc.settingLine(i, s)) out.insert(static_cast<size_t>(line - 1));
    return out;
}

const std::initializer_list<LwsSetting> kAll = {LwsSetting::Color, LwsSetting::Intensity,
                                                LwsSetting::Type,  LwsSetting::Falloff,
                                                LwsSetting::Range, LwsSetting::Shadow};

double product(const scene::Light &l, int c) { return l.color[c] * l.intensity; }

bool near(double a, double b, double rel) { return std::fabs(a - b) <= rel * std::max(1.0, std::fabs(b)); }

struct SessionRun {
    std::string name, bytes, written;
    LwsDocument before, after;
    scene::Scene sent;  // the scene after the plug-in's commands
    std::vector<std::string> warnings;
};

class RealScenes : public ::testing::Test {
protected:
    void SetUp() override {
        names = realScenes();
        if (names.empty()) GTEST_SKIP() << "no scene files in " << kSceneDir;
    }

    // Loads a scene, runs the plug-in with the driver, writes and re-reads the result.
    bool run(const std::string &name, const sim::Host::Driver &driver, SessionRun &r) {
        r.name = name;
        scenefile::LoadError err;
        if (!LwsDocument::load(kSceneDir + "/" + name, r.before, err)) {
            ADD_FAILURE() << err.toString();
            return false;
        }
        FILE *f = std::fopen((kSceneDir + "/" + name).c_str(), "rb");
        for (int ch; f && (ch = std::fgetc(f)) != EOF;) r.bytes += static_cast<char>(ch);
        const bool readFailed = !f || std::ferror(f);
        if ((f && std::fclose(f) != 0) || readFailed) {
            ADD_FAILURE() << "cannot read " << name;
            return false;
        }
        sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
        sim::Host host(r.before.scene());
        host.setLogging(false);
        testsupport::runOpened(host, lib, driver);
        EXPECT_TRUE(host.faults().empty()) << host.faults().front();
        r.sent = host.scene();
        r.written = r.before.render(r.sent, r.warnings);
        if (!LwsDocument::parse(r.written, name, r.after, err)) {
            ADD_FAILURE() << "the written scene does not read back: " << err.toString();
            return false;
        }
        return true;
    }

    std::vector<std::string> names;
};

TEST_F(RealScenes, OkWithoutEditKeepsTheFileAndTheLights) {
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        SessionRun r;
        if (!run(
                name, [](sim::Host &) { return sim::Close::Ok; }, r))
            continue;
        const auto before = linesOf(r.bytes), after = linesOf(r.written);
        ASSERT_EQ(before.size(), after.size());
        const std::set<size_t> settings = settingLines(r.before, kAll);
        for (size_t i = 0; i < before.size(); ++i) {
            if (!settings.count(i)) {
                EXPECT_EQ(before[i], after[i]) << "line " << i + 1;
            }
        }

        // Re-read lights carry what the plug-in sent; light for light the
        // colour x intensity is unchanged unless the intensity is animated.
        const scene::Scene orig = r.before.scene(), back = r.after.scene();
        ASSERT_EQ(back.lights.size(), r.sent.lights.size());
        const double tol = r.before.version() <= 2 ? 1.0 / 255 : 2e-6;  // 0-255 colours
        for (size_t i = 0; i < back.lights.size(); ++i) {
            SCOPED_TRACE("light " + std::to_string(i + 1) + " " + back.lights[i].name);
            const scene::Light &b = back.lights[i], &s = r.sent.lights[i], &o = orig.lights[i];
            EXPECT_EQ(b.id, o.id);
            EXPECT_EQ(b.name, o.name);
            EXPECT_EQ(b.lightType, s.lightType);
            EXPECT_EQ(b.shadowType, s.shadowType);
            EXPECT_EQ(b.flags & 1u, s.flags & 1u);
            EXPECT_TRUE(near(b.range, s.range, 2e-6)) << b.range << " vs " << s.range;
            // LWSC 1 and 2 hold colours as 0-255 integers, so the file keeps
            // its own colour and intensity when their product is what was sent.
            if (!o.intensityAnimated && r.before.version() >= 3) {
                EXPECT_TRUE(near(b.intensity, s.intensity, 2e-6)) << b.intensity << " vs " << s.intensity;
            }
            for (int c = 0; c < 3; ++c) {
                if (!o.intensityAnimated) {
                    EXPECT_TRUE(near(product(b, c), product(o, c), tol))
                        << product(b, c) << " vs " << product(o, c);
                }
                EXPECT_TRUE(near(product(b, c), product(s, c), tol))
                    << product(b, c) << " vs " << product(s, c);
            }
        }
    }
}

TEST_F(RealScenes, CancelLeavesEveryLightAsItWas) {
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        SessionRun r;
        if (!run(
                name, [](sim::Host &) { return sim::Close::Cancel; }, r))
            continue;
        EXPECT_EQ(r.written, r.bytes);
        EXPECT_TRUE(r.warnings.empty());
    }
}

TEST_F(RealScenes, PrefixAndIntensityChangeOnlyTheSelectedLightsColourAndIntensity) {
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        LwsDocument probe;
        scenefile::LoadError err;
        ASSERT_TRUE(LwsDocument::load(kSceneDir + "/" + name, probe, err));
        const std::string first = probe.scene().lights.at(0).name;
        const std::string prefix = first.substr(0, std::min<size_t>(2, first.size()));
        std::vector<std::string> selected;
        SessionRun r;
        if (!run(
                name,
                [&](sim::Host &h) {
                    DELIVER(h, Action::prefix(prefix));
                    selected = h.selectedNames();
                    DELIVER(h, Action::intensity(50));
                    return sim::Close::Ok;
                },
                r))
            continue;
        ASSERT_FALSE(selected.empty()) << "prefix " << prefix;

        // Outside the lights' colour and intensity lines nothing changes.
        const auto before = linesOf(r.bytes), after = linesOf(r.written);
        ASSERT_EQ(before.size(), after.size());
        const std::set<size_t> ci = settingLines(r.before, {LwsSetting::Color, LwsSetting::Intensity});
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            if (before[i] == after[i]) continue;
            ++changed;
            EXPECT_TRUE(ci.count(i)) << "line " << i + 1 << " changed: " << after[i];
        }
        EXPECT_GT(changed, 0u);

        const scene::Scene orig = r.before.scene(), back = r.after.scene();
        const double tol = r.before.version() <= 2 ? 1.0 / 255 : 2e-6;
        for (size_t i = 0; i < back.lights.size(); ++i) {
            const scene::Light &b = back.lights[i], &o = orig.lights[i];
            SCOPED_TRACE("light " + std::to_string(i + 1) + " " + o.name);
            bool isSelected = std::find(selected.begin(), selected.end(), o.name) != selected.end();
            double peak = 0, peakBefore = 0;
            for (int c = 0; c < 3; ++c) {
                peak = std::max(peak, product(b, c));
                peakBefore = std::max(peakBefore, product(o, c));
            }
            if (isSelected) {
                // 50 percent: the brightest channel of colour x intensity is 0.5,
                // the colour's balance unchanged.
                EXPECT_TRUE(near(peak, 0.5, tol)) << peak;
                for (int c = 0; c < 3 && peakBefore > 0; ++c)
                    EXPECT_TRUE(near(product(b, c) / peak, product(o, c) / peakBefore, tol));
            } else if (!o.intensityAnimated) {
                for (int c = 0; c < 3; ++c) EXPECT_TRUE(near(product(b, c), product(o, c), tol));
            }
        }
    }
}

}  // namespace
