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
Point mid(const sim::Rect &b) { return {b.x + b.w / 2, b.y + b.h / 2}; }
ShellAction clickOn(ShellLogic &s, const sim::Rect &b) { return s.click(mid(b).x, mid(b).y); }

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
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);
    s.saved(window::SaveOutcome::Failed, "out.lws: cannot write the file");
    EXPECT_EQ(s.unsavedEdits(), 4u);
    EXPECT_EQ(s.view({}).status, "out.lws: cannot write the file");
    ASSERT_TRUE(s.asking());  // what to do about it
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    EXPECT_NE(s.view({}).status.find("Unsaved edits: 4"), std::string::npos);
    // Quit after the failed save asks, and says that the save failed.
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::None);
    ASSERT_TRUE(s.view({}).dialog);
    EXPECT_NE(s.view({}).dialog->question.find("The last save failed. 4 unsaved"), std::string::npos);
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);
    s.saved(window::SaveOutcome::Saved, "saved: out.lws");
    EXPECT_EQ(s.unsavedEdits(), 0u);
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::Quit);
}

TEST(ShellLogic, ARefusalOffersSaveAnywayAndSaveAs) {
    ShellLogic s(std::nullopt, "in.lws");
    s.runFinished(true, 7);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::Save);  // overwrite the scene file
    EXPECT_EQ(s.saveRequest().path, "in.lws");
    EXPECT_FALSE(s.saveRequest().force);
    s.saved(window::SaveOutcome::ChangedOnDisk, "in.lws changed on disk since it was read");
    ASSERT_TRUE(s.asking());
    const auto d = *s.view({}).dialog;
    EXPECT_EQ(d.question, "in.lws changed on disk since it was read");
    EXPECT_EQ(d.yes, "Save as...");
    EXPECT_EQ(d.middle, "Save anyway");
    EXPECT_EQ(d.no, "Cancel");
    EXPECT_EQ(clickOn(s, L.run), ShellAction::None);  // modal
    EXPECT_EQ(clickOn(s, L.dialogMiddle), ShellAction::Save);
    EXPECT_EQ(s.saveRequest().path, "in.lws");
    EXPECT_TRUE(s.saveRequest().force);
    s.saved(window::SaveOutcome::Saved, "saved: in.lws");
    EXPECT_EQ(s.unsavedEdits(), 0u);
    EXPECT_FALSE(s.asking());
}

TEST(ShellLogic, AFailedWriteOffersSaveAsOnlyAndSaveAsBecomesTheTarget) {
    ShellLogic s("dir/out.lws", "in.lws");
    s.runFinished(true, 3);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);
    s.saved(window::SaveOutcome::Failed, "dir/out.lws: the folder is read-only");
    ASSERT_TRUE(s.asking());
    EXPECT_EQ(s.view({}).dialog->middle, "");                  // no "Save anyway" for a write that failed
    EXPECT_EQ(clickOn(s, L.dialogMiddle), ShellAction::None);  // nothing there
    EXPECT_TRUE(s.asking());
    // Return chooses "Save as...", never the save over someone else's change.
    EXPECT_EQ(s.key(ShellKey::Return, 0), ShellAction::None);
    ASSERT_TRUE(s.typing());
    ASSERT_TRUE(s.view({}).dialog->field);
    EXPECT_EQ(*s.view({}).dialog->field, "dir/out.lws");  // starts from the path that failed
    EXPECT_EQ(s.view({}).dialog->caret, 11);
    s.key(ShellKey::Home, 0);
    for (int i = 0; i < 3; ++i) s.key(ShellKey::Delete, 0);
    s.text("/tmp");
    EXPECT_EQ(*s.view({}).dialog->field, "/tmp/out.lws");
    s.key(ShellKey::End, 0);
    for (int i = 0; i < 4; ++i) s.key(ShellKey::Backspace, 0);
    s.text("2.lws");
    EXPECT_EQ(*s.view({}).dialog->field, "/tmp/out2.lws");
    EXPECT_EQ(s.key(ShellKey::Return, 0), ShellAction::Save);
    EXPECT_EQ(s.saveRequest().path, "/tmp/out2.lws");
    EXPECT_FALSE(s.saveRequest().force);
    s.saved(window::SaveOutcome::Saved, "saved: /tmp/out2.lws");
    EXPECT_EQ(s.saveTarget(), std::optional<std::string>("/tmp/out2.lws"));
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);  // the next Save goes there, without asking
    EXPECT_EQ(s.saveRequest().path, "/tmp/out2.lws");
}

TEST(ShellLogic, SaveAsAsksBeforeReplacingAFileAndCanBeLeft) {
    ShellLogic s("out.lws", std::nullopt);
    std::vector<std::string> asked;
    s.fileExists = [&](const std::string &p) {
        asked.push_back(p);
        return p == "taken.lws";
    };
    s.runFinished(true, 1);
    clickOn(s, L.save);
    s.saved(window::SaveOutcome::Failed, "out.lws: no space left on the disk");
    clickOn(s, L.dialogYes);  // Save as...
    ASSERT_TRUE(s.typing());
    for (int i = 0; i < 7; ++i) s.key(ShellKey::Backspace, 0);
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::None);  // an empty name saves nothing
    EXPECT_TRUE(s.typing());
    EXPECT_NE(s.view({}).status.find("Type the name"), std::string::npos);
    s.text("taken.lws");
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::None);
    ASSERT_TRUE(s.asking());
    EXPECT_FALSE(s.typing());
    EXPECT_NE(s.view({}).dialog->question.find("taken.lws\nexists already"), std::string::npos);
    s.text("x");                                           // no field to type into now
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);  // back to the field
    ASSERT_TRUE(s.typing());
    EXPECT_EQ(*s.view({}).dialog->field, "taken.lws");
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::Save);  // replace it
    EXPECT_EQ(s.saveRequest().path, "taken.lws");
    EXPECT_EQ(asked, (std::vector<std::string>{"taken.lws", "taken.lws"}));
    // Escape leaves the field: nothing saved, the edits still unsaved.
    s.saved(window::SaveOutcome::Failed, "taken.lws: read-only");
    clickOn(s, L.dialogYes);
    EXPECT_EQ(s.key(ShellKey::Escape, 0), ShellAction::None);
    EXPECT_FALSE(s.asking());
    EXPECT_EQ(s.view({}).status, "Not saved.");
    EXPECT_EQ(s.unsavedEdits(), 1u);
}

TEST(ShellLogic, ClickInTheFieldMovesTheCaret) {
    ShellLogic s("out.lws", std::nullopt);
    clickOn(s, L.save);
    s.saved(window::SaveOutcome::Failed, "failed");
    clickOn(s, L.dialogYes);
    const sim::Rect &f = L.dialogField;
    s.click(f.x + 4 + 2 * sim::font::kAdvance, f.y + f.h / 2);  // between "ou" and "t.lws"
    EXPECT_EQ(s.view({}).dialog->caret, 2);
    s.text("\xc3\xa9");  // typed text is UTF-8
    s.key(ShellKey::Left, 0);
    EXPECT_EQ(s.view({}).dialog->caret, 2);  // over the whole character
    s.key(ShellKey::Delete, 0);
    EXPECT_EQ(*s.view({}).dialog->field, "out.lws");
    s.text("a\tb\x7f");  // control characters are not typed
    EXPECT_EQ(*s.view({}).dialog->field, "ouabt.lws");
    s.click(f.x + f.w - 2, f.y + 2);  // past the end
    EXPECT_EQ(s.view({}).dialog->caret, 9);
}

TEST(ShellLogic, ShowChangesOpensAPageThatScrollsAndCloses) {
    ShellLogic s("out.lws", "in.lws");
    EXPECT_EQ(clickOn(s, L.changes), ShellAction::ShowChanges);
    window::ShellChanges c;
    c.title = "Save to out.lws";
    for (int i = 0; i < 100; ++i) c.lines.push_back("+line " + std::to_string(i));
    s.showChanges(c);
    ASSERT_TRUE(s.showingChanges());
    ASSERT_TRUE(s.view({}).page);
    EXPECT_EQ(s.view({}).page->title, "Save to out.lws");
    EXPECT_EQ(clickOn(s, L.run), ShellAction::None);  // the page is modal
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::None);
    s.wheel(-2, 0);
    EXPECT_EQ(s.view({}).page->firstLine, 6);
    s.key(ShellKey::End, 0);
    EXPECT_EQ(s.view({}).page->firstLine, 100 - L.pageLines);
    s.key(ShellKey::PageDown, 0);
    EXPECT_EQ(s.view({}).page->firstLine, 100 - L.pageLines);
    s.key(ShellKey::Home, 0);
    s.key(ShellKey::Up, 0);
    EXPECT_EQ(s.view({}).page->firstLine, 0);
    EXPECT_EQ(clickOn(s, L.pageClose), ShellAction::None);
    EXPECT_FALSE(s.showingChanges());
    s.showChanges(c);
    EXPECT_EQ(s.key(ShellKey::Escape, 0), ShellAction::None);
    EXPECT_FALSE(s.showingChanges());
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
