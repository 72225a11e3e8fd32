// panel_driver.h - the plug-in's modal panel in a browser page: the host's
// driver that waits for the page's events, hands them to the panel used by
// hand (session::HandPanel) and presents its frames, until OK or Cancel.
//
// The waiting is the event source's: in the page it suspends the whole
// WebAssembly call stack (the plug-in's open included) until the page's
// event handlers have queued something, so the page never blocks; in a test
// it hands over batches of events one by one.
#ifndef VANTOREL_WEB_PANEL_DRIVER_H
#define VANTOREL_WEB_PANEL_DRIVER_H

#include <optional>
#include <string>
#include <vector>

#include "sim/host.h"
#include "sim/picture.h"
#include "sim/recorder.h"
#include "web/browser_input.h"

namespace web {

// One event of the page, in the panel's picture pixels (zoom 1).
struct BrowserEvent {
    // The numbers are the page's (page.js) too.
    enum class Kind {
        PointerDown = 1,    // primary button, pen or finger down
        PointerMove = 2,    // with or without a button held
        PointerUp = 3,      // released
        PointerCancel = 4,  // the browser took the pointer: a release that acts on nothing
        Wheel = 5,          // deltaY and deltaMode
        KeyDown = 6,        // key
        Close = 7,          // the page asks the panel to close (as a window's close button: Cancel)
    };
    Kind kind = Kind::PointerMove;
    int x = 0, y = 0;
    double deltaY = 0;
    int deltaMode = 0;
    BrowserKey key;
};

class EventSource {
public:
    virtual ~EventSource() = default;
    // Returns once an event may be waiting.
    virtual void wait() = 0;
    // The next queued event, or none when the queue is empty; never waits.
    virtual std::optional<BrowserEvent> take() = 0;
};

class Presenter {
public:
    virtual ~Presenter() = default;
    // Shows a frame of the open panel (render::panelFrame); title: the panel's.
    virtual void present(const sim::Picture &frame, const std::string &title) = 0;
};

// The driver of one modal panel: presents the first frame, then feeds
// batches of events and presents a frame after each batch that changed
// something, until OK or Cancel. recorded, when given, receives the session
// as the actions that replay it.
sim::Close runPanel(sim::Host &h, EventSource &events, Presenter &presenter,
                    sim::Recorder *recorded = nullptr);

}  // namespace web

#endif
