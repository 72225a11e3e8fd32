// shell_logic.h - what the shell (a small stand-in for Layout between runs of
// the plug-in) does with a click or a key, without
// any display: which button was hit, the questions it asks before it
// overwrites a file or drops unsaved edits, what it offers when a save fails,
// the page of changes, and the text of its status line. A front end only
// turns its events into these calls and carries out the action they return.
#ifndef VANTOREL_SESSION_SHELL_LOGIC_H
#define VANTOREL_SESSION_SHELL_LOGIC_H

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/window_render.h"
#include "scene/scene.h"
#include "session/store.h"
#include "session/text_field.h"

namespace session {

enum class ShellAction {
    None,         // nothing to carry out (a question may have opened or closed)
    RunPlugin,    // run the plug-in once: its modal panel
    Save,         // write the scene as saveRequest() says, then call saved() with the result
    ShowChanges,  // work out what Save would write, then call showChanges()
    Quit,         // end the process
};

// The shell's buttons, for a front end that has buttons of its own (the page)
// rather than the shell's picture.
enum class ShellButton { Run, Save, ShowChanges, Quit };

enum class ShellKey {
    Return,
    Escape,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Left,
    Right,
    Backspace,
    Delete,
    Other
};

// What Save is to write, and whether over a file that changed on disk (forced).
struct SaveRequest {
    std::string path;
    bool force = false;
};

// What Save would write now, for the page of changes.
struct ShellChanges {
    std::string title;               // e.g. "Changes Save would write to out.lws: 2 removed, 2 added"
    std::vector<std::string> lines;  // the warnings, then the diff, without line ends
};

class ShellLogic {
public:
    // saveTo: the file named for saving; sceneFile: the scene file opened.
    // Save writes to saveTo when given (it may name the scene file: naming it
    // is the consent), else to sceneFile after asking once whether to
    // overwrite it; with neither there is nothing to save to, and the status
    // line says so, followed by howToSave when given (how this front end is
    // given a file).
    ShellLogic(std::optional<std::string> saveTo, std::optional<std::string> sceneFile,
               std::string howToSave = {});

    // Tells whether a file exists, so that "Save as..." asks before it
    // replaces one. Unset: it never asks.
    std::function<bool(const std::string &path)> fileExists;
    // Whether a failed save offers "Save as..." (and "Save anyway"). A front
    // end whose saves are downloads has no other file to offer: the status
    // line then says what failed and nothing is asked.
    bool offersSaveAs = true;

    ShellAction click(int x, int y);           // picture pixels at zoom 1
    ShellAction press(ShellButton b);          // a button, as a click on it
    ShellAction key(ShellKey k, size_t rows);  // rows: lights in the table
    void text(const std::string &utf8);        // typed characters (the Save-as field)
    ShellAction closeRequested();              // the window's close button: as Quit
    void wheel(int notches, size_t rows);      // > 0 scrolls up

    // A run of the plug-in ended; commandsApplied: commands that changed the scene.
    void runFinished(bool ok, size_t commandsApplied);
    // The save of saveRequest() was carried out. The status line says how it
    // went; a save that did not happen opens a question on what to do: "Save
    // as..." for any, "Save anyway" too for a file that changed on disk.
    void saved(const SaveResult &result);
    // Opens the page of changes.
    void showChanges(ShellChanges changes);

    size_t unsavedEdits() const { return unsaved_; }
    // What leaving now would drop: "N unsaved edit(s) will be lost.", after
    // "The last save failed. " when it did.
    std::string unsavedWarning() const;
    bool asking() const { return dialog_.has_value(); }
    bool showingChanges() const { return page_.has_value(); }
    bool typing() const { return dialog_ == Question::SaveAs; }  // the Save-as field is open
    const std::optional<std::string> &saveTarget() const { return target_; }
    const SaveRequest &saveRequest() const { return request_; }
    int firstRow() const { return firstRow_; }
    const std::string &status() const { return status_; }
    void setStatus(std::string s) { status_ = std::move(s); }

    render::ShellView view(const scene::Scene &scene) const;

private:
    enum class Question { Overwrite, Quit, SaveFailed, SaveAs, Replace };
    ShellAction answer(int button);  // 0 left, 1 middle, 2 right
    ShellAction trySave();
    ShellAction tryQuit();
    ShellAction commitSaveAs();
    ShellAction save(std::string path, bool force);
    ShellAction pageKey(ShellKey k);
    void scrollPage(int lines);

    std::optional<std::string> target_;
    std::string howToSave_;
    bool mustAsk_ = false;  // saving overwrites the scene file: ask once
    std::optional<Question> dialog_;
    std::optional<TextField> field_;  // the Save-as field, while it is open
    SaveRequest request_;             // the save asked for last
    SaveStatus lastOutcome_ = SaveStatus::Written;
    std::string failure_;  // why the last save failed
    std::optional<render::ShellPage> page_;
    size_t unsaved_ = 0;
    int runs_ = 0;
    int firstRow_ = 0;
    std::string status_;
};

}  // namespace session

#endif
