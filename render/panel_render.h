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

#include "draw.h"
#include "sim/host.h"
#include "sim/panel_geometry.h"
#include "sim/picture.h"

namespace render {

// The whole panel, laid out as sim::panelGeometry() says: title, body with
// controls, OK and Cancel. The button of the panel's outcome, once it closed,
// is drawn pressed.
sim::Picture drawPanel(const sim::PanelModel &panel);

// PNG file bytes for a picture (8-bit RGB). Empty if the picture is empty.
std::string encodePng(const sim::Picture &picture);

}  // namespace render

#endif
