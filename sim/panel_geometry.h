// panel_geometry.h - where everything of an open panel lands in its picture.
//
// One definition of the panel picture's layout, used by the picture itself
// (render::drawPanel) and by the input mapping that turns a pointer position
// into a control (PanelInput). All coordinates are picture pixels at zoom 1,
// origin at the picture's top left:
//
//   +--------------------------------------------+  title bar, kTitleHeight high
//   | title                                      |
//   +--------------------------------------------+  bodyY
//   |bodyX                                       |
//   |  label [field]  ...  the panel body: the   |  the host's panel picture,
//   |  controls at their placed positions        |  controls drawn over it
//   +--------------------------------------------+
//   |                          [  OK  ] [Cancel] |  button row, kButtonRow high
//   +--------------------------------------------+
#ifndef VANTOREL_SIM_PANEL_GEOMETRY_H
#define VANTOREL_SIM_PANEL_GEOMETRY_H

#include <string>
#include <vector>

#include "host.h"
#include "panel_facts.h"
#include "rect.h"

namespace sim {

constexpr int kTitleHeight = 16;    // title bar above the panel body
constexpr int kButtonRow = 28;      // row with OK and Cancel below it
constexpr int kOkCancelWidth = 56;  // each of the two buttons
constexpr int kOkCancelHeight = 18;
constexpr int kSwatchWidth = 18;         // colour swatch in front of the three numbers
constexpr int kSliderKnob = 12;          // height of a slider's knob (at most the slider's)
constexpr int kFieldTextInset = 4;       // from a field's left edge to its text's first cell
constexpr int kListRow = kListRowPitch;  // one row of the list: what a wheel notch scrolls

struct ControlGeometry {
    const ControlModel *control = nullptr;
    Rect field;               // the control's body (its hot rectangle)
    Rect label;               // the label in front of it; zero width if it has none
    std::vector<Rect> items;  // choice items left to right; a colour control's
                              // red, green and blue number fields
};

struct PanelGeometry {
    int width = 0, height = 0;              // the whole picture drawPanel makes
    int bodyX = 0, bodyY = 0;               // panel (0, 0) in picture pixels
    Rect ok, cancel;                        // OK and Cancel buttons
    std::vector<ControlGeometry> controls;  // in the panel's control order
};

// The body's left edge: as far right as a label reaches left of the panel's
// edge (a control placed by its field's left edge can put part of its label
// there, up to 64 pixels), plus a little room so that the label clears the
// picture's frame; 0 when no label reaches out.
int panelBodyX(const PanelModel &panel);

PanelGeometry panelGeometry(const PanelModel &panel);

// A vertical slider's range: its descriptor's minimum and maximum, or 0..100
// without a range descriptor.
int sliderMin(const ControlModel &slider);
int sliderMax(const ControlModel &slider);
// The knob of a slider whose body is at field, for the slider's current value.
Rect sliderKnob(const ControlModel &slider, const Rect &field);
// The value that puts the knob's middle as near as can be to picture row py;
// held inside the slider's range.
int sliderValueAt(const ControlModel &slider, const Rect &field, int py);

// A value as the panel shows it in a float field: up to three decimals,
// trailing zeros dropped but one kept ("100.0", "2.5", "0.125"); from 1e9 on
// in exponent form ("1e+12").
std::string fieldNumberText(double v);

}  // namespace sim

#endif
