// The shell's logic on structured save results, without a display: its
// buttons, questions, status line and page of changes.
#include <gtest/gtest.h>

#include "render/window_render.h"
#include "session/shell_logic.h"
#include "sim/font.h"

namespace {

using render::ShellLayout;
using session::SaveResult;
using session::SaveStatus;
using session::ShellAction;
using session::ShellKey;
using session::ShellLogic;

struct Point {
    int x, y;
};
Point mid(const sim::Rect &b) { return {b.x + b.w / 2, b.y + b.h / 2}; }
ShellAction clickOn(ShellLogic &s, const sim::Rect &b) { return s.click(mid(b).x, mid(b).y); }

const ShellLayout L = render::shellLayout();

SaveResult written(const std::string &target) {
    SaveResult r;
    r.target = target;
    return r;
}
SaveResult failed(const std::string &target, const std::string &message) {
    return session::saveFailure(target, "writing the new file", message);
}
SaveResult changedOnDisk(const std::string &target, const std::string &change) {
    SaveResult r;
    r.status = SaveStatus::ChangedOnDisk;
    r.target = target;
    r.change = change;
    return r;
}

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

TEST(ShellLogic, NothingToSaveToSaysHowInTheFrontEndsWords) {
    ShellLogic s(std::nullopt, std::nullopt, "open a scene file first");
    EXPECT_EQ(clickOn(s, L.save), ShellAction::None);
    EXPECT_FALSE(s.asking());
    EXPECT_EQ(s.view({}).status, "Nothing to save to: open a scene file first.");
    ShellLogic plain(std::nullopt, std::nullopt);
    EXPECT_EQ(clickOn(plain, L.save), ShellAction::None);
    EXPECT_EQ(plain.view({}).status, "Nothing to save to.");
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
    s.saved(failed("out.lws", "out.lws: cannot write the file."));
    EXPECT_EQ(s.unsavedEdits(), 4u);
    // The failure's own sentences, and what the shell offers.
    EXPECT_EQ(s.view({}).status,
              "out.lws: cannot write the file. \"Save as...\" writes the edits to another file.");
    ASSERT_TRUE(s.asking());  // what to do about it
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    EXPECT_NE(s.view({}).status.find("Unsaved edits: 4"), std::string::npos);
    // Quit after the failed save asks, and says that the save failed.
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::None);
    ASSERT_TRUE(s.view({}).dialog);
    EXPECT_NE(s.view({}).dialog->question.find("The last save failed. 4 unsaved"), std::string::npos);
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);
    s.saved(written("out.lws"));
    EXPECT_EQ(s.unsavedEdits(), 0u);
    EXPECT_EQ(s.view({}).status, "saved: out.lws");
    EXPECT_EQ(clickOn(s, L.quit), ShellAction::Quit);
}

TEST(ShellLogic, AFrontEndWithButtonsOfItsOwnGetsTheSameAnswers) {
    using session::ShellButton;
    ShellLogic s("in.lws", "in.lws");
    EXPECT_EQ(s.press(ShellButton::Run), ShellAction::RunPlugin);
    EXPECT_EQ(s.press(ShellButton::ShowChanges), ShellAction::ShowChanges);
    s.runFinished(true, 3);
    EXPECT_EQ(s.unsavedWarning(), "3 unsaved edit(s) will be lost.");
    EXPECT_EQ(s.press(ShellButton::Quit), ShellAction::None);  // asks
    ASSERT_TRUE(s.asking());
    EXPECT_EQ(s.press(ShellButton::Save), ShellAction::None) << "the question is modal";
    EXPECT_EQ(clickOn(s, L.dialogNo), ShellAction::None);
    EXPECT_EQ(s.press(ShellButton::Save), ShellAction::Save);
    // Without "Save as..." (a page's downloads): the failure is said, nothing asked.
    s.offersSaveAs = false;
    s.saved(failed("in.lws", "in.lws was not written."));
    EXPECT_FALSE(s.asking());
    EXPECT_EQ(s.status(), "in.lws was not written. Unsaved edits: 3.");
    EXPECT_EQ(s.unsavedWarning(), "The last save failed. 3 unsaved edit(s) will be lost.");
    EXPECT_EQ(s.press(ShellButton::Save), ShellAction::Save);
    s.saved(written("in.lws"));
    EXPECT_EQ(s.unsavedEdits(), 0u);
    EXPECT_EQ(s.press(ShellButton::Quit), ShellAction::Quit);
}

TEST(ShellLogic, ARefusalOffersSaveAnywayAndSaveAs) {
    ShellLogic s(std::nullopt, "in.lws");
    s.runFinished(true, 7);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::None);
    EXPECT_EQ(clickOn(s, L.dialogYes), ShellAction::Save);  // overwrite the scene file
    EXPECT_EQ(s.saveRequest().path, "in.lws");
    EXPECT_FALSE(s.saveRequest().force);
    s.saved(changedOnDisk("in.lws", "its size and content differ"));
    ASSERT_TRUE(s.asking());
    const auto d = *s.view({}).dialog;
    EXPECT_EQ(d.question,
              "in.lws changed on disk since it was read (its size and content differ); nothing was written. "
              "\"Save anyway\" replaces it with these edits, \"Save as...\" writes them to another file.");
    EXPECT_EQ(s.view({}).status, d.question);
    EXPECT_EQ(d.yes, "Save as...");
    EXPECT_EQ(d.middle, "Save anyway");
    EXPECT_EQ(d.no, "Cancel");
    EXPECT_EQ(clickOn(s, L.run), ShellAction::None);  // modal
    EXPECT_EQ(clickOn(s, L.dialogMiddle), ShellAction::Save);
    EXPECT_EQ(s.saveRequest().path, "in.lws");
    EXPECT_TRUE(s.saveRequest().force);
    s.saved(written("in.lws"));
    EXPECT_EQ(s.unsavedEdits(), 0u);
    EXPECT_FALSE(s.asking());
}

TEST(ShellLogic, AFailedWriteOffersSaveAsOnlyAndSaveAsBecomesTheTarget) {
    ShellLogic s("dir/out.lws", "in.lws");
    s.runFinished(true, 3);
    EXPECT_EQ(clickOn(s, L.save), ShellAction::Save);
    s.saved(failed("dir/out.lws", "dir/out.lws: the folder is read-only."));
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
    s.saved(written("/tmp/out2.lws"));
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
    s.saved(failed("out.lws", "out.lws: no space left on the disk."));
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
    s.saved(failed("taken.lws", "taken.lws: read-only."));
    clickOn(s, L.dialogYes);
    EXPECT_EQ(s.key(ShellKey::Escape, 0), ShellAction::None);
    EXPECT_FALSE(s.asking());
    EXPECT_EQ(s.view({}).status, "Not saved.");
    EXPECT_EQ(s.unsavedEdits(), 1u);
}

TEST(ShellLogic, ClickInTheFieldMovesTheCaret) {
    ShellLogic s("out.lws", std::nullopt);
    clickOn(s, L.save);
    s.saved(failed("out.lws", "failed."));
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
    session::ShellChanges c;
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

}  // namespace
