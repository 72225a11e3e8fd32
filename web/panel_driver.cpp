// panel_driver.cpp - the page's events fed to the open panel, frames out.
#include "web/panel_driver.h"

#include "session/hand_panel.h"

namespace web {

namespace {

void feed(sim::PanelInput &in, WheelNotches &wheel, const BrowserEvent &e) {
    switch (e.kind) {
    case BrowserEvent::Kind::PointerDown: in.pointerDown(e.x, e.y); break;
    case BrowserEvent::Kind::PointerMove: in.pointerMove(e.x, e.y); break;
    case BrowserEvent::Kind::PointerUp: in.pointerUp(e.x, e.y); break;
    // Released nowhere: a held button does not act, a drag ends.
    case BrowserEvent::Kind::PointerCancel: in.pointerUp(-1, -1); break;
    case BrowserEvent::Kind::Wheel:
        if (const int n = wheel.add(e.deltaY, e.deltaMode)) in.wheel(e.x, e.y, n);
        break;
    case BrowserEvent::Kind::KeyDown: {
        const KeyInput k = keyInput(e.key);
        in.keyDown(k.down);
        if (!k.text.empty() && !in.finished()) in.typed(k.text);
        break;
    }
    case BrowserEvent::Kind::Close: in.requestClose(); break;
    }
}

}  // namespace

sim::Close runPanel(sim::Host &h, EventSource &events, Presenter &presenter, sim::Recorder *recorded) {
    session::HandPanel panel(h);
    sim::PanelInput &in = panel.input();
    const std::string title = h.openPanel()->title;
    WheelNotches wheel;
    while (!in.finished()) {
        if (panel.takeChanged()) presenter.present(panel.frame(), title);
        events.wait();
        while (!in.finished()) {
            const std::optional<BrowserEvent> e = events.take();
            if (!e) break;
            feed(in, wheel, *e);
        }
    }
    if (recorded) *recorded = in.recording();
    return in.outcome();
}

}  // namespace web
