// draw.cpp - colours, text placement, frames, buttons and fields.
#include "draw.h"

#include <algorithm>

#include "sim/font.h"
#include "sim/panel_geometry.h"

namespace render {

int textTop(int y, int h) { return y + (h - sim::font::kCellHeight) / 2 + 1; }

std::string fit(const std::string &text, int width) {
    const size_t chars = static_cast<size_t>(std::max(0, width / sim::font::kAdvance));
    return text.size() <= chars ? text : text.substr(0, chars);
}

void frame(sim::Picture &pic, const sim::Rect &r, sim::Rgb topLeft, sim::Rgb bottomRight) {
    pic.fillBox(r.x, r.y, r.w, 1, topLeft);
    pic.fillBox(r.x, r.y, 1, r.h, topLeft);
    pic.fillBox(r.x, r.y + r.h - 1, r.w, 1, bottomRight);
    pic.fillBox(r.x + r.w - 1, r.y, 1, r.h, bottomRight);
}

void button(sim::Picture &pic, const sim::Rect &r, const std::string &text, bool ghost, bool pressed) {
    pic.fillBox(r.x, r.y, r.w, r.h, pressed ? (ghost ? kGhostShade : kPressedFill) : kButtonFill);
    if (pressed) frame(pic, r, kShade, kLight);
    else frame(pic, r, kLight, ghost ? kGhostShade : kShade);
    const std::string t = fit(text, r.w - 4);
    const int tx = r.x + (r.w - sim::font::textWidth(t)) / 2;
    pic.drawText(tx, textTop(r.y, r.h), t, pressed ? kTitleInk : ghost ? kGhostInk : kInk);
}

void field(sim::Picture &pic, const sim::Rect &r, const std::string &text, bool ghost, bool filled) {
    if (filled) pic.fillBox(r.x, r.y, r.w, r.h, ghost ? kGhostFieldFill : kFieldFill);
    frame(pic, r, ghost ? kGhostShade : kShade, kLight);
    pic.drawText(r.x + sim::kFieldTextInset, textTop(r.y, r.h), fit(text, r.w - 6), ghost ? kGhostInk : kInk);
}

}  // namespace render
