// page_session.h - what the page does between runs of the plug-in, without a
// browser: the scene it edits (the built-in one, or a scene file opened from
// its bytes), each run and what the command line would print for it, saving
// through a Store (in the page: a download), the changes a save would write,
// and the questions asked before unsaved edits are dropped. The shell's logic
// (session::ShellLogic, session::ShellScene) decides; this holds one scene's
// worth of it at a time and answers what the page shows.
#ifndef VANTOREL_WEB_PAGE_SESSION_H
#define VANTOREL_WEB_PAGE_SESSION_H

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/window_render.h"
#include "session/shell_logic.h"
#include "session/store.h"
#include "sim/host.h"
#include "sim/loader.h"
#include "sim/recorder.h"

namespace web {

// One run of the plug-in as the command line shows it.
struct RunLog {
    int number = 0;                     // 1 for the page's first run; 0 before any
    std::optional<sim::Close> outcome;  // none: the panel never opened
    int result = 0;                     // the activation's result
    std::vector<std::string> commands;  // stdout: the Layout commands, in order
    // stderr: "error: TEXT" for each error box, "info: TEXT" for each info
    // text, "warning: ..." for what the host itself has to say, and last
    // "result: N"
    std::vector<std::string> transcript;
    std::vector<std::string> recorded;  // a run by hand as script lines, ending in ok or cancel
    // A session script's run (Run script…): its name ("" for a run by hand)
    // and the exit status the command line would give it.
    std::string script;
    int exitStatus = 0;
};

// The exit statuses of a script run, as the command line gives them.
constexpr int kScriptRan = 0, kScriptStepFailed = 1, kScriptUnreadable = 2;

enum class OpenResult {
    Opened,
    Refused,  // the file cannot be read as a scene: message() says why; the open scene stays
    Asking,   // the open scene has unsaved edits: question() says what opening would drop
};

class PageSession {
public:
    // plugin: the loaded plug-in, run again and again, and asked by saves what
    // an OK without edits sends (session::renderScene). Saves go to store.
    PageSession(const sim::PluginLibrary &plugin, session::Store &store);
    ~PageSession();
    PageSession(const PageSession &) = delete;
    PageSession &operator=(const PageSession &) = delete;

    // The scene file called name, from its bytes, as the command line reads
    // it. With unsaved edits it is kept aside and Asking is returned;
    // answerOpen() then opens it or keeps the scene that is open.
    OpenResult open(const std::string &name, std::string bytes);
    // A file too large to be read at all (size: its bytes): Refused, as
    // open() refuses it, before the bytes are read; else Opened (nothing is
    // done).
    OpenResult checkSize(const std::string &name, double size);
    // A file that could not be read (why: the reason): Refused, as open().
    OpenResult refuse(const std::string &name, const std::string &why);
    void answerOpen(bool open);
    bool asking() const { return pending_ != nullptr; }
    const std::string &question() const { return question_; }

    // The driver of the panel, as sim::Host::Driver, which also hands over
    // the session as the actions that replay it (web::runPanel's recorded).
    using PanelDriver = std::function<sim::Close(sim::Host &h, sim::Recorder &recorded)>;
    // Runs the plug-in once. Returns the activation's result.
    int run(const PanelDriver &driver);
    // "Download recording": the last run by hand as a session script that
    // replays it on the same scene with the same commands; empty before any
    // run by hand, or when its panel never opened.
    std::string recordingText() const;
    std::string recordingName() const;
    // "Run script…": a session script (text, from the file called name)
    // played on the scene as it stands, as the command line plays it; its
    // commands and transcript are lastRun()'s. Snapshots go to the store as
    // PNG pictures. A script that fails leaves the scene as it was, as the
    // command line writes nothing after one. Returns the exit status.
    int runScript(const std::string &name, const std::string &text);
    // "Save scene": the edited scene through the store, under the scene
    // file's own name. The built-in scene has no file: nothing is saved and
    // the status says so.
    void save();
    // "Show changes": what a save would write now, against what the file
    // holds as far as the page knows (the file as opened, then what was
    // saved last); lines not wrapped.
    session::ShellChanges changes() const;

    // ---- what the page shows ----
    bool builtIn() const;
    const std::string &sceneName() const;  // the file's name; "" for the built-in scene
    std::size_t lightCount() const;
    // The table of lights as the scene stands now: names as read (UTF-8, see
    // scene/name_text.h), animated values marked from the scene file.
    std::vector<render::ShellRow> rows() const;
    const RunLog &lastRun() const { return lastRun_; }
    // The status line; an error when the last thing asked for failed.
    const std::string &status() const;
    bool statusIsError() const { return statusIsError_; }
    // What the last save had to say beside its status ("warning: ...", "error: ...").
    const std::vector<std::string> &saveNotes() const { return saveNotes_; }
    std::size_t unsavedEdits() const;
    std::string unsavedWarning() const;
    bool canSave() const;
    // Why Save is not offered, when it is not.
    std::string saveNote() const;

private:
    struct Scene;
    std::unique_ptr<Scene> makeScene(const std::string &name, std::string bytes, std::string &error) const;
    void show(std::unique_ptr<Scene> s, std::string status);
    OpenResult refused(const std::string &error);
    int activate(RunLog &log, const sim::Host::Driver &driver, const std::function<void(int)> &after);

    const sim::PluginLibrary &plugin_;
    session::Store &store_;
    std::unique_ptr<Scene> scene_;
    std::unique_ptr<Scene> pending_;  // opened, waiting for answerOpen
    std::string question_;
    std::string pendingStatus_;  // the status once it is open
    RunLog lastRun_;
    RunLog lastByHand_;  // for the recording
    int runs_ = 0;
    bool statusIsError_ = false;
    std::vector<std::string> saveNotes_;
};

}  // namespace web

#endif
