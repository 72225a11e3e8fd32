// panel_render.cpp - drawing the panel and encoding it as PNG.
#include "panel_render.h"

#include <algorithm>

#include "sim/font.h"

namespace render {

namespace {

using sim::Picture;
using sim::Rgb;

void drawControl(Picture &pic, const sim::ControlGeometry &g) {
    const sim::ControlModel &c = *g.control;
    const bool ghost = c.drawState == DR_GHOST;
    const Rgb ink = ghost ? kGhostInk : kInk;
    const std::string &t = c.typeName;
    const int x = g.field.x, y = g.field.y, w = g.field.w, h = g.field.h;
    if (c.labelWidth > 0) pic.drawText(g.label.x, textTop(y, std::min(h, 20)), c.label, ink);

    if (t == "FloatControl") {
        field(pic, g.field, sim::fieldNumberText(c.floatValue), ghost);
    } else if (t == "InfoControl") {
        field(pic, g.field, c.text, ghost, false);
    } else if (t == "MiniRGBControl") {
        // Swatch, then the three numbers.
        Rgb swatch{static_cast<uint8_t>(std::clamp(c.vec[0], 0, 255)),
                   static_cast<uint8_t>(std::clamp(c.vec[1], 0, 255)),
                   static_cast<uint8_t>(std::clamp(c.vec[2], 0, 255))};
        if (ghost)
            swatch = Rgb{static_cast<uint8_t>((swatch.r + 2 * 190) / 3),
                         static_cast<uint8_t>((swatch.g + 2 * 190) / 3),
                         static_cast<uint8_t>((swatch.b + 2 * 190) / 3)};
        pic.fillBox(x, y, sim::kSwatchWidth, h, swatch);
        frame(pic, {x, y, sim::kSwatchWidth, h}, ghost ? kGhostShade : kShade, kLight);
        for (size_t i = 0; i < g.items.size(); ++i) field(pic, g.items[i], std::to_string(c.vec[i]), ghost);
    } else if (t == "DragButtonControl") {
        button(pic, g.field, "", ghost, false);
        // A left and a right arrow head: drag sideways.
        const int cx = x + w / 2, cy = y + h / 2;
        for (int i = 0; i < 3; ++i) {
            pic.fillBox(cx - 5 + i, cy - i, 1, 2 * i + 1, ink);
            pic.fillBox(cx + 4 - i, cy - i, 1, 2 * i + 1, ink);
        }
    } else if (t == "ChoiceControl") {
        for (size_t i = 0; i < g.items.size(); ++i)
            button(pic, g.items[i], c.items[i], ghost, static_cast<intptr_t>(i) == c.intValue);
        if (c.items.empty()) field(pic, g.field, std::to_string(c.intValue), ghost);
    } else if (t == "ButtonControl") {
        button(pic, g.field, c.label, ghost, false);
    } else if (t == "AreaControl") {
        // The plug-in paints inside; only a frame around it.
        frame(pic, {x - 1, y - 1, w + 2, h + 2}, kShade, kLight);
    } else if (t == "VSlideControl") {
        pic.fillBox(x, y, w, h, ghost ? kGhostFieldFill : kFieldFill);
        frame(pic, g.field, ghost ? kGhostShade : kShade, kLight);
        const sim::Rect k = sim::sliderKnob(c, g.field);
        pic.fillBox(k.x, k.y, k.w, k.h, ghost ? kGhostShade : kPressedFill);
        frame(pic, k, kLight, kShade);
    } else {
        // An EditControl, and any other control: its text in a field.
        field(pic, g.field, c.text, ghost);
    }
}

}  // namespace

Picture drawPanel(const sim::PanelModel &panel) {
    const Picture &body = panel.picture;
    const sim::PanelGeometry g = sim::panelGeometry(panel);
    Picture pic(g.width, g.height, sim::kPanelBackground);

    pic.fillBox(0, 0, g.width, sim::kTitleHeight, kTitleBar);
    pic.drawText(8, textTop(0, sim::kTitleHeight), panel.title, kTitleInk);

    pic.copyFrom(body, 0, 0, g.bodyX, g.bodyY, body.width(), body.height());
    for (const sim::ControlGeometry &c : g.controls) drawControl(pic, c);

    pic.fillBox(0, sim::kTitleHeight + body.height(), g.width, 1, kShade);
    button(pic, g.ok, "OK", false, panel.outcome && *panel.outcome == sim::Close::Ok);
    button(pic, g.cancel, "Cancel", false, panel.outcome && *panel.outcome == sim::Close::Cancel);
    frame(pic, {0, 0, g.width, g.height}, kShade, kShade);
    return pic;
}

}  // namespace render
