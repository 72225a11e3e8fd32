// shell_logic.cpp - the shell's buttons, questions, page of changes and
// status line.
#include "session/shell_logic.h"

#include <algorithm>
#include <utility>

#include "sim/font.h"

namespace session {

namespace {

// The first byte the field shows, as window_render scrolls it.
int firstShown(const TextField &f, const sim::Rect &box) {
    return render::firstShownByte(box, static_cast<int>(f.caret));
}

}  // namespace

ShellLogic::ShellLogic(std::optional<std::string> saveTo, std::optional<std::string> sceneFile,
                       std::string howToSave)
    : howToSave_(std::move(howToSave)) {
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
        // The question is modal: only its buttons (and its field) answer it.
        if (dialog_ == Question::SaveAs && l.dialogField.contains(x, y)) {
            const int column = (x - (l.dialogField.x + 4) + sim::font::kAdvance / 2) / sim::font::kAdvance;
            field_->caretToColumn(firstShown(*field_, l.dialogField) + column);
            return ShellAction::None;
        }
        if (l.dialogYes.contains(x, y)) return answer(0);
        if (l.dialogMiddle.contains(x, y) && dialog_ == Question::SaveFailed &&
            lastOutcome_ == SaveStatus::ChangedOnDisk)
            return answer(1);
        if (l.dialogNo.contains(x, y)) return answer(2);
        return ShellAction::None;
    }
    if (page_) {
        if (l.pageClose.contains(x, y)) page_.reset();
        return ShellAction::None;
    }
    if (l.run.contains(x, y)) return press(ShellButton::Run);
    if (l.save.contains(x, y)) return press(ShellButton::Save);
    if (l.changes.contains(x, y)) return press(ShellButton::ShowChanges);
    if (l.quit.contains(x, y)) return press(ShellButton::Quit);
    return ShellAction::None;
}

ShellAction ShellLogic::press(ShellButton b) {
    if (dialog_) return ShellAction::None;  // the question is modal
    switch (b) {
    case ShellButton::Run: return ShellAction::RunPlugin;
    case ShellButton::Save: return trySave();
    case ShellButton::ShowChanges: return ShellAction::ShowChanges;
    case ShellButton::Quit: return tryQuit();
    }
    return ShellAction::None;
}

std::string ShellLogic::unsavedWarning() const {
    std::string w = std::to_string(unsaved_) + " unsaved edit(s) will be lost.";
    return lastOutcome_ != SaveStatus::Written ? "The last save failed. " + w : w;
}

ShellAction ShellLogic::key(ShellKey k, size_t rows) {
    if (dialog_ == Question::SaveAs) {
        switch (k) {
        case ShellKey::Return: return commitSaveAs();
        case ShellKey::Escape: return answer(2);
        case ShellKey::Left: field_->left(); break;
        case ShellKey::Right: field_->right(); break;
        case ShellKey::Home: field_->home(); break;
        case ShellKey::End: field_->end(); break;
        case ShellKey::Backspace: field_->backspace(); break;
        case ShellKey::Delete: field_->erase(); break;
        default: break;
        }
        return ShellAction::None;
    }
    if (dialog_) {
        if (k == ShellKey::Return) return answer(0);
        if (k == ShellKey::Escape) return answer(2);
        return ShellAction::None;
    }
    if (page_) return pageKey(k);
    const int page = render::shellLayout().visibleRows;
    switch (k) {
    case ShellKey::Up: firstRow_ = std::max(0, firstRow_ - 1); break;
    case ShellKey::Down: firstRow_ += 1; break;
    case ShellKey::PageUp: firstRow_ = std::max(0, firstRow_ - page); break;
    case ShellKey::PageDown: firstRow_ += page; break;
    case ShellKey::Home: firstRow_ = 0; break;
    case ShellKey::End: firstRow_ = static_cast<int>(rows); break;
    default: break;
    }
    const int maxFirst = std::max(0, static_cast<int>(rows) - page);
    firstRow_ = std::min(firstRow_, maxFirst);
    return ShellAction::None;
}

void ShellLogic::text(const std::string &utf8) {
    if (typing()) field_->type(utf8);
}

ShellAction ShellLogic::closeRequested() {
    if (dialog_) return ShellAction::None;
    page_.reset();
    return tryQuit();
}

void ShellLogic::wheel(int notches, size_t rows) {
    if (dialog_) return;
    if (page_) return scrollPage(-3 * notches);
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

void ShellLogic::saved(const SaveResult &result) {
    lastOutcome_ = result.status;
    switch (result.status) {
    case SaveStatus::Written:
        status_ = "saved: " + result.target;
        unsaved_ = 0;
        // A file chosen with "Save as..." is where Save writes from now on.
        if (target_ != request_.path) {
            target_ = request_.path;
            mustAsk_ = false;
        }
        return;
    case SaveStatus::ChangedOnDisk:
        status_ = result.target + " changed on disk since it was read (" + result.change +
                  "); nothing was written. \"Save anyway\" replaces it with these edits, \"Save as...\" "
                  "writes them to another file.";
        break;
    case SaveStatus::Failed:
        status_ = result.message + (offersSaveAs ? " \"Save as...\" writes the edits to another file." : "");
        break;
    }
    failure_ = status_;
    if (!offersSaveAs) {
        if (unsaved_) status_ += " Unsaved edits: " + std::to_string(unsaved_) + ".";
        return;
    }
    dialog_ = Question::SaveFailed;
}

void ShellLogic::showChanges(ShellChanges changes) {
    page_ = render::ShellPage{std::move(changes.title), std::move(changes.lines), 0};
}

ShellAction ShellLogic::trySave() {
    if (!target_) {
        status_ = howToSave_.empty() ? "Nothing to save to." : "Nothing to save to: " + howToSave_ + ".";
        return ShellAction::None;
    }
    if (mustAsk_) {
        dialog_ = Question::Overwrite;
        return ShellAction::None;
    }
    return save(*target_, false);
}

ShellAction ShellLogic::tryQuit() {
    if (unsaved_ == 0) return ShellAction::Quit;
    dialog_ = Question::Quit;
    return ShellAction::None;
}

ShellAction ShellLogic::save(std::string path, bool force) {
    dialog_.reset();
    field_.reset();
    request_ = SaveRequest{std::move(path), force};
    return ShellAction::Save;
}

ShellAction ShellLogic::commitSaveAs() {
    const std::string &path = field_->text;
    if (path.empty()) {
        status_ = "Type the name of the file to save to, or press Cancel.";
        return ShellAction::None;
    }
    if (fileExists && path != target_ && fileExists(path)) {
        dialog_ = Question::Replace;
        return ShellAction::None;
    }
    return save(path, false);
}

ShellAction ShellLogic::answer(int button) {
    const Question q = *dialog_;
    dialog_.reset();
    switch (q) {
    case Question::Overwrite:
        if (button != 0) {
            status_ = "Not saved.";
            return ShellAction::None;
        }
        mustAsk_ = false;  // asked once per process
        return save(*target_, false);
    case Question::Quit:
        if (button == 0) return ShellAction::Quit;
        status_ = "Still here. Unsaved edits: " + std::to_string(unsaved_) + ".";
        return ShellAction::None;
    case Question::SaveFailed:
        if (button == 0) {
            field_ = TextField(request_.path);
            dialog_ = Question::SaveAs;
            return ShellAction::None;
        }
        if (button == 1) return save(request_.path, true);
        status_ = failure_ + (unsaved_ ? " Unsaved edits: " + std::to_string(unsaved_) + "." : std::string());
        return ShellAction::None;
    case Question::SaveAs:
        if (button == 0) {
            dialog_ = Question::SaveAs;
            return commitSaveAs();
        }
        field_.reset();
        status_ = "Not saved.";
        return ShellAction::None;
    case Question::Replace:
        if (button == 0) return save(field_->text, false);
        dialog_ = Question::SaveAs;  // back to the field, to type another name
        return ShellAction::None;
    }
    return ShellAction::None;
}

ShellAction ShellLogic::pageKey(ShellKey k) {
    const int page = render::shellLayout().pageLines;
    switch (k) {
    case ShellKey::Return:
    case ShellKey::Escape: page_.reset(); break;
    case ShellKey::Up: scrollPage(-1); break;
    case ShellKey::Down: scrollPage(1); break;
    case ShellKey::PageUp: scrollPage(-page); break;
    case ShellKey::PageDown: scrollPage(page); break;
    case ShellKey::Home: page_->firstLine = 0; break;
    case ShellKey::End: scrollPage(static_cast<int>(page_->lines.size())); break;
    default: break;
    }
    return ShellAction::None;
}

void ShellLogic::scrollPage(int lines) {
    const int maxFirst = std::max(0, static_cast<int>(page_->lines.size()) - render::shellLayout().pageLines);
    page_->firstLine = std::clamp(page_->firstLine + lines, 0, maxFirst);
}

render::ShellView ShellLogic::view(const scene::Scene &scene) const {
    render::ShellView v;
    v.title = "Layout (vantorel-host shell)";
    v.rows = render::shellRows(scene);
    const int maxFirst = std::max(0, static_cast<int>(v.rows.size()) - render::shellLayout().visibleRows);
    v.firstRow = std::clamp(firstRow_, 0, maxFirst);
    v.status = status_;
    v.page = page_;
    if (!dialog_) return v;
    render::ShellDialog d;
    switch (*dialog_) {
    case Question::Overwrite:
        d.question = "Save over the scene file\n" + *target_ + " ?";
        d.yes = "Overwrite";
        d.no = "Cancel";
        break;
    case Question::Quit:
        d.question = unsavedWarning() + "\nQuit anyway?";
        d.yes = "Quit";
        d.no = "Stay";
        break;
    case Question::SaveFailed:
        d.question = failure_;
        d.yes = "Save as...";
        if (lastOutcome_ == SaveStatus::ChangedOnDisk) d.middle = "Save anyway";
        d.no = "Cancel";
        break;
    case Question::SaveAs:
        d.question = "Save as (a path from the folder vantorel-host was started in):";
        d.field = field_->text;
        d.caret = static_cast<int>(field_->caret);
        d.yes = "Save";
        d.no = "Cancel";
        break;
    case Question::Replace:
        d.question = field_->text + "\nexists already. Replace it?";
        d.yes = "Replace";
        d.no = "Back";
        break;
    }
    v.dialog = std::move(d);
    return v;
}

}  // namespace session
