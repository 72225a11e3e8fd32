// The panel: what is created, where it goes, how it is bound, and every way
// its construction can fail.
#include "plugin_fixture.h"

using namespace plugintest;
using sim::Close;

class Panel : public PluginTest {};

namespace {
std::vector<std::string> addControlCalls(const sim::Host &host) {
    std::vector<std::string> out;
    for (const auto &c : host.calls())
        if (c.name == "panel.addControl") out.push_back(c.args.at(1) + " " + c.args.at(3));
    return out;
}

const std::vector<std::string> kCreationOrder = {
    R"("FloatControl" "Intensity")", R"("DragButtonControl" "")",
    R"("ChoiceControl" "")",         R"("ChoiceControl" "")",
    R"("FloatControl" "Range")",     R"("ButtonControl" "copy")",
    R"("ButtonControl" "paste")",    R"("InfoControl" "info")",
    R"("AreaControl" "")",           R"("ButtonControl" "Clear selection")",
    R"("VSlideControl" "")",         R"("EditControl" "prefix")",
    R"("MiniRGBControl" "")"};
}  // namespace

TEST_F(Panel, TitleHeightAndControlsInCreationOrder) {
    sim::Host host(scene::makeDemoScene());
    host.activate(lib);
    const sim::PanelModel *p = host.lastPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->title, "Vantorel for 6.5 ver.2.0   by Ulvarn");
    EXPECT_EQ(p->height, 480);
    EXPECT_EQ(addControlCalls(host), kCreationOrder);
    EXPECT_TRUE(p->destroyed);
    EXPECT_EQ(host.countCalls("panel.open"), 1u);
    for (const auto &c : host.calls())
        if (c.name == "panel.open") {
            EXPECT_EQ(c.args.at(1), "7");
        }
}

TEST_F(Panel, DescriptorsCarryTheirSizesAndItems) {
    sim::Host host(scene::makeUniformScene(40));
    host.activate(lib);
    auto desc = [&](const char *key) { return host.control(key)->desc; };
    EXPECT_EQ(desc("Intensity").type, HV_FLOAT);
    EXPECT_EQ(desc("drag").area.type, CD_AREA);
    EXPECT_EQ(desc("drag").area.width, 0);
    EXPECT_EQ(desc("drag").area.height, -1);
    EXPECT_EQ(host.control("lighttype")->items,
              (std::vector<std::string>{"Distant", "Point", "Spot", "Linear", "Area"}));
    EXPECT_EQ(host.control("shadow")->items, (std::vector<std::string>{"Off", "Raytrace", "ShadowMap"}));
    EXPECT_EQ(desc("lighttype").choice.vertical, 0);
    EXPECT_EQ(desc("copy").type, HV_INTEGER);
    EXPECT_EQ(desc("info").string.width, 40);
    EXPECT_EQ(desc("list").area.width, 200);
    EXPECT_EQ(desc("list").area.height, 400);
    EXPECT_EQ(desc("Clear selection").area.width, 200);
    EXPECT_EQ(desc("Clear selection").area.height, 0);
    EXPECT_EQ(desc("slider").range.width, 400);
    EXPECT_EQ(desc("slider").range.max, 40 * 16 - 400);
    EXPECT_EQ(desc("prefix").string.width, 30);
    EXPECT_EQ(desc("color").type, HV_IVECTOR);
}

TEST_F(Panel, ControlBodiesStartAtTheirPlaces) {
    sim::Host host(scene::makeDemoScene());
    host.activate(lib);
    struct Place {
        const char *key;
        int x, y;
    } places[] = {
        {"list", 8, 30},       {"slider", 220, 30},  {"prefix", 38, 4},      {"Clear selection", 8, 438},
        {"Intensity", 328, 8}, {"drag", 428, 8},     {"lighttype", 250, 38}, {"color", 261, 68},
        {"Range", 311, 98},    {"shadow", 250, 128}, {"copy", 250, 158},     {"paste", 374, 158},
        {"info", 281, 188}};
    for (const Place &p : places) {
        const sim::ControlModel *c = host.control(p.key);
        ASSERT_NE(c, nullptr) << p.key;
        EXPECT_EQ(c->x + c->labelWidth, p.x) << p.key;
        EXPECT_EQ(c->y, p.y) << p.key;
    }
    // A labelled control's label lies to the left of its body.
    EXPECT_GT(host.control("Intensity")->labelWidth, 0);
}

TEST_F(Panel, HandlersAndUserDataAreBoundBeforeOpening) {
    sim::Host host(scene::makeDemoScene());
    host.activate(lib);
    for (const char *key : {"list", "slider", "Clear selection", "prefix", "Intensity", "drag", "Range",
                            "lighttype", "shadow", "color", "copy", "paste"}) {
        const sim::ControlModel *c = host.control(key);
        EXPECT_NE(c->eventHandler, 0) << key;
        EXPECT_NE(c->userData, 0) << key;
        EXPECT_EQ(c->userData, host.control("list")->userData) << key;
    }
    EXPECT_NE(host.control("list")->drawHandler, 0);
    EXPECT_EQ(host.control("info")->eventHandler, 0);
    EXPECT_NE(host.lastPanel()->keyHandler, 0);
    EXPECT_EQ(host.lastPanel()->userData, host.control("list")->userData);

    // Registration happens in one fixed order: user data first, then the handler.
    std::vector<std::string> sets;
    for (const auto &c : host.calls())
        if (c.name == "control.set" && (c.args.at(1) == "16" || c.args.at(1) == "14" || c.args.at(1) == "13"))
            sets.push_back(c.args.at(0) + ":" + c.args.at(1));
    ASSERT_EQ(sets.size(), 26u);
    EXPECT_EQ(sets[0], "list:16");
    EXPECT_EQ(sets[1], "list:13");
    EXPECT_EQ(sets[2], "slider:16");
    EXPECT_EQ(sets[3], "slider:14");
    EXPECT_EQ(sets[25], "paste:14");
}

TEST_F(Panel, OpensWithThePropertyControlsGhostedAndTheRestNormal) {
    sim::Host host(scene::makeDemoScene());
    run(host, [](sim::Host &h) {
        EXPECT_EQ(h.propertyGhosted(), true);
        for (const char *key : {"list", "slider", "prefix", "info"})
            EXPECT_NE(h.control(key)->drawState, DR_GHOST) << key;
        return Close::Cancel;
    });
}

TEST_F(Panel, AnOldToolkitGetsOneMessageAndNoControls) {
    sim::HostConditions old;
    old.toolkitVersion = 17;
    sim::Host host(scene::makeDemoScene(), old);
    EXPECT_EQ(host.activate(lib), 0);
    EXPECT_EQ(host.errors(), std::vector<std::string>{"Please use Version 18"});
    EXPECT_EQ(host.errorBoxes()[0].secondLine, std::nullopt);
    EXPECT_EQ(host.countCalls("raster.create"), 0u);
    EXPECT_EQ(host.countCalls("panel.addControl"), 0u);
    EXPECT_EQ(host.countCalls("panel.destroy"), 1u);
    EXPECT_EQ(host.panelsOpened(), 0);

    sim::HostConditions current;
    current.toolkitVersion = 18;
    sim::Host ok(scene::makeDemoScene(), current);
    ok.activate(lib);
    EXPECT_TRUE(ok.errors().empty());
    EXPECT_EQ(ok.panelsOpened(), 1);
}

TEST_F(Panel, NoPanelMeansSilence) {
    sim::HostConditions c;
    c.failPanelCreate = true;
    sim::Host host(scene::makeDemoScene(), c);
    EXPECT_EQ(host.activate(lib), 0);
    EXPECT_TRUE(host.errors().empty());
    EXPECT_EQ(host.countCalls("raster.create"), 0u);
    EXPECT_TRUE(host.commands().empty());
}

TEST_F(Panel, EveryConstructionFailureTakesTheFailureExitAndLeaksNothing) {
    // Raster failure first, then each of the thirteen controls in turn.
    for (int k = 0; k <= 13; ++k) {
        sim::HostConditions c;
        if (k == 0) c.failRasterCreate = true;
        else c.failControl = k;
        sim::Host host(scene::makeDemoScene(), c);
        EXPECT_EQ(host.activate(lib, [](sim::Host &) { return Close::Ok; }), 0) << k;
        EXPECT_EQ(host.errors(), std::vector<std::string>{"Coudln't open the panel !!"}) << k;
        EXPECT_EQ(host.countCalls("panel.addControl"), static_cast<size_t>(k))
            << "later controls made, k=" << k;
        EXPECT_EQ(host.panelsOpened(), 0) << k;
        EXPECT_TRUE(host.commands().empty()) << k;
        EXPECT_EQ(host.livePanels(), 0) << k;
        EXPECT_EQ(host.liveRasters(), 0) << k;
        EXPECT_TRUE(host.faults().empty()) << k << ": " << (host.faults().empty() ? "" : host.faults()[0]);
    }
}

TEST_F(Panel, TheListRasterIsReleasedAfterThePanel) {
    sim::Host host(scene::makeDemoScene());
    host.activate(lib);
    std::vector<std::string> tail;
    for (const auto &c : host.calls())
        if (c.name == "panel.destroy" || c.name == "raster.destroy") tail.push_back(c.name);
    EXPECT_EQ(tail, (std::vector<std::string>{"panel.destroy", "raster.destroy"}));
}
