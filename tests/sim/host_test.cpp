// Tests of the simulated Layout's host tables, driven by a small stand-in
// plug-in written here (so they do not depend on the real one).
#include <gtest/gtest.h>

#include <cstring>

#include "host.h"
#include "tests/support/deliver.h"

using sim::Action;

namespace {

// ---- the stand-in plug-in -------------------------------------------------

struct Fake {
    PanelServices *panels = nullptr;
    RasterServices *rasters = nullptr;
    ItemInfo *items = nullptr;
    LightInfo *lights = nullptr;
    MessageFuncs *messages = nullptr;
    HostRaster *raster = nullptr;
    HostControl *list = nullptr, *intensity = nullptr;
    int toolkit = 0;
    int clicks = 0, lastMouseY = -1, draws = 0;
    bool reversed = false;  // paint the names bottom up: a list that is not the scene's order
    double lastIntensity = 0;
    std::vector<std::string> names;
    std::vector<double> reds;
} fake;

HostValue ival(intptr_t v) {
    HostValue h{};
    h.intv.type = HV_INTEGER;
    h.intv.value = v;
    return h;
}

void VT_CDECL drawList(HostControl *c, void *, int32_t) {
    ++fake.draws;
    HostValue v{};
    v.type = HV_INTEGER;
    c->get(c, CTL_PANEL, &v);
    HostPanel *panel = reinterpret_cast<HostPanel *>(v.intv.value);
    fake.rasters->drawRGBBox(fake.raster, 128, 128, 128, 0, 0, 200, 400);
    for (int i = 0; i < static_cast<int>(fake.names.size()); ++i) {
        if (i == 1) fake.rasters->drawRGBBox(fake.raster, 30, 30, 128, 0, 16 * i, 200, 14);
        const size_t shown =
            static_cast<size_t>(fake.reversed ? static_cast<int>(fake.names.size()) - 1 - i : i);
        fake.rasters->drawText(fake.raster, fake.names[shown].c_str(), 4140, 0, 16 * i);
    }
    c->get(c, CTL_HOTX, &v);
    int hx = static_cast<int>(v.intv.value);
    c->get(c, CTL_HOTY, &v);
    int hy = static_cast<int>(v.intv.value);
    fake.rasters->blitPanel(fake.raster, 0, 0, panel, hx, hy, 200, 400);
}

void VT_CDECL clickList(HostControl *c, void *) {
    ++fake.clicks;
    HostValue v = ival(0);
    c->get(c, CTL_MOUSEY, &v);
    fake.lastMouseY = static_cast<int>(v.intv.value);
}

void VT_CDECL intensityChanged(HostControl *c, void *) {
    HostValue v{};
    v.type = HV_FLOAT;
    c->get(c, CTL_VALUE, &v);
    fake.lastIntensity = v.flt.value;
}

int32_t VT_CDECL fakeActivate(int32_t version, HostGlobalFunc global, void *local, void *) {
    if (version < 2) return AFUNC_BADVERSION;
    fake.messages = static_cast<MessageFuncs *>(global(MESSAGES_NAME, 0));
    fake.panels = static_cast<PanelServices *>(global(PANEL_SERVICES_NAME, 0));
    fake.rasters = static_cast<RasterServices *>(global(RASTER_SERVICES_NAME, 0));
    fake.items = static_cast<ItemInfo *>(global(ITEM_INFO_NAME, 0));
    fake.lights = static_cast<LightInfo *>(global(LIGHT_INFO_NAME, 0));
    if (!fake.messages || !fake.panels || !fake.rasters || !fake.items || !fake.lights)
        return AFUNC_BADGLOBAL;

    fake.names.clear();
    fake.reds.clear();
    for (HostItem *it = fake.items->first(ITEM_TYPE_LIGHT, nullptr); it; it = fake.items->next(it)) {
        fake.names.emplace_back(fake.items->name(it));
        double rgb[3];
        fake.lights->color(it, 0.0, rgb);
        fake.reds.push_back(rgb[0]);
    }

    HostPanel *panel = fake.panels->create("Fake", nullptr);
    if (!panel) return AFUNC_OK;
    fake.panels->get(panel, PAN_VERSION, &fake.toolkit);
    fake.raster = fake.rasters->create(200, 400, 0);
    if (!fake.raster) {
        fake.messages->error("no raster", nullptr);
        fake.panels->destroy(panel);
        return AFUNC_OK;
    }
    ControlDesc d{};
    d.type = HV_FLOAT;
    fake.intensity = fake.panels->addControl(panel, "FloatControl", &d, "Intensity");
    d.area.type = CD_AREA;
    d.area.width = 200;
    d.area.height = 400;
    fake.list = fake.panels->addControl(panel, "AreaControl", &d, "");
    if (!fake.intensity || !fake.list) {
        fake.messages->error("no control", "second line");
        fake.panels->destroy(panel);
        fake.rasters->destroy(fake.raster);
        return AFUNC_OK;
    }
    HostValue v = ival(40);
    fake.intensity->set(fake.intensity, CTL_X, &v);
    v = ival(reinterpret_cast<intptr_t>(&drawList));
    fake.list->set(fake.list, CTL_USERDRAW, &v);
    v = ival(reinterpret_cast<intptr_t>(&clickList));
    fake.list->set(fake.list, CTL_USEREVENT, &v);
    v = ival(reinterpret_cast<intptr_t>(&intensityChanged));
    fake.intensity->set(fake.intensity, CTL_USEREVENT, &v);
    int height = 300;
    fake.panels->set(panel, PAN_HEIGHT, &height);
    HostValue info{};
    if (fake.panels->open(panel, PANF_MODAL_OK_CANCEL)) {
        auto *lg = static_cast<LayoutGenericLocal *>(local);
        lg->evaluate(lg->context, "EditLights");
        lg->evaluate(lg->context, "SelectItem 20000001");
        lg->evaluate(lg->context, "LightIntensity 0.250000");
        lg->evaluate(lg->context, "Bogus");
    }
    (void)info;
    fake.panels->destroy(panel);
    fake.rasters->destroy(fake.raster);
    return AFUNC_OK;
}

scene::Scene threeLights() {
    scene::Scene s = scene::makeUniformScene(3);
    s.lights[0].color[0] = 0.5;
    s.lights[0].intensity = 0.5;
    return s;
}

// ---- tests -----------------------------------------------------------------

TEST(Host, LightInfoReportsColourTimesIntensityInSceneOrder) {
    sim::Host host(threeLights());
    EXPECT_EQ(host.activate(&fakeActivate, nullptr), 0);
    EXPECT_EQ(fake.names, (std::vector<std::string>{"Light 1", "Light 2", "Light 3"}));
    EXPECT_DOUBLE_EQ(fake.reds[0], 0.25);
    EXPECT_DOUBLE_EQ(fake.reds[1], 1.0);
    EXPECT_TRUE(host.faults().empty()) << host.faults().front();
}

TEST(Host, CallLogIsOrderedAndNamesControlsByKey) {
    sim::Host host(threeLights());
    host.activate(&fakeActivate, nullptr, [](sim::Host &) { return sim::Close::Cancel; });
    std::vector<std::string> names = host.callNames();
    auto pos = [&](const std::string &n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    EXPECT_LT(pos("global"), pos("item.first"));
    EXPECT_LT(pos("panel.create"), pos("panel.addControl"));
    EXPECT_LT(pos("panel.addControl"), pos("panel.open"));
    EXPECT_LT(pos("panel.open"), pos("panel.destroy"));
    EXPECT_EQ(host.countCalls("global"), 5u);
    EXPECT_EQ(host.countCalls("item.next"), 3u);
    EXPECT_EQ(host.countCalls("generic.evaluate"), 0u) << "cancel: nothing evaluated";
    bool sawSet = false;
    for (const sim::Call &c : host.calls())
        if (c.name == "control.set" && c.args[0] == "list" && c.args[1] == "13") sawSet = true;
    EXPECT_TRUE(sawSet);
    // The open painted the list once, recorded as a callback.
    EXPECT_EQ(host.countCalls("plugin.draw"), 0u);
    EXPECT_EQ(std::count_if(host.calls().begin(), host.calls().end(),
                            [](const sim::Call &c) { return c.callback && c.name == "plugin.draw"; }),
              1);
}

TEST(Host, ConditionsMissingGlobalsAndVersions) {
    sim::HostConditions cond;
    cond.missingGlobals = {"LW Light Info"};
    sim::Host missing(threeLights(), cond);
    EXPECT_EQ(missing.activate(&fakeActivate, nullptr), AFUNC_BADGLOBAL);

    sim::HostConditions old;
    old.interfaceVersion = 1;
    sim::Host tooOld(threeLights(), old);
    EXPECT_EQ(tooOld.activate(&fakeActivate, nullptr), AFUNC_BADVERSION);
    EXPECT_TRUE(tooOld.calls().size() <= 2u) << "only the activation itself is logged";

    sim::HostConditions tk;
    tk.toolkitVersion = 17;
    sim::Host host(threeLights(), tk);
    host.activate(&fakeActivate, nullptr);
    EXPECT_EQ(fake.toolkit, 17);
}

TEST(Host, FailuresOfCreateAndOfTheNthControl) {
    sim::HostConditions p;
    p.failPanelCreate = true;
    sim::Host noPanel(threeLights(), p);
    noPanel.activate(&fakeActivate, nullptr);
    EXPECT_EQ(noPanel.countCalls("panel.addControl"), 0u);
    EXPECT_EQ(noPanel.panelsOpened(), 0);

    sim::HostConditions r;
    r.failRasterCreate = true;
    sim::Host noRaster(threeLights(), r);
    noRaster.activate(&fakeActivate, nullptr);
    EXPECT_EQ(noRaster.errors(), std::vector<std::string>{"no raster"});
    EXPECT_EQ(noRaster.livePanels(), 0);

    sim::HostConditions c;
    c.failControl = 2;
    sim::Host noControl(threeLights(), c);
    noControl.activate(&fakeActivate, nullptr);
    ASSERT_EQ(noControl.errorBoxes().size(), 1u);
    EXPECT_EQ(noControl.errorBoxes()[0].secondLine.value_or(""), "second line");
    EXPECT_EQ(noControl.countCalls("panel.addControl"), 2u);
    EXPECT_EQ(noControl.lastPanel()->controls.size(), 1u) << "the failed control does not exist";
    EXPECT_EQ(noControl.livePanels(), 0);
    EXPECT_EQ(noControl.liveRasters(), 0);
}

TEST(Host, ControlsKeepLabelWidthPositionAndHotRectangle) {
    sim::Host host(threeLights());
    testsupport::runOpened(host, &fakeActivate, nullptr, [](sim::Host &h) {
        const sim::ControlModel *c = h.control("Intensity");
        EXPECT_NE(c, nullptr);
        if (!c) return sim::Close::Cancel;
        EXPECT_EQ(c->labelWidth, 9 * 6 + 8);
        EXPECT_EQ(c->x, 40);
        EXPECT_EQ(c->hotX(), 40 + c->labelWidth);
        const sim::ControlModel *list = h.control("list");
        EXPECT_EQ(list->labelWidth, 0);
        EXPECT_EQ(list->bodyWidth, 200);
        EXPECT_EQ(list->bodyHeight, 400);
        EXPECT_EQ(list->desc.area.height, 400);
        EXPECT_EQ(h.openPanel()->height, 300);
        return sim::Close::Cancel;
    });
}

TEST(Host, ListPaintClickAndSelectionBars) {
    sim::Host host(threeLights());
    testsupport::runOpened(host, &fakeActivate, nullptr, [](sim::Host &h) {
        EXPECT_EQ(h.listedNames(), (std::vector<std::string>{"Light 1", "Light 2", "Light 3"}));
        EXPECT_EQ(h.selectedNames(), std::vector<std::string>{"Light 2"});
        DELIVER(h, Action::clickName("Light 3"));
        EXPECT_EQ(fake.lastMouseY, 32 + 7);
        EXPECT_NE(testsupport::refusal(h, Action::clickName("Light 9")).find("Light 9"), std::string::npos);
        DELIVER(h, Action::clickY(3));
        EXPECT_EQ(fake.lastMouseY, 3);
        // The list raster holds the bar and white text; the panel got the blit.
        sim::Picture list = h.listPicture();
        EXPECT_EQ(list.at(150, 16 + 13), (sim::Rgb{30, 30, 128}));
        EXPECT_EQ(list.at(150, 16 + 14), (sim::Rgb{128, 128, 128}));
        EXPECT_GT(list.countColour(sim::kTextColour, 0, 0, 60, 48), 30);
        const sim::ControlModel *lc = h.control("list");
        EXPECT_EQ(h.panelPicture()->at(lc->hotX() + 150, lc->hotY() + 16), (sim::Rgb{30, 30, 128}));
        DELIVER(h, Action::intensity(75));
        EXPECT_DOUBLE_EQ(fake.lastIntensity, 75);
        return sim::Close::Ok;
    });
    EXPECT_EQ(fake.clicks, 2);
    // After the close the model keeps the last values and picture.
    EXPECT_DOUBLE_EQ(host.control("Intensity")->floatValue, 75);
    EXPECT_EQ(host.lastOutcome(), sim::Close::Ok);
    EXPECT_EQ(host.selectedNames(), std::vector<std::string>{"Light 2"});
}

// Rows by name are found from the scene's order and checked against the
// paint: a list painted in another order is refused, not clicked blindly.
TEST(Host, ClickByNameChecksThePaintedRow) {
    scene::Scene scene = scene::makeUniformScene(30);
    scene.lights[2].name = "Light 1";
    sim::Host host(scene);
    fake.clicks = 0;
    testsupport::runOpened(host, &fakeActivate, nullptr, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Light 1", 2));
        EXPECT_EQ(fake.lastMouseY, 32 + 7);
        const std::optional<sim::ListRow> row = h.listRowAt(32 + 15);
        if (!row) {
            ADD_FAILURE() << "no row at y 47";
            return sim::Close::Cancel;
        }
        EXPECT_EQ(row->light, 2u);
        EXPECT_EQ(row->name, "Light 1");
        EXPECT_EQ(row->occurrence, 2);
        EXPECT_FALSE(h.listRowAt(400)) << "below the area";
        // Row 29 lies below the 400 pixels, and this panel has no slider.
        EXPECT_NE(testsupport::refusal(h, Action::clickName("Light 30")).find("no slider"),
                  std::string::npos);
        EXPECT_EQ(fake.clicks, 1);
        return sim::Close::Cancel;
    });
    fake.reversed = true;
    testsupport::runOpened(host, &fakeActivate, nullptr, [](sim::Host &h) {
        EXPECT_EQ(testsupport::refusal(h, Action::clickName("Light 2")),
                  "row 2 of the list shows \"Light 29\" where the scene's light 2 is \"Light 2\": the list "
                  "does not show the scene's lights in order, so no row is clicked");
        EXPECT_FALSE(h.listRowAt(20)) << "a row whose paint is not its light's name";
        return sim::Close::Cancel;
    });
    fake.reversed = false;
    EXPECT_EQ(fake.clicks, 1) << "no refused click reached the plug-in";
}

TEST(Host, EvaluateAppliesCommandsAndRejectsTheUnknown) {
    sim::Host host(threeLights());
    host.activate(&fakeActivate, nullptr, [](sim::Host &) { return sim::Close::Ok; });
    EXPECT_EQ(host.commands(), (std::vector<std::string>{"EditLights", "SelectItem 20000001",
                                                         "LightIntensity 0.250000", "Bogus"}));
    EXPECT_TRUE(host.commandRecords()[2].accepted);
    EXPECT_FALSE(host.commandRecords()[3].accepted);
    EXPECT_DOUBLE_EQ(host.scene().lights[1].intensity, 0.25);
    EXPECT_DOUBLE_EQ(host.scene().lights[0].intensity, 0.5);
}

TEST(Host, NoLeaksAndStaleHandlesAreFaults) {
    sim::Host host(threeLights());
    for (int i = 0; i < 3; ++i) host.activate(&fakeActivate, nullptr);
    EXPECT_EQ(host.livePanels(), 0);
    EXPECT_EQ(host.liveRasters(), 0);
    EXPECT_TRUE(host.faults().empty());
    // A control of a destroyed panel: the host refuses it instead of crashing.
    HostControl *stale = fake.intensity;
    struct Scope {
        static int32_t VT_CDECL touch(int32_t, HostGlobalFunc, void *, void *) {
            HostValue v = ival(1);
            fake.intensity->set(fake.intensity, CTL_VALUE, &v);
            fake.rasters->drawText(fake.raster, "x", 0, 0, 0);
            return 0;
        }
    };
    host.activate(&Scope::touch, nullptr);
    EXPECT_EQ(fake.intensity, stale);
    ASSERT_EQ(host.faults().size(), 2u);
    EXPECT_NE(host.faults()[0].find("destroyed panel"), std::string::npos);
    EXPECT_NE(host.faults()[1].find("destroyed raster"), std::string::npos);
}

TEST(Host, DriverEventsOutsideOpenAndThrowingDriversAreSafe) {
    sim::Host host(threeLights());
    EXPECT_FALSE(deliver(host, Action::clickY(0)));
    EXPECT_FALSE(deliver(host, Action::key('a')));
    int rc = host.activate(&fakeActivate, nullptr,
                           [](sim::Host &) -> sim::Close { throw std::runtime_error("boom"); });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(host.lastOutcome(), sim::Close::Cancel);
    EXPECT_TRUE(host.commands().empty());
    bool reported = false;
    for (auto &f : host.faults()) reported = reported || f.find("boom") != std::string::npos;
    EXPECT_TRUE(reported);
}

}  // namespace
