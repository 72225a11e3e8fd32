// The scan: how the reported colour splits into intensity and colour, the row
// cap, and names. Observed through the commands sent on OK and the controls.
#include "plugin_fixture.h"

using namespace plugintest;
using sim::Close;

namespace {

// Commands for the only light of a one-light scene after OK with no edit.
std::vector<std::string> untouchedCommands(const sim::PluginLibrary &lib, const scene::Light &l) {
    sim::Host host(sceneOf({l}));
    testsupport::runOpened(host, lib, [](sim::Host &) { return Close::Ok; });
    return host.commands();
}

scene::Light reported(double r, double g, double b) {
    return light("L", 1, 1.0, r, g, b);  // intensity 1: the host reports the colour itself
}

}  // namespace

class Scan : public PluginTest {};

TEST_F(Scan, SplitsTheReportedColourAtItsLargestComponent) {
    struct Case {
        double r, g, b;
        const char *intensity, *colour;
    } cases[] = {
        {0.5, 0.25, 0.0, "LightIntensity 0.500000", "LightColor 1.000000 0.500000 0.000000"},
        {0.8, 0.8, 0.8, "LightIntensity 0.800000", "LightColor 1.000000 1.000000 1.000000"},
        {0.6, 0.6, 0.3, "LightIntensity 0.600000", "LightColor 1.000000 1.000000 0.500000"},
        // Negative lights split at their most negative component: the colour as
        // Layout holds it, at a negative intensity.
        {-1.0, -0.5, -0.5, "LightIntensity -1.000000", "LightColor 1.000000 0.500000 0.500000"},
        {-0.4, -0.0, -1.0, "LightIntensity -1.000000", "LightColor 0.400000 0.000000 1.000000"},
        {-0.0, -0.0, -1.0, "LightIntensity -1.000000", "LightColor 0.000000 0.000000 1.000000"},
        {0.0, -0.25, 0.0, "LightIntensity -0.250000", "LightColor -0.000000 1.000000 -0.000000"},
        // Mixed signs: the component of largest magnitude; of equal ones, the positive.
        {0.5, -1.0, 0.0, "LightIntensity -1.000000", "LightColor -0.500000 1.000000 -0.000000"},
        {1.0, -1.0, 0.5, "LightIntensity 1.000000", "LightColor 1.000000 -1.000000 0.500000"},
    };
    for (const Case &c : cases) {
        auto cmds = untouchedCommands(lib, reported(c.r, c.g, c.b));
        ASSERT_GE(cmds.size(), 4u);
        EXPECT_EQ(cmds.at(2), c.intensity) << c.r << " " << c.g << " " << c.b;
        EXPECT_EQ(cmds.at(3), c.colour) << c.r << " " << c.g << " " << c.b;
    }
}

TEST_F(Scan, ABlackLightBecomesWhiteAtIntensityZero) {
    auto cmds = untouchedCommands(lib, reported(0, 0, 0));
    EXPECT_EQ(cmds.at(2), "LightIntensity 0.000000");
    EXPECT_EQ(cmds.at(3), "LightColor 1.000000 1.000000 1.000000");

    // Raising its intensity later gives a visible white light.
    sim::Host host(sceneOf({reported(0, 0, 0)}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        EXPECT_EQ(h.control("color")->vec[0], 255);
        DELIVER(h, Action::intensity(50));
        return Close::Ok;
    });
    EXPECT_DOUBLE_EQ(host.scene().lights[0].intensity, 0.5);
    EXPECT_DOUBLE_EQ(host.scene().lights[0].color[1], 1.0);
}

TEST_F(Scan, NonNumbersFromTheHostAreNeverStored) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    auto cmds = untouchedCommands(lib, reported(nan, 0.5, nan));
    EXPECT_EQ(cmds.at(2), "LightIntensity 0.500000");
    EXPECT_EQ(cmds.at(3), "LightColor 0.000000 1.000000 0.000000");

    cmds = untouchedCommands(lib, reported(inf, 1.0, 0.0));
    for (const auto &c : cmds) {
        EXPECT_EQ(c.find("nan"), std::string::npos) << c;
        EXPECT_EQ(c.find("inf"), std::string::npos) << c;
    }
    EXPECT_EQ(cmds.at(3), "LightColor 1.000000 0.000000 0.000000");
}

TEST_F(Scan, ATinyLargestComponentNeitherOverflowsNorDarkensTheLight) {
    // Split at the largest component (-1e-300), the colour would overflow; split
    // at -1e-7, the intensity would print as 0 and OK would turn the light off.
    auto cmds = untouchedCommands(lib, reported(-1e300, -2.0, -1e-300));
    char expected[1024];
    snprintf(expected, sizeof expected, "LightIntensity %f", -1e300);
    EXPECT_EQ(cmds.at(2), expected);
    EXPECT_EQ(cmds.at(3), "LightColor 1.000000 0.000000 0.000000");

    sim::Host host(sceneOf({reported(-1.0, -1e-7, -0.5)}));
    run(host, [](sim::Host &) { return Close::Ok; });
    ASSERT_EQ(host.commands().size(), 7u);
    EXPECT_EQ(host.commands()[2], "LightIntensity -1.000000");
    EXPECT_EQ(host.commands()[3], "LightColor 1.000000 0.000000 0.500000");
    EXPECT_DOUBLE_EQ(host.scene().lights[0].intensity, -1.0);
}

TEST_F(Scan, ReadsThePerLightQueriesInOrder) {
    sim::Host host(namedScene({"A", "B"}));
    host.activate(lib);
    std::vector<std::string> order;
    for (const auto &c : host.calls())
        if (c.name.rfind("item.", 0) == 0 || c.name.rfind("light.", 0) == 0) order.push_back(c.name);
    const std::vector<std::string> perLight = {"item.name",   "light.color", "light.type", "light.shadowType",
                                               "light.range", "light.flags", "item.next"};
    ASSERT_EQ(order.size(), 1 + 2 * perLight.size());
    EXPECT_EQ(order[0], "item.first");
    EXPECT_EQ(slice(order, 1, 7), perLight);
    EXPECT_EQ(slice(order, 8, 7), perLight);
    for (const auto &c : host.calls()) {
        if (c.name == "light.color") {
            EXPECT_EQ(c.args.at(1), "0") << c.text();
        }
    }
}

TEST_F(Scan, SliderRangeFollowsTheLightCount) {
    for (auto [count, max] :
         {std::pair{0, 0}, {25, 0}, {26, 16}, {30, 80}, {510, 510 * 16 - 400}, {600, 510 * 16 - 400}}) {
        sim::Host host(scene::makeUniformScene(count));
        run(host, [count = count](sim::Host &h) {
            EXPECT_EQ(h.listedNames().size(), static_cast<size_t>(std::min(count, 510))) << count;
            return Close::Cancel;
        });
        EXPECT_EQ(host.control("slider")->desc.range.max, max) << count;
        EXPECT_EQ(host.control("slider")->desc.range.min, 0) << count;
    }
}

TEST_F(Scan, StopsAfter510LightsHavingAskedForThe511th) {
    sim::Host host(scene::makeUniformScene(511));
    run(host, [](sim::Host &h) {
        EXPECT_EQ(h.listedNames().back(), "Light 510");
        return Close::Cancel;
    });
    EXPECT_EQ(host.countCalls("item.next"), 510u);
    EXPECT_EQ(host.countCalls("item.name"), 510u);
}

TEST_F(Scan, LongNamesAreCutTo255Characters) {
    const std::string exact(255, 'a');
    const std::string longer = std::string(255, 'b') + std::string(745, 'c');
    sim::Host host(namedScene({exact, longer, "after"}));
    run(host, [&](sim::Host &h) {
        EXPECT_EQ(h.listedNames(), (std::vector<std::string>{exact, std::string(255, 'b'), "after"}));
        return Close::Cancel;
    });
}

TEST_F(Scan, RangeIsReadEvenWhenTheRangeIsUnlimited) {
    auto l = light("L");
    l.range = 7.5;
    l.flags = 0;
    sim::Host host(sceneOf({l}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        EXPECT_DOUBLE_EQ(h.control("Range")->floatValue, 7.5);
        return Close::Cancel;
    });
}
