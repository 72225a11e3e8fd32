// window.cpp - SDL2 windows for the simulated Layout: presenting pictures at
// an integer zoom, and turning SDL events into sim::PanelInput and
// ShellLogic calls. Everything that decides what an event means lives in
// those two; this file only translates and presents.
#include "window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

#include "render/window_render.h"
#include "session/hand_panel.h"
#include "session/shell_logic.h"
#include "sim/panel_input.h"
#include "view.h"
#include "x_errors.h"

namespace window {

namespace {

// SDL's key to sim's named keys.
std::optional<sim::Key> panelKey(SDL_Keycode k) {
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return static_cast<sim::Key>(static_cast<int>(sim::Key::F1) + (k - SDLK_F1));
    switch (k) {
    case SDLK_BACKSPACE: return sim::Key::Backspace;
    case SDLK_DELETE: return sim::Key::Delete;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return sim::Key::Return;
    case SDLK_TAB: return sim::Key::Tab;
    case SDLK_ESCAPE: return sim::Key::Escape;
    case SDLK_LEFT: return sim::Key::Left;
    case SDLK_RIGHT: return sim::Key::Right;
    case SDLK_UP: return sim::Key::Up;
    case SDLK_DOWN: return sim::Key::Down;
    case SDLK_HOME: return sim::Key::Home;
    case SDLK_END: return sim::Key::End;
    case SDLK_PAGEUP: return sim::Key::PageUp;
    case SDLK_PAGEDOWN: return sim::Key::PageDown;
    case SDLK_INSERT: return sim::Key::Insert;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return sim::Key::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return sim::Key::Ctrl;
    case SDLK_LALT:
    case SDLK_RALT: return sim::Key::Alt;
    default: return std::nullopt;
    }
}

// A key going down as sim sees it: named, a key with a printable ASCII
// character, or another; sim::keyDown decides what it stands for.
sim::KeyPress keyOf(const SDL_Keysym &sym) {
    sim::KeyPress k;
    k.shift = (sym.mod & KMOD_SHIFT) != 0;
    k.ctrl = (sym.mod & KMOD_CTRL) != 0;
    k.alt = (sym.mod & KMOD_ALT) != 0;
    if (std::optional<sim::Key> key = panelKey(sym.sym)) {
        k.key = *key;
    } else if (sym.sym >= 32 && sym.sym < 127) {
        k.key = sim::Key::Char;
        k.ch = static_cast<uint32_t>(sym.sym);
    } else {
        k.key = sim::Key::Other;
    }
    return k;
}

// Wheel notches, positive away from the user, whichever way the system scrolls.
int notches(const SDL_MouseWheelEvent &w) { return w.direction == SDL_MOUSEWHEEL_FLIPPED ? -w.y : w.y; }

// Feeds one SDL event of the panel's window to the input mapping. Returns
// true when the window must be repainted although nothing changed (expose).
bool feedPanel(sim::PanelInput &in, const SDL_Event &e, const View &view) {
    const int z = view.zoom();
    switch (e.type) {
    case SDL_QUIT: in.requestClose(); return false;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != view.id()) return false;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) in.requestClose();
        return e.window.event == SDL_WINDOWEVENT_EXPOSED;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.windowID != view.id() || e.button.button != SDL_BUTTON_LEFT) return false;
        if (e.type == SDL_MOUSEBUTTONDOWN) in.pointerDown(e.button.x / z, e.button.y / z);
        else in.pointerUp(e.button.x / z, e.button.y / z);
        return false;
    case SDL_MOUSEMOTION:
        if (e.motion.windowID == view.id()) in.pointerMove(e.motion.x / z, e.motion.y / z);
        return false;
    case SDL_MOUSEWHEEL: {
        if (e.wheel.windowID != view.id() || e.wheel.y == 0) return false;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        in.wheel(x / z, y / z, notches(e.wheel));
        return false;
    }
    case SDL_TEXTINPUT:
        if (e.text.windowID == view.id() || e.text.windowID == 0) in.typed(e.text.text);
        return false;
    case SDL_KEYDOWN:
        if (e.key.windowID == view.id() || e.key.windowID == 0) in.keyDown(keyOf(e.key.keysym));
        return false;
    default: return false;
    }
}

sim::Close panelLoop(sim::Host &h, const Settings &settings, sim::Recorder *recorded, View *behind) {
    session::HandPanel panel(h);
    sim::PanelInput &in = panel.input();
    sim::Picture first = panel.frame();
    const int zoom = chooseZoom(settings.zoom, first.width(), first.height());
    View view(h.openPanel()->title, first, zoom, settings);
    if (!view.ok()) {
        in.requestClose();
        if (recorded) *recorded = in.recording();
        return in.outcome();
    }
    SDL_StartTextInput();
    SDL_Event e;
    while (!in.finished()) {
        if (!SDL_WaitEvent(&e)) {
            in.requestClose();
            break;
        }
        bool expose = false;
        do {
            if (behind && e.type == SDL_WINDOWEVENT && e.window.windowID == behind->id()) {
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED) behind->refresh();
                continue;  // the panel is modal: the shell window waits
            }
            expose = feedPanel(in, e, view) || expose;
        } while (!in.finished() && SDL_PollEvent(&e));
        if (in.finished()) break;
        if (panel.takeChanged()) view.show(panel.frame());
        else if (expose) view.refresh();
    }
    if (recorded) *recorded = in.recording();
    return in.outcome();
}

std::optional<ShellKey> shellKey(SDL_Keycode k) {
    switch (k) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return ShellKey::Return;
    case SDLK_ESCAPE: return ShellKey::Escape;
    case SDLK_UP: return ShellKey::Up;
    case SDLK_DOWN: return ShellKey::Down;
    case SDLK_PAGEUP: return ShellKey::PageUp;
    case SDLK_PAGEDOWN: return ShellKey::PageDown;
    case SDLK_HOME: return ShellKey::Home;
    case SDLK_END: return ShellKey::End;
    case SDLK_LEFT: return ShellKey::Left;
    case SDLK_RIGHT: return ShellKey::Right;
    case SDLK_BACKSPACE: return ShellKey::Backspace;
    case SDLK_DELETE: return ShellKey::Delete;
    default: return std::nullopt;
    }
}

// What the shell's events since the last frame ask of its window.
struct ShellFrame {
    bool repaint = false, expose = false, quit = false;
};

// The shell window between its events: each event handed to its logic, and
// the action the logic returns carried out.
struct Shell {
    sim::Host &host;
    const sim::PluginLibrary &lib;
    const ShellSettings &s;
    ShellLogic &logic;
    View &view;

    void feed(const SDL_Event &e, ShellFrame &f);
    // Carries out an action; true when the person quits.
    bool carryOut(ShellAction a);
    void runPlugin();
    void save();
    void showChanges();
    // The action an event asked for, carried out; the logic's view may have changed.
    void act(ShellAction a, ShellFrame &f) {
        f.quit = carryOut(a) || f.quit;
        f.repaint = true;
    }
    bool ours(Uint32 windowId) const { return windowId == view.id() || windowId == 0; }
};

void Shell::feed(const SDL_Event &e, ShellFrame &f) {
    const size_t rows = host.scene().lights.size();
    switch (e.type) {
    case SDL_QUIT: act(logic.closeRequested(), f); break;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != view.id()) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) act(logic.closeRequested(), f);
        f.expose = f.expose || e.window.event == SDL_WINDOWEVENT_EXPOSED;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.windowID == view.id() && e.button.button == SDL_BUTTON_LEFT)
            act(logic.click(e.button.x / view.zoom(), e.button.y / view.zoom()), f);
        break;
    case SDL_MOUSEWHEEL:
        if (e.wheel.windowID != view.id() || e.wheel.y == 0) break;
        logic.wheel(notches(e.wheel), rows);
        f.repaint = true;
        break;
    case SDL_KEYDOWN:
        if (!ours(e.key.windowID)) break;
        if (std::optional<ShellKey> k = shellKey(e.key.keysym.sym)) act(logic.key(*k, rows), f);
        break;
    case SDL_TEXTINPUT:
        if (!ours(e.text.windowID) || !logic.typing()) break;
        logic.text(e.text.text);
        f.repaint = true;
        break;
    default: break;
    }
}

bool Shell::carryOut(ShellAction a) {
    switch (a) {
    case ShellAction::RunPlugin: runPlugin(); break;
    case ShellAction::Save: save(); break;
    case ShellAction::ShowChanges: showChanges(); break;
    case ShellAction::None:
    case ShellAction::Quit: break;
    }
    return a == ShellAction::Quit;
}

void Shell::runPlugin() {
    const size_t before = host.commandRecords().size();
    const int result =
        host.activate(lib, [&](sim::Host &h) { return panelLoop(h, s.window, nullptr, &view); });
    size_t applied = 0;
    for (size_t i = before; i < host.commandRecords().size(); ++i)
        applied += host.commandRecords()[i].accepted;
    logic.runFinished(host.lastOutcome() == sim::Close::Ok, applied);
    if (s.runFinished) s.runFinished(result);
}

void Shell::save() {
    const SaveRequest &r = logic.saveRequest();
    logic.saved(s.save ? s.save(r) : session::saveFailure(r.path, "saving", "This shell cannot save."));
}

void Shell::showChanges() {
    ShellChanges changes;
    if (s.changes) changes = s.changes();
    else changes.lines = {"This shell cannot show changes."};
    logic.showChanges(std::move(changes));
}

}  // namespace

namespace {
std::function<void(const std::string &)> g_log;
void logThrough(void *, int, SDL_LogPriority, const char *message) {
    if (g_log) g_log(message ? message : "");
}
}  // namespace

bool start(std::string &error, std::function<void(const std::string &line)> log) {
    if (log) {
        g_log = std::move(log);
        SDL_LogSetOutputFunction(logThrough, nullptr);
    }
    // Ctrl-C in the terminal ends the process as it always does.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    tolerateMessagesToGoneWindows();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot open a window: ") + SDL_GetError() +
                "; run it on a desktop, or under xvfb-run for a virtual display";
        return false;
    }
    // Without a desktop SDL may fall back to a video driver that shows nothing.
    const char *driver = SDL_GetCurrentVideoDriver();
    if (!driver || !std::strcmp(driver, "dummy") || !std::strcmp(driver, "offscreen") ||
        !std::strcmp(driver, "evdev") || !std::strcmp(driver, "KMSDRM")) {
        error = std::string("cannot open a window: no desktop display (SDL video driver '") +
                (driver ? driver : "none") +
                "'); run it on a desktop, or under xvfb-run for a virtual display";
        SDL_Quit();
        return false;
    }
    return true;
}

void stop() { SDL_Quit(); }

sim::Close runPanel(sim::Host &h, const Settings &settings, sim::Recorder *recorded) {
    return panelLoop(h, settings, recorded, nullptr);
}

void runShell(sim::Host &host, const sim::PluginLibrary &lib, const ShellSettings &s) {
    ShellLogic logic(s.saveTo, s.sceneFile, s.howToSave);
    logic.fileExists = [](const std::string &path) {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    };
    sim::Picture first = render::drawShell(logic.view(host.scene()));
    View view("Layout - vantorel-host shell", first, chooseZoom(s.window.zoom, first.width(), first.height()),
              s.window);
    if (!view.ok()) return;
    SDL_StartTextInput();  // typed names for "Save as..."
    Shell shell{host, lib, s, logic, view};
    SDL_Event e;
    for (;;) {
        if (!SDL_WaitEvent(&e)) return;
        ShellFrame f;
        do {
            shell.feed(e, f);
        } while (!f.quit && SDL_PollEvent(&e));
        if (f.quit) return;
        if (f.repaint) view.show(render::drawShell(logic.view(host.scene())));
        else if (f.expose) view.refresh();
    }
}

}  // namespace window
