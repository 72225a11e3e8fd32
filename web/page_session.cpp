// page_session.cpp - the page's scene, runs, saves and questions.
#include "web/page_session.h"

#include <utility>

#include "render/panel_render.h"
#include "scene/name_text.h"
#include "script/reader.h"
#include "script/recording.h"
#include "script/runner.h"
#include "session/scene_source.h"
#include "session/shell_scene.h"
#include "sim/panel_facts.h"

namespace web {

namespace {

// How the page is given a scene file, for what the built-in scene cannot do.
const char *const kHowToOpen = "open a scene file (Open scene\xE2\x80\xA6 or drop a .lws file on the page)";

// The command line's form of a scene file's error: "NAME:LINE: error: ...".
std::string loadErrorText(const scenefile::LoadError &e) {
    if (e.line > 0) return e.file + ":" + std::to_string(e.line) + ": error: " + e.message;
    return e.file + ": error: " + e.message;
}

// What the host says of a scene whose lights the panel cannot all list.
std::string tooManyLights(std::size_t lights) {
    if (lights <= sim::kMaxListedLights) return {};
    return "the scene has " + std::to_string(lights) + " lights; only the first " +
           std::to_string(sim::kMaxListedLights) + " are listed in the panel and can be edited";
}

unsigned channelOf(scenefile::LwsSetting s) {
    switch (s) {
    case scenefile::LwsSetting::Color: return render::kColorChannel;
    case scenefile::LwsSetting::Intensity: return render::kIntensityChannel;
    case scenefile::LwsSetting::Type: return render::kTypeChannel;
    case scenefile::LwsSetting::Falloff: return render::kLimitedChannel;
    case scenefile::LwsSetting::Range: return render::kRangeChannel;
    case scenefile::LwsSetting::Shadow: return render::kShadowChannel;
    }
    return 0;
}

// The commands Layout took since `before`.
std::size_t acceptedSince(const sim::Host &h, std::size_t before) {
    std::size_t applied = 0;
    for (std::size_t i = before; i < h.commandRecords().size(); ++i)
        applied += h.commandRecords()[i].accepted;
    return applied;
}

}  // namespace

// One scene as the page edits it: the file's document (empty for the
// built-in scene), the host holding the scene as it stands now, and the
// shell's logic of saves and unsaved edits.
struct PageSession::Scene {
    session::OpenedScene opened;
    std::optional<std::string> file;
    std::unique_ptr<sim::Host> host;
    std::unique_ptr<session::ShellScene> shell;  // refers to opened.document
    session::ShellLogic logic;

    Scene(session::OpenedScene o, std::optional<std::string> name, scene::Scene lights,
          const sim::PluginLibrary &plugin, session::Store &store)
        : opened(std::move(o)), file(std::move(name)), logic(file, file, kHowToOpen) {
        host = std::make_unique<sim::Host>(std::move(lights));
        host->setLogging(false);  // nothing reads the call log; big scenes run faster without it
        shell = std::make_unique<session::ShellScene>(opened.document, file, file, opened.bytes, &plugin,
                                                      store, false);
        shell->howToOpen = kHowToOpen;
        logic.offersSaveAs = false;  // a download cannot go elsewhere
    }
};

PageSession::PageSession(const sim::PluginLibrary &plugin, session::Store &store)
    : plugin_(plugin), store_(store) {
    scene_ = std::make_unique<Scene>(session::OpenedScene{}, std::nullopt, scene::makeDemoScene(), plugin_,
                                     store_);
    scene_->logic.setStatus("The built-in scene is open. Press vantorel to edit its lights, or " +
                            std::string(kHowToOpen) + ".");
}

PageSession::~PageSession() = default;

std::unique_ptr<PageSession::Scene> PageSession::makeScene(const std::string &name, std::string bytes,
                                                           std::string &error) const {
    session::OpenedScene opened;
    scenefile::LoadError e;
    if (!session::openScene(std::move(bytes), name, true, opened, e)) {
        error = loadErrorText(e);
        return nullptr;
    }
    scene::Scene lights = opened.document.scene();
    return std::make_unique<Scene>(std::move(opened), name, std::move(lights), plugin_, store_);
}

void PageSession::show(std::unique_ptr<Scene> s, std::string status) {
    scene_ = std::move(s);
    pending_.reset();
    question_.clear();
    saveNotes_.clear();
    statusIsError_ = false;
    scene_->logic.setStatus(std::move(status));
}

OpenResult PageSession::refuse(const std::string &name, const std::string &why) {
    scenefile::LoadError e;
    e.file = name;
    e.message = why;
    return refused(loadErrorText(e));
}

OpenResult PageSession::refused(const std::string &error) {
    saveNotes_.clear();
    statusIsError_ = true;
    scene_->logic.setStatus(error + "\n" + (builtIn() ? "The built-in scene" : sceneName()) + " stays open.");
    return OpenResult::Refused;
}

OpenResult PageSession::checkSize(const std::string &name, double size) {
    constexpr std::size_t kMax = scenefile::LwsDocument::kMaxFileBytes;
    if (size <= static_cast<double>(kMax)) return OpenResult::Opened;
    return refuse(name, "file is larger than " + std::to_string(kMax / (std::size_t{1024} * 1024u)) + " MiB");
}

OpenResult PageSession::open(const std::string &name, std::string bytes) {
    if (checkSize(name, static_cast<double>(bytes.size())) == OpenResult::Refused) return OpenResult::Refused;
    std::string error;
    std::unique_ptr<Scene> s = makeScene(name, std::move(bytes), error);
    if (!s) return refused(error);
    const std::size_t n = s->host->scene().lights.size();
    std::string status = "Opened " + name + ": LWSC " + std::to_string(s->opened.document.version()) + ", " +
                         std::to_string(n) + (n == 1 ? " light." : " lights.");
    const std::string many = tooManyLights(n);
    status += many.empty() ? " Press vantorel to edit the lights." : " Note: " + many + ".";
    if (unsavedEdits() > 0) {
        pending_ = std::move(s);
        question_ = unsavedWarning() + " Open " + name + " anyway?";
        pendingStatus_ = std::move(status);
        return OpenResult::Asking;
    }
    show(std::move(s), std::move(status));
    return OpenResult::Opened;
}

void PageSession::answerOpen(bool open) {
    if (!pending_) return;
    if (open) {
        show(std::move(pending_), std::move(pendingStatus_));
        return;
    }
    const std::string name = *pending_->file;
    pending_.reset();
    question_.clear();
    scene_->logic.setStatus(name + " was not opened; " + sceneName() + " stays open with its edits.");
}

// One activation of the plug-in on the scene as it stands, with what the
// command line would print: the commands, and the transcript (the error
// boxes and info texts as they come, the host's warnings, "result: N").
// after(result) runs once "result: N" is in, with the transcript still open.
int PageSession::activate(RunLog &log, const sim::Host::Driver &driver,
                          const std::function<void(int)> &after) {
    Scene &s = *scene_;
    log.number = ++runs_;
    const std::string many = tooManyLights(s.host->scene().lights.size());
    if (!many.empty()) log.transcript.push_back("warning: " + many);
    s.host->observer = [&log](const std::string &kind, const std::string &what) {
        if (kind == "command") log.commands.push_back(what);
        else if (kind == "error") log.transcript.push_back("error: " + what);
        else if (kind == "info") log.transcript.push_back("info: " + what);
        else if (kind == "rejected") log.transcript.push_back("warning: Layout rejected the command " + what);
        else log.transcript.push_back("warning: " + what);
    };
    const int opened = s.host->panelsOpened();
    log.result = s.host->activate(plugin_, driver);
    if (s.host->panelsOpened() != opened) log.outcome = s.host->lastOutcome();
    log.transcript.push_back("result: " + std::to_string(log.result));
    if (after) after(log.result);
    s.host->observer = nullptr;
    return log.result;
}

int PageSession::run(const PanelDriver &driver) {
    Scene &s = *scene_;
    RunLog log;
    sim::Recorder recording;
    const std::size_t before = s.host->commandRecords().size();
    activate(
        log, [&](sim::Host &h) { return driver(h, recording); }, nullptr);
    if (log.outcome) log.recorded = script::recordingLines(recording);
    s.logic.runFinished(log.outcome == sim::Close::Ok, acceptedSince(*s.host, before));
    lastRun_ = log;
    lastByHand_ = std::move(log);
    saveNotes_.clear();
    statusIsError_ = false;
    return lastRun_.result;
}

std::string PageSession::recordingText() const {
    if (lastByHand_.recorded.empty()) return {};
    std::string text = "# recorded in the Vantorel page: run " + std::to_string(lastByHand_.number) + " on " +
                       (builtIn() ? std::string("the built-in scene") : sceneName()) + "\n";
    for (const std::string &l : lastByHand_.recorded) text += l + '\n';
    return text;
}

std::string PageSession::recordingName() const {
    std::string stem = builtIn() ? std::string("built-in") : sceneName();
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.erase(dot);
    return stem + "-session-" + std::to_string(lastByHand_.number) + ".vts";
}

int PageSession::runScript(const std::string &name, const std::string &text) {
    Scene &s = *scene_;
    RunLog log;
    log.script = name;
    saveNotes_.clear();
    statusIsError_ = false;
    script::Script parsed;
    script::ReadError error;
    if (!script::readScript(text, name, parsed, error)) {
        // Nothing runs, as on the command line.
        log.number = ++runs_;
        // The language is described where the command line's is.
        log.transcript.push_back(
            name + ":" + std::to_string(error.line) + ": error: " + error.what +
            (error.unknownAction ? "; see vantorel-host --help for the script language" : ""));
        log.exitStatus = kScriptUnreadable;
        lastRun_ = std::move(log);
        statusIsError_ = true;
        s.logic.setStatus(name + " is not a session script the page can play; the scene is unchanged.");
        return lastRun_.exitStatus;
    }
    script::Runner runner(parsed, [&log, &name](const script::Message &m) {
        if (m.kind == script::Message::Kind::Failure)
            log.transcript.push_back(name + ":" + std::to_string(m.line) + ": error: " + m.text);
        else if (m.line > 0)
            log.transcript.push_back(name + ":" + std::to_string(m.line) + ": warning: " + m.text);
        else log.transcript.push_back("warning: " + m.text);
    });
    std::vector<std::string> pictures;
    runner.snapshot = [this, &pictures](sim::Host &h, const std::string &file, std::string &why) {
        const sim::PanelModel *panel = h.openPanel();
        if (!panel) {
            why = "no panel is open";
            return false;
        }
        // A download under the file's own name: the page has no folders.
        const std::string base = file.substr(file.find_last_of('/') + 1);
        const session::SaveResult r = store_.write(base, render::encodePng(render::drawPanel(*panel)), false);
        if (r.status != session::SaveStatus::Written) {
            why = base + ": the picture could not be handed to the browser";
            return false;
        }
        pictures.push_back(base);
        return true;
    };
    const scene::Scene before = s.host->scene();
    const std::size_t records = s.host->commandRecords().size();
    s.host->namesShownBy = "the table of lights shows them";
    activate(
        log, [&](sim::Host &h) { return runner.drive(h); },
        [&](int result) { runner.finish(*s.host, result); });
    log.exitStatus = runner.failures() ? kScriptStepFailed : kScriptRan;
    std::string status;
    if (runner.failures()) {
        // The command line writes nothing after a failed script; here the scene
        // goes back to what it was, so that no save can write the edits.
        s.host->scene() = before;
        s.logic.runFinished(false, 0);
        statusIsError_ = true;
        status = name + " failed on line " + std::to_string(runner.failedLine()) +
                 "; the scene is as it was before the script.";
    } else {
        s.logic.runFinished(log.outcome == sim::Close::Ok, acceptedSince(*s.host, records));
        status = s.logic.status();
    }
    for (const std::string &p : pictures) status += " Snapshot downloaded: " + p + ".";
    s.logic.setStatus(status);
    lastRun_ = std::move(log);
    return lastRun_.exitStatus;
}

void PageSession::save() {
    Scene &s = *scene_;
    saveNotes_.clear();
    if (s.logic.press(session::ShellButton::Save) != session::ShellAction::Save) {
        statusIsError_ = true;  // nothing to save to: the status says how to get a file
        return;
    }
    const session::SceneSave saved = s.shell->save(s.host->scene(), s.logic.saveRequest());
    for (const std::string &w : saved.warnings) saveNotes_.push_back("warning: " + w);
    for (const std::string &e : saved.errors) saveNotes_.push_back("error: " + e);
    s.logic.saved(saved.result);
    statusIsError_ = saved.result.status != session::SaveStatus::Written;
}

session::ShellChanges PageSession::changes() const {
    return scene_->shell->changes(scene_->host->scene(), 0);
}

bool PageSession::builtIn() const { return !scene_->file.has_value(); }

const std::string &PageSession::sceneName() const {
    static const std::string none;
    return scene_->file ? *scene_->file : none;
}

std::size_t PageSession::lightCount() const { return scene_->host->scene().lights.size(); }

std::vector<render::ShellRow> PageSession::rows() const {
    const scene::Scene &now = scene_->host->scene();
    std::vector<render::ShellRow> rows = render::shellRows(now);
    const scene::NameReading reading(now.lights);
    const scenefile::LwsDocument &doc = scene_->opened.document;
    const bool fromFile = doc.lightCount() == rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].name = reading(rows[i].name);
        if (!scene::isUtf8(rows[i].type)) rows[i].type = scene::cp1252ToUtf8(rows[i].type);
        if (!fromFile) continue;
        for (int k = 0; k < scenefile::kLwsSettingCount; ++k) {
            const auto setting = static_cast<scenefile::LwsSetting>(k);
            if (doc.settingAnimated(i, setting)) rows[i].animated |= channelOf(setting);
        }
    }
    return rows;
}

const std::string &PageSession::status() const { return scene_->logic.status(); }

std::size_t PageSession::unsavedEdits() const { return scene_->logic.unsavedEdits(); }

std::string PageSession::unsavedWarning() const { return scene_->logic.unsavedWarning(); }

bool PageSession::canSave() const { return scene_->logic.saveTarget().has_value(); }

std::string PageSession::saveNote() const {
    if (canSave()) return {};
    return "The built-in scene has no file to save to: " + std::string(kHowToOpen) + ".";
}

}  // namespace web
