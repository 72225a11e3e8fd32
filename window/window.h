// window.h - the simulated Layout in a real window (SDL2): the plug-in's modal
// panel driven by mouse and keyboard, and the shell that runs it again and
// again. Built only when SDL2 is found (VANTOREL_HAVE_WINDOW).
//
// The window is one more consumer of render::drawPanel(): its client area is
// that picture scaled by an integer zoom, panel at the top left, with the
// window-only decoration (caret, held button) over it and a status line below
// it. Input goes through sim::PanelInput, which maps points and keys onto the
// host's driver events, so a session by hand and a session script take the
// same paths. The loop waits for events (no polling) and repaints only after
// something visible changed.
#ifndef VANTOREL_WINDOW_WINDOW_H
#define VANTOREL_WINDOW_WINDOW_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/shell_logic.h"
#include "sim/host.h"
#include "sim/loader.h"
#include "sim/recorder.h"

namespace window {

// The shell's logic lives in session/, shared with other front ends.
using session::SaveRequest;
using session::ShellAction;
using session::ShellChanges;
using session::ShellKey;
using session::ShellLogic;

constexpr int kMaxZoom = 4;

struct Settings {
    int zoom = 0;  // 1..kMaxZoom; 0: the largest zoom at which the window fits the screen
    // Called after each presented frame with the window's SDL id (for the benchmark).
    std::function<void(unsigned windowId)> presented;
};

// Opens the display. Returns false with a sentence in error when there is none.
// log, when given, receives every message SDL logs (one line each, without
// a line end) instead of SDL's own output on stderr.
bool start(std::string &error, std::function<void(const std::string &line)> log = {});
// Closes the display again.
void stop();

// The driver of one modal panel (pass it to Host::activate): a window showing
// h's open panel until OK or Cancel. recorded, when given, receives what was
// done, ending with ok or cancel (script/recording.h writes it as a script).
sim::Close runPanel(sim::Host &h, const Settings &settings, sim::Recorder *recorded = nullptr);

struct ShellSettings {
    Settings window;
    std::optional<std::string> saveTo;     // --save
    std::optional<std::string> sceneFile;  // --scene
    std::string howToSave;                 // how to give a file to save to, when there is none
    // Writes the scene as asked; the result goes to the shell's logic, which
    // says how it went and what to do when it did not.
    std::function<session::SaveResult(const SaveRequest &request)> save;
    // What Save would write now ("Show changes").
    std::function<ShellChanges()> changes;
    // After each run of the plug-in, with the activation's result.
    std::function<void(int result)> runFinished;
};

// The shell window: the scene's lights as a table, and buttons that run the
// plug-in (as often as wanted, on the same host and loaded library), save,
// show what a save would change, and quit. Returns when the person quits.
void runShell(sim::Host &host, const sim::PluginLibrary &lib, const ShellSettings &settings);

}  // namespace window

#endif
