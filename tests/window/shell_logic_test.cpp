// The shell window's click logic and the window-only pictures, without a display.
#include <gtest/gtest.h>

#include "render/panel_render.h"
#include "render/window_render.h"
#include "sim/font.h"
#include "window/shell_logic.h"

namespace {

using render::ShellLayout;
using window::ShellAction;
using window::ShellKey;
using window::ShellLogic;

struct Point {
    int x, y;
};
Point mid(const render::Box &b) { return {b.x + b.w / 2, b.y + b.h / 2}; }
ShellAction clickOn(ShellLogic &s, const render::Box &b) { return s.click(mid(b).x, mid(b).y); }

const ShellLayout L = render::shellLayout();

TEST(ShellLogic, ButtonsAndEmptySpace) {
    ShellLogic s("out.lws", "in.lws");
    EXPECT_EQ(clickOn(s, L.run), ShellAction::RunPlugin);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);  // --save given: no question
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::Quit);  // nothing unsaved
    EXPECT_EQ(s.click(L.width - 2, L.height - 2), ShellAction::None);
    // A button's edge belongs to it; one pixel beyond does not.
    EXPECT_EQ(s.click(L.run.x, L.run.y), ShellAction::RunPlugin);
    EXPECT_EQ(s.click(L.run.x + L.run.w, L.run.y), ShellAction::None);
    EXPECT_EQ(s.saveTarget(), std::optional<std::string>("out.lws"));
}

TEST(ShellLogic, SavingOverTheSceneFileAsksOnce) {
    ShellLogic s(std::nullopt, "in.lws");
    EXPECT_EQ(clickOn(s, L.save), ShellAction::None);
    ASSERT_TRUE(s.asking());
    ASSERT_TRUE(s.view({}).dialog);
    EXPECT_NE(s.view({}).dialog->question.find("in.lws"), std::string::npos);
    // While asking, only the answer buttons count.
    EXPECT_EQ(clickOn(s, L.run), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    EXPECT_FALSE(s.asking());
    EXPECT_EQ(clickOn(s, L.save), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::Save);
    EXPECT_EQ(s.saveTarget(), std::optional<std::string>("in.lws"));
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);  // consent given once
}

TEST(ShellLogic, NothingToSaveToSaysHow) {
    ShellLogic s(std::nullopt, std::nullopt);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::None);
    EXPECT_FALSE(s.asking());
    EXPECT_NE(s.view({}).status.find("--scene"), std::string::npos);
}

TEST(ShellLogic, QuitAsksBeforeDroppingUnsavedEdits) {
    ShellLogic s("out.lws", "in.lws");
    s.runFinished(false, 0);  // a cancelled run leaves nothing unsaved
    EXPECT_EQ(s.unsavedEdits(), 0u);
    s.runFinished(true, 3);
    s.runFinished(true, 2);
    EXPECT_EQ(s.unsavedEdits(), 5u);
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::None);
    ASSERT_TRUE(s.asking());
    EXPECT_NE(s.view({}).dialog->question.find("5 unsaved"), std::string::npos);
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);  // stay
    EXPECT_EQ(s.closeRequested(), ShellAction::None);      // the close button asks too
    EXPECT_TRUE(s.asking());
    EXPECT_EQ(s.key(ShellKey::Escape, 0), ShellAction::None);
    EXPECT_FALSE(s.asking());
    EXPECT_EQ(s.closeRequested(), ShellAction::None);
    EXPECT_EQ(s.key(ShellKey::Return, 0), ShellAction::Quit);
}

TEST(ShellLogic, AFailedSaveKeepsTheEditsUnsaved) {
    ShellLogic s("out.lws", std::nullopt);
    s.runFinished(true, 4);
    s.saved(false, "error: out.lws: cannot write the file");
    EXPECT_EQ(s.unsavedEdits(), 4u);
    EXPECT_EQ(s.view({}).status, "error: out.lws: cannot write the file");
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    s.saved(true, "saved: out.lws");
    EXPECT_EQ(s.unsavedEdits(), 0u);
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::Quit);
}

TEST(ShellLogic, ScrollingStaysInsideTheTable) {
    ShellLogic s(std::nullopt, std::nullopt);
    const size_t rows = 510;
    const int last = static_cast<int>(rows) - L.visibleRows;
    s.wheel(1, rows);
    EXPECT_EQ(s.firstRow(), 0);
    s.wheel(-1000, rows);
    EXPECT_EQ(s.firstRow(), last);
    s.key(ShellKey::PageDown, rows);
    EXPECT_EQ(s.firstRow(), last);
    s.key(ShellKey::Up, rows);
    EXPECT_EQ(s.firstRow(), last - 1);
    s.key(ShellKey::PageUp, rows);
    EXPECT_EQ(s.firstRow(), last - 1 - L.visibleRows);
    for (int i = 0; i < 20; ++i) s.key(ShellKey::PageUp, rows);
    EXPECT_EQ(s.firstRow(), 0);
    s.key(ShellKey::Down, 3);  // fewer rows than the table holds: nothing to scroll
    EXPECT_EQ(s.firstRow(), 0);
}

// ---- pictures ----

sim::Picture grey(int w, int h) { return sim::Picture(w, h, sim::kPanelBackground); }

TEST(WindowFrame, PanelUnchangedAtTopLeftStatusBelow) {
    sim::Picture panel = grey(120, 60);
    panel.fillBox(3, 4, 5, 6, render::kTitleBar);
    const sim::Picture f = render::drawWindowFrame(panel, {});
    ASSERT_EQ(f.width(), 120);
    ASSERT_EQ(f.height(), 60 + render::kStatusHeight);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(f.at(x, y), panel.at(x, y)) << x << "," << y;

    render::Decoration d;
    d.status = "not a number";
    const sim::Picture s = render::drawWindowFrame(panel, d);
    EXPECT_GT(s.countColour(render::kInk, 0, 60, 120, render::kStatusHeight), 20);
    EXPECT_EQ(s.countColour(render::kInk, 0, 0, 120, 60), 0);  // the panel stays untouched
}

TEST(WindowFrame, PressedButtonAndEditedField) {
    sim::Picture panel = grey(120, 60);
    panel.fillBox(10, 10, 40, 18, render::kButtonFill);
    panel.drawText(14, 14, "OK", render::kInk);
    render::Decoration d;
    d.pressed = render::Box{10, 10, 40, 18};
    sim::Picture f = render::drawWindowFrame(panel, d);
    EXPECT_EQ(f.countColour(render::kButtonFill, 10, 10, 40, 18), 0);
    EXPECT_GT(f.countColour(render::kPressedFill, 10, 10, 40, 18), 300);
    EXPECT_GT(f.countColour(render::kTitleInk, 10, 10, 40, 18), 5);  // text turns white

    render::Decoration e;
    e.editField = render::Box{60, 30, 50, 16};
    e.editText = "12";
    e.caret = 1;
    f = render::drawWindowFrame(panel, e);
    // The caret is a column of ink between the two digits: x = 60 + 3 + 6.
    EXPECT_EQ(f.countColour(render::kCaret, 69, 30, 1, 16), sim::font::kCellHeight - 1);
    EXPECT_GT(f.countColour(render::kFieldFill, 61, 31, 48, 14), 300);
}

TEST(ShellPicture, RowsShowTheSceneAsItIs) {
    sim::Scene scene;
    sim::SceneLight a;
    a.name = "Key";
    a.intensity = 0.5;
    a.color[0] = 1.0;
    a.color[1] = 0.5;
    a.color[2] = 0.0;
    a.lightType = 2;
    a.shadowType = 1;
    sim::SceneLight b = a;
    b.name = "Odd";
    b.lightType = 9;   // not a known type: shown as its number
    b.color[0] = 7.0;  // out of range: held at 255
    b.color[1] = -1.0;
    scene.lights = {a, b};
    const auto rows = render::shellRows(scene);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].type, "Spot");
    EXPECT_EQ(rows[0].shadow, "Raytrace");
    EXPECT_EQ(rows[0].r, 255);
    EXPECT_EQ(rows[0].g, 128);
    EXPECT_EQ(rows[0].b, 0);
    EXPECT_EQ(rows[1].type, "9");
    EXPECT_EQ(rows[1].r, 255);
    EXPECT_EQ(rows[1].g, 0);

    render::ShellView v;
    v.rows = rows;
    sim::Picture p = render::drawShell(v);
    EXPECT_EQ(p.width(), L.width);
    EXPECT_EQ(p.height(), L.height);
    // Each row's swatch shows its colour.
    EXPECT_GT(p.countColour({255, 128, 0}, 0, L.table.y, L.width, L.rowHeight), 10);
    EXPECT_GT(p.countColour({255, 0, 0}, 0, L.table.y + L.rowHeight, L.width, L.rowHeight), 10);
    // No dialog: its box is table; with one, its buttons are drawn where the logic looks.
    v.dialog = render::ShellDialog{"Quit?", "Quit", "Stay"};
    sim::Picture q = render::drawShell(v);
    EXPECT_GT(q.countColour(render::kButtonFill, L.dialogYes.x, L.dialogYes.y, L.dialogYes.w, L.dialogYes.h),
              600);
    EXPECT_EQ(p.countColour(render::kButtonFill, L.dialogYes.x, L.dialogYes.y, L.dialogYes.w, L.dialogYes.h),
              0);
}

}  // namespace
