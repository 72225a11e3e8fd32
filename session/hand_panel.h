// hand_panel.h - the plug-in's open panel used by hand, for every front end
// that shows it (the SDL window, the browser page): the input mapping, the
// host's own note on the status line, and the frame to present.
//
// A front end feeds what the person does to input() (picture pixels at zoom
// 1, keys as sim/keyboard.h describes them), and after each batch of its
// events presents frame() when takeChanged() says so. What a frame shows is
// render::panelFrame of the open panel with the input's overlay; an empty
// status line carries the host's note after an event that the plug-in's
// panel says nothing about (panel_notes.h).
#ifndef VANTOREL_SESSION_HAND_PANEL_H
#define VANTOREL_SESSION_HAND_PANEL_H

#include <cstddef>
#include <string>

#include "sim/host.h"
#include "sim/panel_input.h"
#include "sim/picture.h"

namespace session {

class HandPanel {
public:
    explicit HandPanel(sim::Host &host);  // host must have an open panel

    sim::PanelInput &input() { return input_; }
    const sim::PanelInput &input() const { return input_; }
    // True once after anything the frame shows changed: the input's overlay,
    // the panel, or the host's note (worked out again after each event that
    // reached the plug-in).
    bool takeChanged();
    sim::Picture frame() const;

private:
    sim::Host &host_;
    const sim::PanelModel &panel_;
    sim::PanelInput input_;
    std::size_t actionsSeen_ = 0;
    std::string note_;
};

}  // namespace session

#endif
