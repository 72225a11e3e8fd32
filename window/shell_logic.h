// shell_logic.h - what the shell window (vantorel-host --window --shell) does
// with a click or a key, without any display: which button was hit, the
// questions it asks before it overwrites a file or drops unsaved edits, and
// the text of its status line. The SDL side only turns events into these calls
// and carries out the action they return.
#ifndef VANTOREL_WINDOW_SHELL_LOGIC_H
#define VANTOREL_WINDOW_SHELL_LOGIC_H

#include <cstddef>
#include <optional>
#include <string>

#include "render/window_render.h"
#include "sim/scene.h"

namespace window {

enum class ShellAction {
    None,       // nothing to carry out (a question may have opened or closed)
    RunPlugin,  // run the plug-in once: its modal panel
    Save,       // write the scene to saveTarget(), then call saved()
    Quit,       // end the process
};

enum class ShellKey { Return, Escape, Up, Down, PageUp, PageDown, Other };

class ShellLogic {
public:
    // saveTo: the --save file; sceneFile: the --scene file. Save writes to
    // saveTo when given (it may name the scene file: giving it is the consent),
    // else to sceneFile after asking once whether to overwrite it; with
    // neither there is nothing to save to.
    ShellLogic(std::optional<std::string> saveTo, std::optional<std::string> sceneFile);

    ShellAction click(int x, int y);           // picture pixels at zoom 1
    ShellAction key(ShellKey k, size_t rows);  // rows: lights in the table
    ShellAction closeRequested();              // the window's close button: as Quit
    void wheel(int notches, size_t rows);      // > 0 scrolls up

    // A run of the plug-in ended; commandsApplied: commands that changed the scene.
    void runFinished(bool ok, size_t commandsApplied);
    // Save was carried out; message is shown on the status line.
    void saved(bool ok, const std::string &message);

    size_t unsavedEdits() const { return unsaved_; }
    bool asking() const { return dialog_.has_value(); }
    const std::optional<std::string> &saveTarget() const { return target_; }
    int firstRow() const { return firstRow_; }
    void setStatus(std::string s) { status_ = std::move(s); }

    render::ShellView view(const sim::Scene &scene) const;

private:
    enum class Question { Overwrite, Quit };
    ShellAction answer(bool yes);
    ShellAction trySave();
    ShellAction tryQuit();

    std::optional<std::string> target_;
    bool mustAsk_ = false;  // saving overwrites the scene file: ask once
    std::optional<Question> dialog_;
    size_t unsaved_ = 0;
    int runs_ = 0;
    int firstRow_ = 0;
    std::string status_;
};

}  // namespace window

#endif
