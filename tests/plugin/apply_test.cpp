// Applying edits: the exact command texts, their order and count, and what is
// never sent.
#include "plugin_fixture.h"

#include <cfloat>
#include <cmath>

using namespace plugintest;
using sim::Close;

class Apply : public PluginTest {};

namespace {
std::vector<std::string> okWith(const sim::PluginLibrary &lib, sim::Host &host,
                                std::function<void(sim::Host &)> edit = {}) {
    testsupport::runOpened(host, lib, [&](sim::Host &h) {
        if (edit) edit(h);
        return Close::Ok;
    });
    return host.commands();
}

scene::Light spot() {
    auto l = light("Spot", 2, 0.75, 1.0, 0.5, 0.0);
    l.shadowType = 1;
    l.flags = 1;
    l.range = 5.0;
    return l;
}
}  // namespace

TEST_F(Apply, ASceneWithoutLightsGetsTwoCommands) {
    sim::Host host(sceneOf({}));
    EXPECT_EQ(okWith(lib, host), (std::vector<std::string>{"EditLights", "SelectItem 0"}));
}

TEST_F(Apply, OneSpotLightGetsEightCommandsInOrder) {
    sim::Host host(sceneOf({spot()}));
    EXPECT_EQ(okWith(lib, host),
              (std::vector<std::string>{"EditLights", "SelectItem 20000000", "LightIntensity 0.750000",
                                        "LightColor 1.000000 0.500000 0.000000", "Spotlight", "ShadowType 1",
                                        "LightRange 5.000000", "SelectItem 0"}));
    for (const auto &r : host.commandRecords()) {
        EXPECT_TRUE(r.accepted) << r.text << ": " << r.reason;
    }
}

TEST_F(Apply, RangeIsSentOnlyForLightsWithALimitedRange) {
    auto l = spot();
    l.flags = 0x6;  // other bits are carried but mean nothing here
    sim::Host host(sceneOf({l}));
    auto cmds = okWith(lib, host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Spot"));
        DELIVER(h, Action::range(9.0));
    });
    EXPECT_EQ(cmds.size(), 7u);
    for (const auto &c : cmds) EXPECT_NE(c.rfind("LightRange", 0), 0u) << c;
}

TEST_F(Apply, CountIsTwoPlusFivePerLightPlusOnePerLimitedRange) {
    auto scene = scene::makeUniformScene(510);
    for (int i = 0; i < 510; i += 3) scene.lights[i].flags = 1;
    sim::Host host(scene);
    auto cmds = okWith(lib, host);
    EXPECT_EQ(cmds.size(), 2u + 5u * 510u + 170u);
    EXPECT_EQ(cmds.front(), "EditLights");
    EXPECT_EQ(cmds.back(), "SelectItem 0");
}

TEST_F(Apply, UnknownLightTypesAreSentAsDistant) {
    const char *words[] = {"DistantLight", "PointLight", "Spotlight", "LinearLight", "AreaLight"};
    for (int type : {-1, 0, 1, 2, 3, 4, 7}) {
        sim::Host host(sceneOf({light("L")}));
        auto cmds = okWith(lib, host, [type](sim::Host &h) {
            DELIVER(h, Action::clickName("L"));
            DELIVER(h, Action::lightType(type));
        });
        EXPECT_EQ(cmds.at(4), (type >= 0 && type <= 4) ? words[type] : "DistantLight") << type;
    }
}

TEST_F(Apply, IntensitiesBeyondTheUsualRangeAreSentAsTheyAre) {
    for (auto [percent, text] :
         {std::pair{-50.0, "LightIntensity -0.500000"}, {250.0, "LightIntensity 2.500000"}}) {
        sim::Host host(sceneOf({light("L")}));
        auto cmds = okWith(lib, host, [percent = percent](sim::Host &h) {
            DELIVER(h, Action::clickName("L"));
            DELIVER(h, Action::intensity(percent));
        });
        EXPECT_EQ(cmds.at(2), text);
    }
}

TEST_F(Apply, ItemIdsAreLowercaseHexWithoutPadding) {
    auto a = light("A"), b = light("B");
    scene::Scene scene;
    scene.lights = {a, b};
    scene.lights[0].id = 255;
    scene.lights[1].id = 0xABCDEF;
    sim::Host host(scene);
    auto cmds = okWith(lib, host);
    EXPECT_EQ(cmds.at(1), "SelectItem ff");
    EXPECT_EQ(cmds.at(6), "SelectItem abcdef");
}

TEST_F(Apply, CancelSendsNothing) {
    sim::Host host(scene::makeDemoScene());
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Key"));
        DELIVER(h, Action::intensity(10));
        return Close::Cancel;
    });
    EXPECT_TRUE(host.commands().empty());
}

TEST_F(Apply, TheLargestFiniteValuesAreSentWhole) {
    auto l = light("L");
    l.flags = 1;
    sim::Host host(sceneOf({l}));
    auto cmds = okWith(lib, host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        DELIVER(h, Action::intensity(-DBL_MAX));
        DELIVER(h, Action::range(DBL_MAX));
    });
    char intensity[512], range[512];
    snprintf(intensity, sizeof intensity, "LightIntensity %f", -DBL_MAX / 100.0);
    snprintf(range, sizeof range, "LightRange %f", DBL_MAX);
    EXPECT_EQ(cmds.at(2), intensity);
    EXPECT_EQ(cmds.at(6), range);
    EXPECT_EQ(cmds.at(6).size(), 11u + 309u + 7u);
    EXPECT_DOUBLE_EQ(host.scene().lights[0].range, DBL_MAX);
}

TEST_F(Apply, NonFiniteValuesAreLeftOutAndTheSceneKeepsThem) {
    auto l = light("L", 1, 0.4);
    l.flags = 1;
    l.range = 3.0;
    sim::Host host(sceneOf({l, light("M")}));
    auto cmds = okWith(lib, host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        DELIVER(h, Action::intensity(std::nan("")));
        DELIVER(h, Action::range(INFINITY));
    });
    EXPECT_EQ(cmds,
              (std::vector<std::string>{
                  "EditLights", "SelectItem 20000000", "LightColor 1.000000 1.000000 1.000000", "PointLight",
                  "ShadowType 0", "SelectItem 20000001", "LightIntensity 1.000000",
                  "LightColor 1.000000 1.000000 1.000000", "PointLight", "ShadowType 0", "SelectItem 0"}));
    EXPECT_DOUBLE_EQ(host.scene().lights[0].intensity, 0.4);
    EXPECT_DOUBLE_EQ(host.scene().lights[0].range, 3.0);
}

TEST_F(Apply, LightsPastTheTableAreSelectedButNotWritten) {
    sim::Host host(scene::makeUniformScene(512));
    auto cmds = okWith(lib, host);
    ASSERT_EQ(cmds.size(), 2u + 5u * 510u + 2u);
    EXPECT_EQ(slice(cmds, cmds.size() - 3, 3),
              (std::vector<std::string>{"SelectItem 200001fe", "SelectItem 200001ff", "SelectItem 0"}));
}
