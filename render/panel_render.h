// panel_render.h - pictures of the simulated Layout's panel.
//
// drawPanel() turns a panel as the simulated host holds it into the picture a
// user would see: a title bar with the panel's title, the panel body with
// every control drawn at its placed position (label before it, current value
// in it, dimmed when the plug-in drew it ghosted) and a row with OK and Cancel
// below. The host's panel picture is the body's background, so whatever the
// plug-in blitted there (the light list) appears exactly as painted; area
// controls get a frame around them and nothing drawn inside.
//
// Everything is drawn with the 5 x 7 panel font at scale 1, in fixed colours,
// so the same panel always gives the same pixels. encodePng() adds no time
// stamps or other varying data, so the same pixels give the same bytes.
#ifndef VANTOREL_RENDER_PANEL_RENDER_H
#define VANTOREL_RENDER_PANEL_RENDER_H

#include <string>

#include "sim/host.h"
#include "sim/panel_geometry.h"
#include "sim/picture.h"

namespace render {

// The picture's layout is sim::panelGeometry(); these are its sizes.
constexpr int kTitleHeight = sim::kTitleHeight;      // title bar above the panel body
constexpr int kButtonRow = sim::kButtonRow;          // row with OK and Cancel below it
constexpr int kOkCancelWidth = sim::kOkCancelWidth;  // each of the two buttons
constexpr int kOkCancelHeight = sim::kOkCancelHeight;

constexpr sim::Rgb kInk{0, 0, 0};
constexpr sim::Rgb kGhostInk{128, 128, 128};
constexpr sim::Rgb kTitleBar{64, 72, 96};
constexpr sim::Rgb kTitleInk{255, 255, 255};
constexpr sim::Rgb kFieldFill{236, 236, 236};
constexpr sim::Rgb kGhostFieldFill{190, 190, 190};
constexpr sim::Rgb kButtonFill{200, 200, 200};
constexpr sim::Rgb kLight{248, 248, 248};
constexpr sim::Rgb kShade{96, 96, 96};
constexpr sim::Rgb kGhostShade{150, 150, 150};
constexpr sim::Rgb kPressedFill{80, 96, 136};  // chosen choice item, slider knob

// Where the panel's (0, 0) lands in the picture: below the title bar, and to
// the right by as much as a label reaches left of the panel's edge (a control
// placed by its field's left edge can put part of its label there), plus a
// little room so that the label clears the picture's frame. The same as
// sim::panelGeometry()'s bodyX and bodyY.
struct Origin {
    int x = 0, y = kTitleHeight;
};
Origin bodyOrigin(const sim::PanelModel &panel);

// The whole panel: title, body with controls, OK and Cancel. The button of the
// panel's outcome, once it closed, is drawn pressed.
sim::Picture drawPanel(const sim::PanelModel &panel);

// A value as the panel shows it in a float field (sim::fieldNumberText): up
// to three decimals, trailing zeros dropped but one kept ("100.0", "2.5",
// "0.125"); from 1e9 on in exponent form ("1e+12").
std::string formatFieldNumber(double v);

// PNG file bytes for a picture (8-bit RGB). Empty if the picture is empty.
std::string encodePng(const sim::Picture &picture);

}  // namespace render

#endif
