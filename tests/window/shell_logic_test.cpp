// The window-only pictures (the shell, the frame around the panel), without a display.
#include <gtest/gtest.h>

#include "render/panel_render.h"
#include "render/window_render.h"
#include "sim/font.h"

namespace {

using render::ShellLayout;

const ShellLayout L = render::shellLayout();

TEST(WrapText, BreaksAtSpacesCutsLongWordsAndMarksWhatIsLeftOut) {
    using render::wrapText;
    EXPECT_EQ(wrapText("the file changed on disk", 10, 0),
              (std::vector<std::string>{"the file", "changed on", "disk"}));
    EXPECT_EQ(wrapText("/a/very/long/path/name.lws x", 10, 0),
              (std::vector<std::string>{"/a/very/lo", "ng/path/na", "me.lws x"}));
    EXPECT_EQ(wrapText("one\ntwo", 10, 0), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(wrapText("", 10, 0), (std::vector<std::string>{""}));
    EXPECT_EQ(wrapText("aaaa bbbb cccc dddd", 9, 2), (std::vector<std::string>{"aaaa bbbb", "cccc dddd"}));
    EXPECT_EQ(wrapText("aaaa bbbb cccc dddd eeee", 9, 2),
              (std::vector<std::string>{"aaaa bbbb", "cccc d..."}));
}

TEST(ShellPicture, TheStatusLineWrapsInsteadOfBeingCutOff) {
    render::ShellView v;
    v.status =
        "error: /tmp/work/scene.lws: the file changed on disk since it was read (its size, "
        "modification time and content differ); nothing was written.";
    const sim::Picture p = render::drawShell(v);
    const int lineH = sim::font::kCellHeight;
    // Ink on the first two lines of the status area, none on the fourth.
    EXPECT_GT(p.countColour(render::kInk, 2, L.status.y + 3, L.width - 4, lineH), 50);
    EXPECT_GT(p.countColour(render::kInk, 2, L.status.y + 3 + lineH, L.width - 4, lineH), 50);
    EXPECT_EQ(p.countColour(render::kInk, 2, L.status.y + 3 + 3 * lineH, L.width - 4, lineH), 0);
    const auto lines =
        render::wrapText(v.status, (L.width - 8) / sim::font::kAdvance, render::kShellStatusLines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 8), "written.");
}

TEST(ShellPicture, ThePageOfChangesColoursItsLines) {
    render::ShellView v;
    v.page = render::ShellPage{"changes", {"--- a/s.lws", "+++ b/s.lws", "@@ -1 +1 @@", "-old", "+new"}, 0};
    const sim::Picture p = render::drawShell(v);
    const int top = L.page.y + 20 + 1;  // below the page's title row
    const int h = sim::font::kCellHeight;
    EXPECT_GT(p.countColour({0, 0, 170}, 0, top + 2 * h, L.width, h), 10);  // the hunk header
    EXPECT_GT(p.countColour({170, 0, 0}, 0, top + 3 * h, L.width, h), 10);  // removed
    EXPECT_GT(p.countColour({0, 120, 0}, 0, top + 4 * h, L.width, h), 10);  // added
    EXPECT_EQ(p.countColour({0, 120, 0}, 0, top + h, L.width, h), 0);       // "+++" is a header
    EXPECT_GT(p.countColour(render::kButtonFill, L.pageClose.x, L.pageClose.y, L.pageClose.w, L.pageClose.h),
              300);
}

sim::Picture grey(int w, int h) { return sim::Picture(w, h, sim::kPanelBackground); }

TEST(WindowFrame, PanelUnchangedAtTopLeftStatusBelow) {
    sim::Picture panel = grey(120, 60);
    panel.fillBox(3, 4, 5, 6, render::kTitleBar);
    const sim::Picture f = render::drawWindowFrame(panel, {});
    ASSERT_EQ(f.width(), 120);
    ASSERT_EQ(f.height(), 60 + render::kStatusHeight);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(f.at(x, y), panel.at(x, y)) << x << "," << y;

    sim::Overlay d;
    d.status = "not a number";
    const sim::Picture s = render::drawWindowFrame(panel, d);
    EXPECT_GT(s.countColour(render::kInk, 0, 60, 120, render::kStatusHeight), 20);
    EXPECT_EQ(s.countColour(render::kInk, 0, 0, 120, 60), 0);  // the panel stays untouched
}

TEST(WindowFrame, PressedButtonAndEditedField) {
    sim::Picture panel = grey(120, 60);
    panel.fillBox(10, 10, 40, 18, render::kButtonFill);
    panel.drawText(14, 14, "OK", render::kInk);
    sim::Overlay d;
    d.pressed = sim::Rect{10, 10, 40, 18};
    sim::Picture f = render::drawWindowFrame(panel, d);
    EXPECT_EQ(f.countColour(render::kButtonFill, 10, 10, 40, 18), 0);
    EXPECT_GT(f.countColour(render::kPressedFill, 10, 10, 40, 18), 300);
    EXPECT_GT(f.countColour(render::kTitleInk, 10, 10, 40, 18), 5);  // text turns white

    sim::Overlay e;
    e.editField = sim::Rect{60, 30, 50, 16};
    e.editText = "12";
    e.caret = 1;
    f = render::drawWindowFrame(panel, e);
    // The caret is a column of ink between the two digits: x = 60 + 3 + 6.
    EXPECT_EQ(f.countColour(render::kCaret, 69, 30, 1, 16), sim::font::kCellHeight - 1);
    EXPECT_GT(f.countColour(render::kFieldFill, 61, 31, 48, 14), 300);
}

TEST(ShellPicture, RowsShowTheSceneAsItIs) {
    scene::Scene scene;
    scene::Light a;
    a.name = "Key";
    a.intensity = 0.5;
    a.color[0] = 1.0;
    a.color[1] = 0.5;
    a.color[2] = 0.0;
    a.lightType = 2;
    a.shadowType = 1;
    scene::Light b = a;
    b.name = "Odd";
    b.lightType = 9;   // not a known type: shown as its number
    b.color[0] = 7.0;  // out of range: held at 255
    b.color[1] = -1.0;
    scene::Light c = a;
    c.name = "Sky";
    c.lightType = -1;
    c.otherKind = "Dome";  // a kind the scene file names: shown by its name
    scene.lights = {a, b, c};
    const auto rows = render::shellRows(scene);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].type, "Dome");
    EXPECT_EQ(rows[0].type, "Spot");
    EXPECT_EQ(rows[0].shadow, "Raytrace");
    EXPECT_EQ(rows[0].r, 255);
    EXPECT_EQ(rows[0].g, 128);
    EXPECT_EQ(rows[0].b, 0);
    EXPECT_EQ(rows[1].type, "9");
    EXPECT_EQ(rows[1].r, 255);
    EXPECT_EQ(rows[1].g, 0);
    // Limited range from the flags; an intensity envelope is the one animated value a scene knows of.
    EXPECT_FALSE(rows[0].limited);
    EXPECT_EQ(rows[0].animated, 0u);
    scene.lights[1].flags = 1u;
    scene.lights[1].intensityAnimated = true;
    EXPECT_TRUE(render::shellRows(scene)[1].limited);
    EXPECT_EQ(render::shellRows(scene)[1].animated, static_cast<unsigned>(render::kIntensityChannel));

    render::ShellView v;
    v.rows = rows;
    sim::Picture p = render::drawShell(v);
    EXPECT_EQ(p.width(), L.width);
    EXPECT_EQ(p.height(), L.height);
    // Each row's swatch shows its colour.
    EXPECT_GT(p.countColour({255, 128, 0}, 0, L.table.y, L.width, L.rowHeight), 10);
    EXPECT_GT(p.countColour({255, 0, 0}, 0, L.table.y + L.rowHeight, L.width, L.rowHeight), 10);
    // No dialog: its box is table; with one, its buttons are drawn where the logic looks.
    v.dialog = render::ShellDialog();
    v.dialog->question = "Quit?";
    v.dialog->yes = "Quit";
    v.dialog->no = "Stay";
    sim::Picture q = render::drawShell(v);
    EXPECT_GT(q.countColour(render::kButtonFill, L.dialogYes.x, L.dialogYes.y, L.dialogYes.w, L.dialogYes.h),
              600);
    EXPECT_EQ(p.countColour(render::kButtonFill, L.dialogYes.x, L.dialogYes.y, L.dialogYes.w, L.dialogYes.h),
              0);
}

}  // namespace
