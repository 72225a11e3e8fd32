// Editing in the panel: the list, the property controls, prefix selection,
// copy and paste, as the host sees them.
#include "plugin_fixture.h"

using namespace plugintest;
using sim::Close;
using Names = std::vector<std::string>;

class Editing : public PluginTest {};

// ---- Light list -------------------------------------------------------------

TEST_F(Editing, ListPaintsGreyWithBarsBehindSelectedNames) {
    sim::Host host(namedScene({"A", "B", "C"}));
    run(host, [](sim::Host &h) {
        sim::Picture empty = h.listPicture();
        EXPECT_EQ(empty.width(), 200);
        EXPECT_EQ(empty.height(), 400);
        EXPECT_EQ(empty.countColour({128, 128, 128}, 0, 48, 200, 352), 200 * 352);

        DELIVER(h, Action::clickName("A"));
        DELIVER(h, Action::clickName("B"));
        sim::Picture p = h.listPicture();
        const sim::Rgb bar{30, 30, 128}, grey{128, 128, 128};
        EXPECT_EQ(p.at(199, 13), bar);   // A's bar: 200 wide, 14 high
        EXPECT_EQ(p.at(199, 14), grey);  // two grey lines between neighbours
        EXPECT_EQ(p.at(199, 15), grey);
        EXPECT_EQ(p.at(199, 16), bar);                                       // B's bar
        EXPECT_EQ(p.at(199, 30), grey);                                      // C is not selected
        EXPECT_EQ(p.countColour({255, 255, 255}, 0, 0, 200, 14) > 0, true);  // A's name on its bar
        EXPECT_EQ(h.selectedNames(), (Names{"A", "B"}));
        return Close::Cancel;
    });
    // Every paint: background, bars, one text per row, then the blit to the hot area.
    std::vector<std::string> paint;
    for (const auto &c : host.calls())
        if (c.name.rfind("raster.", 0) == 0 && c.name != "raster.create" && c.name != "raster.destroy")
            paint.push_back(c.name);
    ASSERT_GE(paint.size(), 5u);
    EXPECT_EQ(slice(paint, 0, 5), (Names{"raster.drawRGBBox", "raster.drawText", "raster.drawText",
                                         "raster.drawText", "raster.blitPanel"}));
    for (const auto &c : host.calls())
        if (c.name == "raster.drawText") {
            EXPECT_EQ(c.args.at(2), "4140");
        }
}

TEST_F(Editing, ClickGeometryFollowsTheScrollOffset) {
    sim::Host host(scene::makeUniformScene(30));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::scroll(5));
        DELIVER(h, Action::clickY(10));  // list y 15: row 0
        EXPECT_EQ(h.selectedNames(), (Names{"Light 1"}));
        DELIVER(h, Action::clickY(11));  // list y 16: row 1
        EXPECT_EQ(h.selectedNames(), (Names{"Light 1", "Light 2"}));
        DELIVER(h, Action::scroll(80));  // the maximum: the last row's top at 384
        auto &texts = h.control("list")->lastPaint.texts;
        EXPECT_EQ(texts.back().text, "Light 30");
        EXPECT_EQ(texts.back().y, 384);
        return Close::Cancel;
    });
}

TEST_F(Editing, ClicksOutsideTheListedRowsOnlyRedraw) {
    sim::Host host(namedScene({"A", "B"}));
    run(host, [](sim::Host &h) {
        for (int y : {40, 399, 5000, -1, -16, -1000000, 1000000}) {
            size_t draws = h.countCalls("control.draw");
            DELIVER(h, Action::clickY(y));
            EXPECT_TRUE(h.selectedNames().empty()) << y;
            EXPECT_EQ(h.countCalls("control.draw"), draws + 1) << y;
            EXPECT_EQ(h.propertyGhosted(), true) << y;
        }
        DELIVER(h, Action::scroll(-100));  // out of the slider's range: held at 0
        DELIVER(h, Action::clickY(0));
        EXPECT_EQ(h.selectedNames(), (Names{"A"}));
        return Close::Cancel;
    });
}

TEST_F(Editing, ClickingTogglesAndTheLastSelectedRowIsShown) {
    auto scene = sceneOf({light("A", 0, 0.5), light("B", 3, 0.2), light("C")});
    sim::Host host(scene);
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("A"));
        EXPECT_EQ(h.propertyGhosted(), false);
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 50);
        DELIVER(h, Action::clickName("B"));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 20);
        EXPECT_EQ(h.control("lighttype")->intValue, 3);
        DELIVER(h,
                Action::clickName("B"));  // one of several: deselected, controls still enabled and showing B
        EXPECT_EQ(h.selectedNames(), (Names{"A"}));
        EXPECT_EQ(h.propertyGhosted(), false);
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 20);
        DELIVER(h, Action::clickName("A"));  // the only one: everything ghosts
        EXPECT_EQ(h.propertyGhosted(), true);
        return Close::Cancel;
    });
}

// ---- Property controls ------------------------------------------------------

TEST_F(Editing, ColourComponentsShowTruncatedTo255) {
    sim::Host host(sceneOf({light("L", 1, 1.0, 0.5, 0.999, 1.0)}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        const auto *c = h.control("color");
        EXPECT_EQ(c->vec[0], 127);
        EXPECT_EQ(c->vec[1], 254);
        EXPECT_EQ(c->vec[2], 255);
        DELIVER(h, Action::color(12, 200, 255));  // round trip through /255 and back
        EXPECT_EQ(c->vec[0], 12);
        EXPECT_EQ(c->vec[1], 200);
        EXPECT_EQ(c->vec[2], 255);
        return Close::Ok;
    });
    EXPECT_NEAR(host.scene().lights[0].color[1], 200 / 255.0, 1e-6);  // sent with six decimals
}

TEST_F(Editing, EditsReachEverySelectedRowWhileControlsShowTheCurrentOne) {
    auto scene = sceneOf({light("A", 1, 0.5), light("B", 2, 1.0), light("C", 1, 0.3)});
    sim::Host host(scene);
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("A"));
        DELIVER(h, Action::clickName("B"));
        DELIVER(h, Action::clickName("B"));  // B stays current but is no longer selected
        DELIVER(h, Action::shadow(2));
        EXPECT_EQ(h.control("shadow")->intValue, 0);  // B's own value put back
        DELIVER(h, Action::intensity(75));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 75);  // no refresh
        return Close::Ok;
    });
    const auto &l = host.scene().lights;
    EXPECT_EQ(l[0].shadowType, 2);
    EXPECT_EQ(l[1].shadowType, 0);
    EXPECT_DOUBLE_EQ(l[0].intensity, 0.75);
    EXPECT_DOUBLE_EQ(l[1].intensity, 1.0);
    EXPECT_DOUBLE_EQ(l[2].intensity, 0.3);
}

TEST_F(Editing, DragStartsContinuesAndRestartsByStepCounter) {
    auto scene = sceneOf({light("A", 1, 0.2), light("B", 1, 0.4), light("Cur", 1, 1.0)});
    sim::Host host(scene);
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("A"));
        DELIVER(h, Action::clickName("B"));
        DELIVER(h, Action::clickName("Cur"));
        DELIVER(h, Action::clickName("Cur"));   // current but not selected
        DELIVER(h, Action::dragEvent(500, 5));  // starts: nothing changes, base 1.0 captured
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 100);
        DELIVER(h, Action::dragEvent(100, 6));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 90);
        DELIVER(h, Action::dragEvent(250, 7));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 75);
        DELIVER(h, Action::dragEvent(100, 9));  // not one more: a new drag from 0.75
        DELIVER(h, Action::dragEvent(-250, 10));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 100);
        return Close::Ok;
    });
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(host.scene().lights[i].intensity, 1.0) << i;
}

TEST_F(Editing, ADragCounterAtTheTopOfItsRangeStartsANewDrag) {
    sim::Host host(sceneOf({light("L", 1, 0.5)}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        DELIVER(h, Action::dragEvent(0, INT32_MAX));
        DELIVER(h, Action::dragEvent(300, INT32_MIN));  // wraps in 32 bits, but is not one more
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 50);
        DELIVER(h, Action::dragEvent(300, INT32_MIN + 1));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 20);
        return Close::Cancel;
    });
}

TEST_F(Editing, ClearSelectionGhostsAndRepaintsWithoutBars) {
    sim::Host host(namedScene({"A", "B"}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::press(Button::Clear));  // with nothing selected: still ghosts and repaints
        EXPECT_EQ(h.propertyGhosted(), true);
        DELIVER(h, Action::clickName("A"));
        DELIVER(h, Action::clickName("B"));
        DELIVER(h, Action::press(Button::Clear));
        EXPECT_TRUE(h.selectedNames().empty());
        EXPECT_EQ(h.propertyGhosted(), true);
        return Close::Cancel;
    });
}

TEST_F(Editing, HostileControlValuesAreStoredWithoutBreakingAnything) {
    sim::Host host(namedScene({"L"}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("L"));
        DELIVER(h, Action::color(INT32_MAX, -5, 1000));
        EXPECT_EQ(h.control("color")->vec[0], INT32_MAX);
        EXPECT_EQ(h.control("color")->vec[1], -5);
        EXPECT_EQ(h.control("color")->vec[2], 1000);
        DELIVER(h, Action::shadow(50));
        DELIVER(h, Action::lightType(-5));
        DELIVER(h, Action::range(-1e308));
        return Close::Ok;
    });
    const auto &cmds = host.commands();
    char colour[128];
    snprintf(colour, sizeof colour, "LightColor %f %f %f", INT32_MAX / 255.0, -5 / 255.0, 1000 / 255.0);
    EXPECT_EQ(cmds.at(3), colour);
    EXPECT_EQ(cmds.at(4), "DistantLight");
    EXPECT_EQ(cmds.at(5), "ShadowType 50");
}

// ---- Prefix selection -------------------------------------------------------

TEST_F(Editing, PrefixWalkSelectsExactlyTheMatchingNames) {
    sim::Host host(namedScene({"Spot1", "spot2", "Sun", "Spot3"}));
    host.scene().lights[3].intensity = 0.3;
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::key('S'));
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1", "Sun", "Spot3"}));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 30);  // Spot3 is current
        DELIVER(h, Action::key('p'));
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1", "Spot3"}));
        EXPECT_EQ(h.prefixText(), "Sp");
        DELIVER(h, Action::key(8));
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1", "Sun", "Spot3"}));
        DELIVER(h, Action::key(8));  // empty prefix: the selection stays
        EXPECT_EQ(h.prefixText(), "");
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1", "Sun", "Spot3"}));
        DELIVER(h, Action::key(8));  // nothing left to remove
        EXPECT_EQ(h.prefixText(), "");
        return Close::Cancel;
    });
}

TEST_F(Editing, KeysThatEditNothingReapplyThePrefixExceptTheTwoReservedOnes) {
    sim::Host host(namedScene({"Spot1", "Sun", "Key"}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::type("Sp"));
        DELIVER(h, Action::clickName("Key"));
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1", "Key"}));
        DELIVER(h, Action::key(4193));
        DELIVER(h, Action::key(4194));
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1", "Key"}));
        DELIVER(h, Action::key(0x1030));
        EXPECT_EQ(h.selectedNames(), (Names{"Spot1"}));
        EXPECT_EQ(h.prefixText(), "Sp");
        DELIVER(h, Action::key('x'));  // matches nothing
        EXPECT_TRUE(h.selectedNames().empty());
        EXPECT_EQ(h.propertyGhosted(), true);
        return Close::Cancel;
    });
}

TEST_F(Editing, OneKeyOnALargeListCostsTheRepaintAndAFewCalls) {
    sim::Host host(scene::makeUniformScene(510));
    run(host, [](sim::Host &h) {
        h.clearCalls();
        DELIVER(h, Action::key('L'));
        size_t own = 0;
        for (const auto &c : h.calls())
            if (!c.callback && c.name.rfind("raster.", 0) != 0 && c.name != "control.get") ++own;
        // prefix field, five values, nine draws, one list redraw
        EXPECT_LE(own, 16u);
        EXPECT_EQ(h.selectedNames().size(), 510u);
        return Close::Cancel;
    });
}

TEST_F(Editing, PrefixFieldTextIsTakenVerbatimAndCutAt255) {
    sim::Host host(namedScene({"a b", std::string(255, 'x'), "A b"}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::prefix("a b"));
        EXPECT_EQ(h.selectedNames(), (Names{"a b"}));
        DELIVER(h, Action::prefix(std::string(300, 'x')));
        EXPECT_EQ(h.selectedNames(), (Names{std::string(255, 'x')}));
        for (int i = 0; i < 10; ++i) DELIVER(h, Action::key('y'));  // a full prefix takes no more
        EXPECT_EQ(h.selectedNames(), (Names{std::string(255, 'x')}));
        return Close::Cancel;
    });
}

TEST_F(Editing, NoLightsAndAPrefixOnlyRedraws) {
    sim::Host host(sceneOf({}));
    run(host, [](sim::Host &h) {
        size_t ghosts = h.countCalls("control.draw");
        DELIVER(h, Action::key('a'));
        EXPECT_EQ(h.countCalls("control.draw"), ghosts + 1);
        return Close::Cancel;
    });
}

// ---- Copy and paste ---------------------------------------------------------

TEST_F(Editing, PasteBeforeAnyCopyIsRefused) {
    sim::Host host(namedScene({"A"}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("A"));
        DELIVER(h, Action::press(Button::Paste));
        EXPECT_EQ(h.infoText(), "Can't Paste");
        return Close::Ok;
    });
    EXPECT_EQ(host.commands().at(2), "LightIntensity 1.000000");
}

TEST_F(Editing, PasteCarriesEverySettingButTheNameAndSelection) {
    auto key = light("Key", 2, 0.8, 1.0, 0.5, 0.25);
    key.shadowType = 2;
    key.range = 6.0;
    key.flags = 1;
    auto fill = light("Fill", 1, 0.3);
    auto rim = light("Rim", 0, 0.4);
    rim.flags = 0;
    sim::Host host(sceneOf({key, fill, rim}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Key"));
        DELIVER(h, Action::press(Button::Copy));
        EXPECT_EQ(h.infoText(), "Copy Intensity");
        DELIVER(h, Action::press(Button::Clear));
        DELIVER(h, Action::clickName("Fill"));
        DELIVER(h, Action::clickName("Rim"));
        DELIVER(h, Action::press(Button::Paste));
        EXPECT_EQ(h.infoText(), "Paste Intensity");
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 80);  // Rim now shows Key's values
        EXPECT_EQ(h.control("lighttype")->intValue, 2);
        EXPECT_EQ(h.listedNames(), (Names{"Key", "Fill", "Rim"}));
        return Close::Ok;
    });
    const auto &cmds = host.commands();
    // Key, Fill and Rim each get a range now: the limited-range bit came along.
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "LightRange 6.000000"), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(host.scene().lights[i].intensity, 0.8) << i;
        EXPECT_EQ(host.scene().lights[i].shadowType, 2) << i;
    }
}

TEST_F(Editing, PastedRowsStaySelectedEvenFromAnUnselectedCopy) {
    sim::Host host(sceneOf({light("Fill"), light("Key", 1, 0.6), light("Rim")}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Fill"));
        DELIVER(h, Action::clickName("Key"));
        DELIVER(h, Action::clickName("Key"));  // Key stays current while unselected
        DELIVER(h, Action::press(Button::Copy));
        DELIVER(h, Action::clickName("Rim"));
        DELIVER(h, Action::press(Button::Paste));
        DELIVER(h, Action::shadow(1));  // the next edit still reaches both pasted rows
        EXPECT_EQ(h.selectedNames(), (Names{"Fill", "Rim"}));
        return Close::Ok;
    });
    EXPECT_EQ(host.scene().lights[0].shadowType, 1);
    EXPECT_EQ(host.scene().lights[2].shadowType, 1);
    EXPECT_DOUBLE_EQ(host.scene().lights[2].intensity, 0.6);
}

TEST_F(Editing, TheClipboardIsASnapshotReplacedByEachCopy) {
    sim::Host host(sceneOf({light("A", 1, 0.1), light("B", 1, 0.2), light("C")}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("A"));
        DELIVER(h, Action::press(Button::Copy));
        DELIVER(h, Action::intensity(90));  // after the copy: not in the clipboard
        DELIVER(h, Action::press(Button::Clear));
        DELIVER(h, Action::clickName("C"));
        DELIVER(h, Action::press(Button::Paste));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 10);
        DELIVER(h, Action::press(Button::Clear));
        DELIVER(h, Action::clickName("B"));
        DELIVER(h, Action::press(Button::Copy));
        DELIVER(h, Action::press(Button::Clear));
        DELIVER(h, Action::clickName("C"));
        DELIVER(h, Action::press(Button::Paste));
        return Close::Ok;
    });
    EXPECT_DOUBLE_EQ(host.scene().lights[0].intensity, 0.9);
    EXPECT_DOUBLE_EQ(host.scene().lights[2].intensity, 0.2);
}
