// draw.h - the drawing pieces every picture of the simulated Layout is made
// of: its colours, text placed in a box, frames, buttons and fields. The
// panel picture, the window's decoration and the shell all draw with these,
// so that the same control looks the same wherever it appears.
#ifndef VANTOREL_RENDER_DRAW_H
#define VANTOREL_RENDER_DRAW_H

#include <string>

#include "sim/picture.h"
#include "sim/rect.h"

namespace render {

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

// Top of a line of text centred vertically in a box of height h at y.
int textTop(int y, int h);

// Text cut to a width in pixels: whole characters (bytes) only.
std::string fit(const std::string &text, int width);

// A one-pixel frame just inside r: top and left edges in one colour, bottom
// and right in the other (raised: light then shade; sunken: the reverse).
void frame(sim::Picture &pic, const sim::Rect &r, sim::Rgb topLeft, sim::Rgb bottomRight);

// A raised button with its text centred; a pressed one is dark with white text.
void button(sim::Picture &pic, const sim::Rect &r, const std::string &text, bool ghost = false,
            bool pressed = false);

// A sunken field holding text; unfilled, it keeps what is under it.
void field(sim::Picture &pic, const sim::Rect &r, const std::string &text, bool ghost, bool filled = true);

}  // namespace render

#endif
