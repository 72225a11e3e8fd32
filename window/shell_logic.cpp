// shell_logic.cpp - the shell window's buttons, questions and status line.
#include "shell_logic.h"

#include <algorithm>
#include <utility>

namespace window {

ShellLogic::ShellLogic(std::optional<std::string> saveTo, std::optional<std::string> sceneFile) {
    if (saveTo) {
        target_ = std::move(saveTo);
    } else if (sceneFile) {
        target_ = std::move(sceneFile);
        mustAsk_ = true;
    }
    status_ = "Press vantorel to edit the lights.";
}

ShellAction ShellLogic::click(int x, int y) {
    const render::ShellLayout l = render::shellLayout();
    if (dialog_) {
        // The question is modal: only its two buttons answer it.
        if (l.dialogYes.contains(x, y)) return answer(true);
        if (l.dialogNo.contains(x, y)) return answer(false);
        return ShellAction::None;
    }
    if (l.run.contains(x, y)) return ShellAction::RunPlugin;
    if (l.save.contains(x, y)) return trySave();
    if (l.quit.contains(x, y)) return tryQuit();
    return ShellAction::None;
}

ShellAction ShellLogic::key(ShellKey k, size_t rows) {
    if (dialog_) {
        if (k == ShellKey::Return) return answer(true);
        if (k == ShellKey::Escape) return answer(false);
        return ShellAction::None;
    }
    const int page = render::shellLayout().visibleRows;
    switch (k) {
    case ShellKey::Up: firstRow_ = std::max(0, firstRow_ - 1); break;
    case ShellKey::Down: firstRow_ += 1; break;
    case ShellKey::PageUp: firstRow_ = std::max(0, firstRow_ - page); break;
    case ShellKey::PageDown: firstRow_ += page; break;
    default: break;
    }
    const int maxFirst = std::max(0, static_cast<int>(rows) - page);
    firstRow_ = std::min(firstRow_, maxFirst);
    return ShellAction::None;
}

ShellAction ShellLogic::closeRequested() {
    if (dialog_) return ShellAction::None;
    return tryQuit();
}

void ShellLogic::wheel(int notches, size_t rows) {
    const int maxFirst = std::max(0, static_cast<int>(rows) - render::shellLayout().visibleRows);
    firstRow_ = std::clamp(firstRow_ - 3 * notches, 0, maxFirst);
}

void ShellLogic::runFinished(bool ok, size_t commandsApplied) {
    ++runs_;
    unsaved_ += commandsApplied;
    std::string run = "Run " + std::to_string(runs_);
    if (!ok) status_ = run + ": cancelled, the scene is unchanged.";
    else status_ = run + ": OK, " + std::to_string(commandsApplied) + " command(s) applied.";
    if (unsaved_) status_ += " Unsaved edits: " + std::to_string(unsaved_) + ".";
}

void ShellLogic::saved(bool ok, const std::string &message) {
    if (ok) unsaved_ = 0;
    status_ = message;
}

ShellAction ShellLogic::trySave() {
    if (!target_) {
        status_ = "Nothing to save to: start with --scene FILE.lws (and --save OUT.lws).";
        return ShellAction::None;
    }
    if (mustAsk_) {
        dialog_ = Question::Overwrite;
        return ShellAction::None;
    }
    return ShellAction::Save;
}

ShellAction ShellLogic::tryQuit() {
    if (unsaved_ == 0) return ShellAction::Quit;
    dialog_ = Question::Quit;
    return ShellAction::None;
}

ShellAction ShellLogic::answer(bool yes) {
    const Question q = *dialog_;
    dialog_.reset();
    if (q == Question::Overwrite) {
        if (!yes) {
            status_ = "Not saved.";
            return ShellAction::None;
        }
        mustAsk_ = false;  // asked once per process
        return ShellAction::Save;
    }
    if (!yes) {
        status_ = "Still here. Unsaved edits: " + std::to_string(unsaved_) + ".";
        return ShellAction::None;
    }
    return ShellAction::Quit;
}

render::ShellView ShellLogic::view(const sim::Scene &scene) const {
    render::ShellView v;
    v.title = "Layout (vantorel-host shell)";
    v.rows = render::shellRows(scene);
    const int maxFirst = std::max(0, static_cast<int>(v.rows.size()) - render::shellLayout().visibleRows);
    v.firstRow = std::clamp(firstRow_, 0, maxFirst);
    v.status = status_;
    if (dialog_ == Question::Overwrite)
        v.dialog = render::ShellDialog{"Save over the scene file\n" + *target_ + " ?", "Overwrite", "Cancel"};
    else if (dialog_ == Question::Quit)
        v.dialog = render::ShellDialog{
            std::to_string(unsaved_) + " unsaved edit(s) will be lost.\nQuit anyway?", "Quit", "Stay"};
    return v;
}

}  // namespace window
