// The page between runs, without a browser: scenes opened from bytes (and
// refused with the command line's message, keeping what was open), runs of
// the real plug-in and what the command line would print for them, saves
// through a store, the questions before edits are dropped, and the table.
#include "web/page_session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "session/scene_bytes.h"
#include "session/scene_source.h"
#include "sim/host.h"
#include "tests/support/deliver.h"

namespace {

std::string fixture(const std::string &name) {
    std::ifstream in(std::string(VANTOREL_SCENEFILE_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    EXPECT_TRUE(in) << name;
    return s.str();
}

const sim::PluginLibrary &plugin() {
    static const sim::PluginLibrary lib =
        sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH, sim::PluginLibrary::Instance::Fresh);
    return lib;
}

struct KeptStore : session::Store {
    std::vector<std::pair<std::string, std::string>> writes;
    session::SaveResult write(const std::string &target, const std::string &bytes, bool) override {
        writes.emplace_back(target, bytes);
        session::SaveResult r;
        r.target = target;
        return r;
    }
};

// A driver playing actions, then OK (or Cancel).
web::PageSession::PanelDriver playing(const std::vector<sim::Action> &actions,
                                      sim::Close close = sim::Close::Ok) {
    return [actions, close](sim::Host &h, sim::Recorder &recorded) {
        for (const sim::Action &a : actions) EXPECT_TRUE(testsupport::delivered(h, a));
        recorded.record(sim::Action::scroll(7));
        recorded.record(close == sim::Close::Ok ? sim::Action::ok() : sim::Action::cancel());
        return close;
    };
}

std::vector<std::string> names(const web::PageSession &page) {
    std::vector<std::string> out;
    for (const render::ShellRow &r : page.rows()) out.push_back(r.name);
    return out;
}

TEST(PageSession, StartsOnTheBuiltInSceneWhichCannotBeSaved) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    EXPECT_TRUE(page.builtIn());
    EXPECT_EQ(page.sceneName(), "");
    EXPECT_EQ(page.rows().size(), scene::makeDemoScene().lights.size());
    EXPECT_FALSE(page.canSave());
    EXPECT_EQ(
        page.saveNote(),
        "The built-in scene has no file to save to: open a scene file (Open scene\xE2\x80\xA6 or drop a .lws "
        "file on the page).");
    // Edits to it count, and Save still writes nothing anywhere.
    page.run(playing({sim::Action::clickName("Key"), sim::Action::intensity(50)}));
    EXPECT_GT(page.unsavedEdits(), 0u);
    page.save();
    EXPECT_TRUE(store.writes.empty());
    EXPECT_TRUE(page.statusIsError());
    EXPECT_NE(page.status().find("Nothing to save to"), std::string::npos) << page.status();
    EXPECT_EQ(page.changes().title, "No scene file");
}

TEST(PageSession, AMalformedFileIsRefusedWithTheCommandLinesMessageAndTheSceneStays) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened) << page.status();
    const std::vector<std::string> before = names(page);
    EXPECT_EQ(page.open("bad-number.lws", fixture("bad-number.lws")), web::OpenResult::Refused);
    EXPECT_TRUE(page.statusIsError());
    EXPECT_EQ(page.status().rfind("bad-number.lws:", 0), 0u) << page.status();
    EXPECT_NE(page.status().find(": error: "), std::string::npos) << page.status();
    EXPECT_NE(page.status().find("\nv3.lws stays open."), std::string::npos) << page.status();
    EXPECT_EQ(page.sceneName(), "v3.lws");
    EXPECT_EQ(names(page), before);
    // Not a scene at all, empty, too large, unreadable: the same.
    EXPECT_EQ(page.open("notes.txt", "hello\n"), web::OpenResult::Refused);
    EXPECT_EQ(page.open("empty.lws", ""), web::OpenResult::Refused);
    EXPECT_EQ(page.checkSize("huge.lws", 300.0 * 1024 * 1024), web::OpenResult::Refused);
    EXPECT_EQ(page.status().rfind("huge.lws: error: file is larger than 256 MiB\n", 0), 0u) << page.status();
    EXPECT_EQ(page.checkSize("fine.lws", 1000), web::OpenResult::Opened);
    EXPECT_EQ(page.refuse("gone.lws", "cannot read the file (NotFoundError)"), web::OpenResult::Refused);
    EXPECT_EQ(page.status(), "gone.lws: error: cannot read the file (NotFoundError)\nv3.lws stays open.");
    EXPECT_EQ(page.sceneName(), "v3.lws");
}

TEST(PageSession, EveryVersionAndLineEndOpensAndSavesWhatTheCommandLineWrites) {
    for (const char *name :
         {"v1.lws", "v2.lws", "v3.lws", "v4.lws", "v5.lws", "v6.lws", "v7.lws", "v8.lws", "v8-crlf.lws"}) {
        SCOPED_TRACE(name);
        KeptStore store;
        web::PageSession page(plugin(), store);
        const std::string bytes = fixture(name);
        ASSERT_EQ(page.open(name, bytes), web::OpenResult::Opened) << page.status();
        ASSERT_TRUE(page.canSave());
        const std::vector<sim::Action> edits = {sim::Action::clickY(2), sim::Action::intensity(42),
                                                sim::Action::color(10, 200, 30)};
        page.run(playing(edits));
        ASSERT_EQ(page.lastRun().outcome, sim::Close::Ok);
        page.save();
        ASSERT_EQ(store.writes.size(), 1u) << page.status();
        EXPECT_EQ(store.writes[0].first, name);
        EXPECT_EQ(page.status(), std::string("saved: ") + name);
        EXPECT_EQ(page.unsavedEdits(), 0u);

        // The command line: the same session on a host of its own, then the save's bytes.
        session::OpenedScene opened;
        scenefile::LoadError err;
        ASSERT_TRUE(session::openScene(bytes, name, false, opened, err));
        sim::Host host(opened.document.scene());
        testsupport::runOpened(host, plugin(), [&](sim::Host &h) {
            for (const sim::Action &a : edits) EXPECT_TRUE(testsupport::delivered(h, a));
            return sim::Close::Ok;
        });
        EXPECT_EQ(page.lastRun().commands, host.commands());
        const session::SceneBytes cli = session::renderScene(opened.document, host.scene(), &plugin());
        EXPECT_EQ(store.writes[0].second, cli.bytes);
        EXPECT_NE(cli.bytes, bytes);
    }
}

TEST(PageSession, ARunsLogIsWhatTheCommandLinePrintsAndCancelChangesNothing) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened);
    const std::vector<render::ShellRow> before = page.rows();
    page.run(playing({sim::Action::clickY(2), sim::Action::intensity(10)}, sim::Close::Cancel));
    EXPECT_EQ(page.lastRun().number, 1);
    EXPECT_EQ(page.lastRun().outcome, sim::Close::Cancel);
    EXPECT_TRUE(page.lastRun().commands.empty());
    EXPECT_EQ(page.lastRun().transcript, std::vector<std::string>{"result: 0"});
    EXPECT_EQ(page.lastRun().recorded, (std::vector<std::string>{"scroll 7", "cancel"}));
    EXPECT_EQ(page.rows()[0].intensity, before[0].intensity);
    EXPECT_EQ(page.unsavedEdits(), 0u);
    EXPECT_EQ(page.status(), "Run 1: cancelled, the scene is unchanged.");

    // The plug-in's info texts are its transcript, as on stderr.
    page.run(playing({sim::Action::clickY(2), sim::Action::press(sim::Button::Copy)}));
    EXPECT_EQ(page.lastRun().number, 2);
    ASSERT_GE(page.lastRun().transcript.size(), 2u);
    EXPECT_EQ(page.lastRun().transcript.front().rfind("info: ", 0), 0u) << page.lastRun().transcript.front();
    EXPECT_EQ(page.lastRun().transcript.back(), "result: 0");
    EXPECT_EQ(page.lastRun().commands.front(), "EditLights");
}

TEST(PageSession, OpeningOverUnsavedEditsAsksAndKeepsThemUnlessTold) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened);
    page.run(playing({sim::Action::clickY(2), sim::Action::intensity(10)}));
    const std::size_t edits = page.unsavedEdits();
    ASSERT_GT(edits, 0u);
    // A bad file asks nothing: it is refused first.
    EXPECT_EQ(page.open("bad.lws", "LWSC\n"), web::OpenResult::Refused);
    EXPECT_FALSE(page.asking());
    EXPECT_EQ(page.open("v8.lws", fixture("v8.lws")), web::OpenResult::Asking);
    EXPECT_TRUE(page.asking());
    EXPECT_EQ(page.question(), std::to_string(edits) + " unsaved edit(s) will be lost. Open v8.lws anyway?");
    EXPECT_EQ(page.sceneName(), "v3.lws");  // nothing changes before the answer
    page.answerOpen(false);
    EXPECT_FALSE(page.asking());
    EXPECT_EQ(page.sceneName(), "v3.lws");
    EXPECT_EQ(page.unsavedEdits(), edits);
    EXPECT_EQ(page.status(), "v8.lws was not opened; v3.lws stays open with its edits.");
    ASSERT_EQ(page.open("v8.lws", fixture("v8.lws")), web::OpenResult::Asking);
    page.answerOpen(true);
    EXPECT_EQ(page.sceneName(), "v8.lws");
    EXPECT_EQ(page.unsavedEdits(), 0u);
}

TEST(PageSession, TheCopyBufferCarriesOverToTheNextRunAndTheNextScene) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    page.run(
        playing({sim::Action::clickName("Key"), sim::Action::press(sim::Button::Copy)}, sim::Close::Cancel));
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened);
    page.run(playing({sim::Action::clickY(2), sim::Action::press(sim::Button::Paste)}));
    // Key of the built-in scene: 100 %, range 12.5 and limited, pasted onto the file's first light.
    EXPECT_EQ(page.rows()[0].intensity, 1.0);
    EXPECT_EQ(page.rows()[0].range, 12.5);
}

TEST(PageSession, TheTableMarksAnimatedValuesAndReadsCp1252Names) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened);
    bool animatedIntensity = false;
    for (const render::ShellRow &r : page.rows())
        animatedIntensity |= (r.animated & render::kIntensityChannel) != 0;
    EXPECT_TRUE(animatedIntensity);
    const std::string latin1 =
        "LWSC\n3\n\nAddLight\nLightName Ni\xF1o\nLightColor 1 1 1\nLightIntensity 1\nLightType 1\nShadowType "
        "0\n"
        "LightFalloffType 1\nLightRange 4\n";
    ASSERT_EQ(page.open("n.lws", latin1), web::OpenResult::Opened) << page.status();
    ASSERT_EQ(page.rows().size(), 1u);
    EXPECT_EQ(page.rows()[0].name, "Ni\xC3\xB1o");
    EXPECT_EQ(page.rows()[0].animated, 0u);
}

TEST(PageSession, ShowChangesIsTheDiffOfASaveAgainstWhatWasSavedLast) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened);
    page.run(playing({sim::Action::clickY(2), sim::Action::intensity(10)}));
    session::ShellChanges c = page.changes();
    EXPECT_EQ(c.title.rfind("Save to v3.lws, against v3.lws as read: ", 0), 0u) << c.title;
    bool header = false;
    for (const std::string &l : c.lines) header = header || l == "--- a/v3.lws";
    EXPECT_TRUE(header);
    page.save();
    c = page.changes();
    EXPECT_EQ(c.title, "No changes: Save would write v3.lws as it was saved last");
}

}  // namespace

namespace {

// What a script run shows, in one value for the assertions.
struct ScriptShown {
    int exit;
    std::vector<std::string> commands, transcript;
};
ScriptShown played(web::PageSession &page, const std::string &name, const std::string &text) {
    const int exit = page.runScript(name, text);
    return {exit, page.lastRun().commands, page.lastRun().transcript};
}

}  // namespace

TEST(PageSession, AScriptPlaysOnTheSceneAsItStandsAndFailuresLeaveItAsItWas) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    ASSERT_EQ(page.open("v3.lws", fixture("v3.lws")), web::OpenResult::Opened);
    const std::string first = page.rows()[0].name;

    const ScriptShown ok = played(page, "edit.vts", "click \"" + first + "\"\nintensity 25\nok\n");
    EXPECT_EQ(ok.exit, web::kScriptRan);
    ASSERT_FALSE(ok.commands.empty());
    EXPECT_EQ(ok.commands.front(), "EditLights");
    EXPECT_EQ(ok.transcript, std::vector<std::string>{"result: 0"});
    EXPECT_DOUBLE_EQ(page.rows()[0].intensity, 0.25);
    EXPECT_GT(page.unsavedEdits(), 0u);
    EXPECT_EQ(page.lastRun().script, "edit.vts");

    // A failed expectation after OK: the commands were sent, the transcript
    // says where, and the scene goes back (the command line saves nothing).
    // Nothing is selected at the opening, so the edit is warned of first.
    const ScriptShown failed = played(page, "check.vts", "intensity 80\nok\nexpect field intensity 81\n");
    EXPECT_EQ(failed.exit, web::kScriptStepFailed);
    EXPECT_FALSE(failed.commands.empty());
    ASSERT_EQ(failed.transcript.size(), 3u);
    EXPECT_EQ(failed.transcript[0].rfind("check.vts:1: warning: intensity 80: no light is selected", 0), 0u)
        << failed.transcript[0];
    EXPECT_EQ(failed.transcript[1], "result: 0");
    EXPECT_EQ(failed.transcript[2].rfind("check.vts:3: error: ", 0), 0u) << failed.transcript[2];
    EXPECT_DOUBLE_EQ(page.rows()[0].intensity, 0.25);
    EXPECT_TRUE(page.statusIsError());
    EXPECT_NE(page.status().find("as it was before the script"), std::string::npos) << page.status();

    // A line that is not the language: nothing runs.
    const ScriptShown unreadable = played(page, "typo.vts", "clik Key\nok\n");
    EXPECT_EQ(unreadable.exit, web::kScriptUnreadable);
    EXPECT_TRUE(unreadable.commands.empty());
    ASSERT_EQ(unreadable.transcript.size(), 1u);
    EXPECT_EQ(unreadable.transcript[0].rfind("typo.vts:1: error: ", 0), 0u) << unreadable.transcript[0];
    EXPECT_DOUBLE_EQ(page.rows()[0].intensity, 0.25);

    // A click on a light the scene does not have names the place to look.
    const ScriptShown nobody = played(page, "nobody.vts", "click Nobody\nok\n");
    EXPECT_EQ(nobody.exit, web::kScriptStepFailed);
    EXPECT_TRUE(nobody.commands.empty());
    ASSERT_FALSE(nobody.transcript.empty());
    EXPECT_NE(nobody.transcript[0].find("the table of lights shows them"), std::string::npos)
        << nobody.transcript[0];
}

TEST(PageSession, ASnapshotOfAScriptIsAPictureInTheStoreUnderItsOwnName) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    EXPECT_EQ(page.runScript("s.vts", "click Fill\nsnapshot pictures/fill.png\ncancel\n"), web::kScriptRan);
    ASSERT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(store.writes[0].first, "fill.png");
    EXPECT_EQ(store.writes[0].second.substr(1, 3), "PNG");
    EXPECT_NE(page.status().find("Snapshot downloaded: fill.png."), std::string::npos) << page.status();
}

TEST(PageSession, TheRecordingOfARunByHandReplaysItAndAScriptRunDoesNotReplaceIt) {
    KeptStore store;
    web::PageSession page(plugin(), store);
    EXPECT_EQ(page.recordingText(), "");  // nothing run yet
    page.run([](sim::Host &h, sim::Recorder &recorded) {
        EXPECT_TRUE(testsupport::delivered(h, sim::Action::clickName("Rim")));
        recorded.record(sim::Action::clickName("Rim"));
        EXPECT_TRUE(testsupport::delivered(h, sim::Action::intensity(12.5)));
        recorded.record(sim::Action::intensity(12.5));
        recorded.record(sim::Action::ok());
        return sim::Close::Ok;
    });
    const std::vector<std::string> commands = page.lastRun().commands;
    const std::string text = page.recordingText();
    EXPECT_EQ(page.recordingName(), "built-in-session-1.vts");
    EXPECT_EQ(
        text,
        "# recorded in the Vantorel page: run 1 on the built-in scene\nclick Rim\nintensity 12.5\nok\n");

    // Played on a fresh page, the recording sends the same commands.
    KeptStore other;
    web::PageSession replay(plugin(), other);
    EXPECT_EQ(replay.runScript(page.recordingName(), text), web::kScriptRan);
    EXPECT_EQ(replay.lastRun().commands, commands);

    page.runScript("other.vts", "cancel\n");
    EXPECT_EQ(page.recordingText(), text);
}
