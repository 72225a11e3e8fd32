// Saving the edited scene through a store, and the shell's scene across
// saves: what reaches the store, what is reported, and what "Show changes"
// compares with. Without the plug-in: values are compared with the file alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/scene_bytes.h"
#include "session/scene_save.h"
#include "session/scene_source.h"
#include "session/shell_scene.h"

namespace {

using session::SaveResult;
using session::SaveStatus;

const char kV3[] =
    "LWSC\n3\n\nAddLight\nLightName Key\nLightColor 1 1 1\nLightIntensity 1\nLightType 1\nShadowType 1\n\n"
    "AddLight\nLightName Fill\nLightColor 1 1 1\nLightIntensity 0.5\nLightType 1\nShadowType 0\n";
// A light whose kind its handler block names: its type cannot be changed.
const char kV8[] =
    "LWSC\n8\n\nAddLight 20000000\nLightName Sun\nLightColor 1 1 1\nLightIntensity 1\nLightType 0\n"
    "Plugin LightHandler 1 DistantLight\nEndPlugin\nShadowType 1\n";

scenefile::LwsDocument parsed(const std::string &bytes) {
    scenefile::LwsDocument doc;
    scenefile::LoadError err;
    EXPECT_TRUE(scenefile::LwsDocument::parse(bytes, "s.lws", doc, err)) << err.toString();
    return doc;
}

// Keeps what it was given and answers as told.
struct FakeStore : session::Store {
    struct Write {
        std::string target, bytes;
        bool force;
    };
    std::vector<Write> writes;
    SaveStatus answer = SaveStatus::Written;
    SaveResult write(const std::string &target, const std::string &bytes, bool force) override {
        writes.push_back({target, bytes, force});
        SaveResult r;
        r.status = answer;
        r.target = target;
        if (answer == SaveStatus::ChangedOnDisk) r.change = "its content differs";
        if (answer == SaveStatus::Failed) r.message = target + ": the disk is full.";
        return r;
    }
};

TEST(OpenScene, KeepsTheBytesWhenAskedAndNamesTheFileAndLineOfAnError) {
    session::OpenedScene opened;
    scenefile::LoadError err;
    ASSERT_TRUE(session::openScene(kV3, "dir/s.lws", true, opened, err)) << err.toString();
    EXPECT_EQ(opened.bytes, kV3);
    EXPECT_EQ(opened.document.lightCount(), 2u);
    session::OpenedScene lean;
    ASSERT_TRUE(session::openScene(kV3, "s.lws", false, lean, err));
    EXPECT_TRUE(lean.bytes.empty());

    std::string bad = kV3;
    bad.replace(bad.find("LightIntensity 0.5"), 18, "LightIntensity 0,5");
    session::OpenedScene kept = std::move(opened);
    EXPECT_FALSE(session::openScene(bad, "dir/s.lws", true, kept, err));
    EXPECT_EQ(err.toString(), "dir/s.lws:14: LightIntensity needs a number, not \"0,5\"");
    EXPECT_EQ(kept.bytes, kV3);  // what was open stays open
    EXPECT_EQ(kept.document.lightCount(), 2u);
}

TEST(SceneSave, TheStoreGetsTheRenderedBytesAndItsResultIsPassedOn) {
    const scenefile::LwsDocument doc = parsed(kV3);
    scene::Scene edited = doc.scene();
    edited.lights[1].intensity = 0.25;
    const std::string expected = session::renderScene(doc, edited, nullptr).bytes;
    ASSERT_NE(expected, kV3);

    FakeStore store;
    const session::SceneSave s = session::saveScene(doc, edited, nullptr, store, "out.lws", false);
    ASSERT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(store.writes[0].target, "out.lws");
    EXPECT_EQ(store.writes[0].bytes, expected);
    EXPECT_FALSE(store.writes[0].force);
    EXPECT_EQ(s.result.status, SaveStatus::Written);
    EXPECT_EQ(s.bytes, expected);
    EXPECT_TRUE(s.errors.empty());

    store.answer = SaveStatus::ChangedOnDisk;
    const session::SceneSave refused = session::saveScene(doc, edited, nullptr, store, "s.lws", true);
    EXPECT_TRUE(store.writes.back().force);
    EXPECT_EQ(refused.result.status, SaveStatus::ChangedOnDisk);
    EXPECT_EQ(refused.result.change, "its content differs");
    EXPECT_TRUE(refused.bytes.empty());  // nothing was written
}

TEST(SceneSave, AnEditTheFileCannotTakeReachesNoStore) {
    const scenefile::LwsDocument doc = parsed(kV8);
    scene::Scene edited = doc.scene();
    edited.lights[0].lightType = 2;  // Spot, while the block names DistantLight
    FakeStore store;
    const session::SceneSave s = session::saveScene(doc, edited, nullptr, store, "out.lws", true);
    EXPECT_TRUE(store.writes.empty());
    ASSERT_EQ(s.errors.size(), 1u);
    EXPECT_NE(s.errors[0].find("cannot be changed to Spot in LWSC 8"), std::string::npos) << s.errors[0];
    EXPECT_EQ(s.result.status, SaveStatus::Failed);
    EXPECT_EQ(s.result.target, "out.lws");
    EXPECT_EQ(s.result.message.rfind("out.lws was not written. Change the type of those lights", 0), 0u)
        << s.result.message;
}

TEST(ShellScene, ChangesCompareWithWhatTheTargetHoldsAsFarAsTheShellKnows) {
    const scenefile::LwsDocument doc = parsed(kV3);
    FakeStore store;
    session::ShellScene shell(doc, std::string("dir/s.lws"), std::nullopt, kV3, nullptr, store, false);
    scene::Scene edited = doc.scene();
    EXPECT_EQ(shell.changes(edited).title, "No changes: Save would write s.lws as s.lws as read");
    EXPECT_EQ(shell.changes(edited).lines, std::vector<std::string>{"Nothing would change."});

    edited.lights[1].intensity = 0.25;
    session::ShellChanges c = shell.changes(edited);
    EXPECT_EQ(c.title, "Save to s.lws, against s.lws as read: 1 line(s) removed, 1 added");
    EXPECT_NE(std::find(c.lines.begin(), c.lines.end(), "+LightIntensity 0.25"), c.lines.end());

    // A failed save changes nothing the shell knows of the target.
    store.answer = SaveStatus::Failed;
    EXPECT_EQ(shell.save(edited, {"dir/s.lws", false}).result.status, SaveStatus::Failed);
    EXPECT_EQ(shell.changes(edited).title, c.title);

    // After a save, the changes are those since it, under the name saved to.
    store.answer = SaveStatus::Written;
    EXPECT_EQ(shell.save(edited, {"other/t.lws", false}).result.status, SaveStatus::Written);
    EXPECT_EQ(shell.changes(edited).title, "No changes: Save would write t.lws as it was saved last");
    edited.lights[0].shadowType = 2;
    c = shell.changes(edited);
    EXPECT_EQ(c.title, "Save to t.lws, against it was saved last: 1 line(s) removed, 1 added");
    EXPECT_EQ(c.lines[0], "--- a/t.lws");
}

TEST(ShellScene, SavesAreForcedByTheCommandLineOrByTheRequest) {
    const scenefile::LwsDocument doc = parsed(kV3);
    FakeStore store;
    session::ShellScene asked(doc, std::string("s.lws"), std::string("out.lws"), kV3, nullptr, store, false);
    (void)asked.save(doc.scene(), {"out.lws", false});
    (void)asked.save(doc.scene(), {"out.lws", true});
    session::ShellScene forced(doc, std::string("s.lws"), std::string("out.lws"), kV3, nullptr, store, true);
    (void)forced.save(doc.scene(), {"out.lws", false});
    ASSERT_EQ(store.writes.size(), 3u);
    EXPECT_FALSE(store.writes[0].force);
    EXPECT_TRUE(store.writes[1].force);
    EXPECT_TRUE(store.writes[2].force);
}

TEST(ShellScene, TheBuiltInSceneHasNothingToCompareWith) {
    const scenefile::LwsDocument doc;
    FakeStore store;
    session::ShellScene shell(doc, std::nullopt, std::nullopt, "", nullptr, store, false);
    session::ShellChanges c = shell.changes(scene::makeDemoScene());
    EXPECT_EQ(c.title, "No scene file");
    EXPECT_EQ(c.lines, std::vector<std::string>{"The built-in scene has no file to compare with."});
    shell.howToOpen = "open one first";
    c = shell.changes(scene::makeDemoScene());
    EXPECT_EQ(c.lines,
              std::vector<std::string>{"The built-in scene has no file to compare with; open one first."});
}

TEST(ShellScene, ThePageShowsWarningsWrappedAndRefusalsInsteadOfADiff) {
    const scenefile::LwsDocument doc = parsed(kV8);
    scene::Scene edited = doc.scene();
    edited.lights[0].lightType = 2;
    const session::SceneDiff d = session::diffScene(doc, kV8, edited, "s.lws", nullptr);
    ASSERT_FALSE(d.errors.empty());
    session::SceneDiff withWarning = d;
    std::string longWarning;
    for (int i = 0; i < 60; ++i) longWarning += "word ";
    withWarning.warnings = {longWarning};
    const session::ShellChanges c = session::pageOfChanges(withWarning, "s.lws", "s.lws as read");
    EXPECT_EQ(c.title, "Save to s.lws would be refused: nothing would be written");
    ASSERT_GE(c.lines.size(), 3u);
    EXPECT_EQ(c.lines[0].rfind("warning: ", 0), 0u);
    EXPECT_EQ(c.lines[1].rfind("  word", 0), 0u);  // the warning goes on, indented
    const int columns = render::shellLayout().pageColumns;
    for (const std::string &l : c.lines) EXPECT_LE(static_cast<int>(l.size()), columns) << l;
    bool error = false;
    for (const std::string &l : c.lines) error = error || l.rfind("error: light 1 \"Sun\"", 0) == 0;
    EXPECT_TRUE(error);
    // Unwrapped, for a front end that wraps text itself: one line per sentence.
    const session::ShellChanges whole = session::pageOfChanges(withWarning, "s.lws", "s.lws as read", 0);
    ASSERT_EQ(whole.lines.size(), 1 + d.errors.size());
    EXPECT_EQ(whole.lines[0], "warning: " + longWarning);
}

}  // namespace
