// Activation: the descriptor, result codes and what carries over between runs.
#include "plugin_fixture.h"

#include <cstring>

using namespace plugintest;
using sim::Close;

TEST(Descriptor, DeclaresOneLayoutGenericServerNamedVantorel) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    const ModuleDescriptor &d = lib.descriptor();
    EXPECT_EQ(d.sync, 0x04121994u);
    EXPECT_EQ(d.sysVersion, 3u);
    EXPECT_EQ(d.machine, 0x300u);
    ASSERT_NE(d.startup, nullptr);
    ASSERT_NE(d.shutdown, nullptr);
    EXPECT_EQ(lib.startupData(), reinterpret_cast<void *>(4));
    EXPECT_STREQ(d.servers[0].className, "LayoutGeneric");
    EXPECT_STREQ(d.servers[0].serverName, "vantorel");
    EXPECT_EQ(d.servers[0].tagInfo, nullptr);
    EXPECT_EQ(d.servers[1].className, nullptr);
    EXPECT_EQ(d.servers[1].serverName, nullptr);
    EXPECT_EQ(d.servers[1].activate, nullptr);
}

class Activation : public PluginTest {};

static sim::HostConditions interfaceVersion(int32_t version) {
    sim::HostConditions c;
    c.interfaceVersion = version;
    return c;
}

TEST_F(Activation, VersionOneIsRefusedBeforeAnyLookup) {
    sim::Host host(scene::makeDemoScene(), interfaceVersion(1));
    EXPECT_EQ(host.activate(lib), 1);
    EXPECT_EQ(host.countCalls("global"), 0u);
    EXPECT_EQ(host.panelsOpened(), 0);
}

TEST_F(Activation, VersionTwoAndLaterRunThePanel) {
    for (int version : {2, 3, 99}) {
        sim::Host host(scene::makeDemoScene(), interfaceVersion(version));
        EXPECT_EQ(host.activate(lib), 0) << version;
        EXPECT_EQ(host.panelsOpened(), 1) << version;
    }
}

TEST_F(Activation, LooksUpTheFiveTablesInOrderWithModeZero) {
    sim::Host host(scene::makeDemoScene());
    host.activate(lib);
    std::vector<std::string> lookups;
    for (const auto &c : host.calls())
        if (c.name == "global") lookups.push_back(c.text());
    EXPECT_EQ(lookups,
              (std::vector<std::string>{R"(global("Info Messages 2", 0))", R"(global("LWPanelServices", 0))",
                                        R"(global("RasterServices", 0))", R"(global("LW Item Info", 0))",
                                        R"(global("LW Light Info", 0))"}));
}

TEST_F(Activation, AnyMissingTableGivesTwoAndTouchesNothing) {
    for (const char *name :
         {"Info Messages 2", "LWPanelServices", "RasterServices", "LW Item Info", "LW Light Info"}) {
        sim::HostConditions conditions;
        conditions.missingGlobals = {name};
        sim::Host host(scene::makeDemoScene(), conditions);
        EXPECT_EQ(host.activate(lib), 2) << name;
        EXPECT_EQ(host.countCalls("global"), 5u) << name;
        EXPECT_EQ(host.countCalls("item.first"), 0u) << name << ": the scene was read";
        EXPECT_EQ(host.countCalls("panel.create"), 0u) << name;
        EXPECT_TRUE(host.errors().empty()) << name;
        EXPECT_TRUE(host.commands().empty()) << name;
    }
}

TEST_F(Activation, CancelAndOkBothReturnZero) {
    sim::Host cancelled(scene::makeDemoScene());
    EXPECT_EQ(run(cancelled, [](sim::Host &) { return Close::Cancel; }), 0);
    sim::Host confirmed(scene::makeDemoScene());
    EXPECT_EQ(confirmed.activate(lib, [](sim::Host &) { return Close::Ok; }), 0);
    EXPECT_TRUE(cancelled.commands().empty());
    EXPECT_FALSE(confirmed.commands().empty());
}

TEST_F(Activation, ClipboardAndCurrentRowCarryOverToTheNextRun) {
    sim::Host host(namedScene({"Key", "Fill", "Rim"}));
    host.scene().lights[0].intensity = 0.25;
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Key"));
        DELIVER(h, Action::press(Button::Copy));
        return Close::Cancel;
    });
    // Second run of the same loaded library: paste onto Rim without copying again.
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Rim"));
        DELIVER(h, Action::press(Button::Paste));
        EXPECT_EQ(h.infoText(), "Paste Intensity");
        return Close::Ok;
    });
    EXPECT_DOUBLE_EQ(host.scene().lights[2].intensity, 0.25);
    EXPECT_DOUBLE_EQ(host.scene().lights[1].intensity, 1.0);
}

TEST_F(Activation, SelectionAndPrefixStartEmptyInEveryRun) {
    sim::Host host(namedScene({"Spot1", "Sun", "Key"}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::type("S"));
        EXPECT_EQ(h.selectedNames(), (std::vector<std::string>{"Spot1", "Sun"}));
        return Close::Cancel;
    });
    run(host, [](sim::Host &h) {
        EXPECT_EQ(h.prefixText(), "");
        EXPECT_TRUE(h.selectedNames().empty());
        EXPECT_EQ(h.propertyGhosted(), true);
        DELIVER(h, Action::key(0x1030));  // edits nothing: with an empty prefix nothing is matched
        EXPECT_TRUE(h.selectedNames().empty());
        return Close::Cancel;
    });
}

TEST_F(Activation, AThousandRunsLeaveNoPanelOrRasterBehind) {
    sim::Host host(scene::makeDemoScene());
    host.setLogging(false);
    for (int i = 0; i < 1000; ++i)
        host.activate(lib, [i](sim::Host &) { return i % 2 ? Close::Ok : Close::Cancel; });
    EXPECT_EQ(host.panelsOpened(), 1000);
    EXPECT_EQ(host.livePanels(), 0);
    EXPECT_EQ(host.liveRasters(), 0);
    EXPECT_TRUE(host.faults().empty());
}
