// hand_panel.cpp - the open panel used by hand: input, note and frames.
#include "session/hand_panel.h"

#include <utility>
#include <vector>

#include "render/window_render.h"
#include "session/panel_notes.h"

namespace session {

HandPanel::HandPanel(sim::Host &host) : host_(host), panel_(*host.openPanel()), input_(host) {}

bool HandPanel::takeChanged() {
    bool changed = input_.takeChanged();
    const std::vector<sim::Action> &sent = input_.recording().actions();
    if (sent.size() != actionsSeen_) {
        // An event reached the plug-in: the last note is out of date.
        actionsSeen_ = sent.size();
        std::string now =
            sent.back().kind == sim::ActionKind::Range ? rangeNotSentNote(host_) : std::string();
        changed = changed || now != note_;
        note_ = std::move(now);
    }
    return changed;
}

sim::Picture HandPanel::frame() const {
    sim::Overlay o = input_.overlay();
    if (o.status.empty()) o.status = note_;
    return render::panelFrame(panel_, o);
}

}  // namespace session
