// panel_render.cpp - drawing the panel and encoding it as PNG.
#include "panel_render.h"

#include <algorithm>

#include "sim/font.h"

namespace render {

namespace {

using sim::Picture;
using sim::Rgb;

// Text clipped to a width in pixels: whole characters only.
std::string fitText(const std::string &text, int width) {
    int chars = std::max(0, width / sim::font::kAdvance);
    return static_cast<int>(text.size()) <= chars ? text : text.substr(0, static_cast<size_t>(chars));
}

// Top of a line of text centred vertically in a box of height h at y.
int textTop(int y, int h) { return y + (h - sim::font::kCellHeight) / 2 + 1; }

void frame(Picture &pic, int x, int y, int w, int h, Rgb topLeft, Rgb bottomRight) {
    pic.fillBox(x, y, w, 1, topLeft);
    pic.fillBox(x, y, 1, h, topLeft);
    pic.fillBox(x, y + h - 1, w, 1, bottomRight);
    pic.fillBox(x + w - 1, y, 1, h, bottomRight);
}

// A sunken field holding text.
void field(Picture &pic, int x, int y, int w, int h, const std::string &text, bool ghost,
           bool filled = true) {
    if (filled) pic.fillBox(x, y, w, h, ghost ? kGhostFieldFill : kFieldFill);
    frame(pic, x, y, w, h, ghost ? kGhostShade : kShade, kLight);
    pic.drawText(x + sim::kFieldTextInset, textTop(y, h), fitText(text, w - 6), ghost ? kGhostInk : kInk);
}

// A raised button with its text centred; pressed buttons are dark with white text.
void button(Picture &pic, int x, int y, int w, int h, const std::string &text, bool ghost, bool pressed) {
    pic.fillBox(x, y, w, h, pressed ? (ghost ? kGhostShade : kPressedFill) : kButtonFill);
    if (pressed) frame(pic, x, y, w, h, kShade, kLight);
    else frame(pic, x, y, w, h, kLight, ghost ? kGhostShade : kShade);
    std::string t = fitText(text, w - 4);
    int tx = x + (w - sim::font::textWidth(t)) / 2;
    pic.drawText(tx, textTop(y, h), t, pressed ? kTitleInk : ghost ? kGhostInk : kInk);
}

void drawControl(Picture &pic, const sim::ControlGeometry &g) {
    const sim::ControlModel &c = *g.control;
    const bool ghost = c.drawState == DR_GHOST;
    const Rgb ink = ghost ? kGhostInk : kInk;
    const std::string &t = c.typeName;
    const int x = g.field.x, y = g.field.y, w = g.field.w, h = g.field.h;
    if (c.labelWidth > 0) pic.drawText(g.label.x, textTop(y, std::min(h, 20)), c.label, ink);

    if (t == "FloatControl") {
        field(pic, x, y, w, h, sim::fieldNumberText(c.floatValue), ghost);
    } else if (t == "InfoControl") {
        field(pic, x, y, w, h, c.text, ghost, false);
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
        frame(pic, x, y, sim::kSwatchWidth, h, ghost ? kGhostShade : kShade, kLight);
        for (size_t i = 0; i < g.items.size(); ++i) {
            const sim::Rect &n = g.items[i];
            field(pic, n.x, n.y, n.w, n.h, std::to_string(c.vec[i]), ghost);
        }
    } else if (t == "DragButtonControl") {
        button(pic, x, y, w, h, "", ghost, false);
        // A left and a right arrow head: drag sideways.
        const int cx = x + w / 2, cy = y + h / 2;
        for (int i = 0; i < 3; ++i) {
            pic.fillBox(cx - 5 + i, cy - i, 1, 2 * i + 1, ink);
            pic.fillBox(cx + 4 - i, cy - i, 1, 2 * i + 1, ink);
        }
    } else if (t == "ChoiceControl") {
        for (size_t i = 0; i < g.items.size(); ++i) {
            const sim::Rect &it = g.items[i];
            button(pic, it.x, it.y, it.w, it.h, c.items[i], ghost, static_cast<intptr_t>(i) == c.intValue);
        }
        if (c.items.empty()) field(pic, x, y, w, h, std::to_string(c.intValue), ghost);
    } else if (t == "ButtonControl") {
        button(pic, x, y, w, h, c.label, ghost, false);
    } else if (t == "AreaControl") {
        // The plug-in paints inside; only a frame around it.
        frame(pic, x - 1, y - 1, w + 2, h + 2, kShade, kLight);
    } else if (t == "VSlideControl") {
        pic.fillBox(x, y, w, h, ghost ? kGhostFieldFill : kFieldFill);
        frame(pic, x, y, w, h, ghost ? kGhostShade : kShade, kLight);
        const sim::Rect k = sim::sliderKnob(c, g.field);
        pic.fillBox(k.x, k.y, k.w, k.h, ghost ? kGhostShade : kPressedFill);
        frame(pic, k.x, k.y, k.w, k.h, kLight, kShade);
    } else {
        // An EditControl, and any other control: its text in a field.
        field(pic, x, y, w, h, c.text, ghost);
    }
}

}  // namespace

std::string formatFieldNumber(double v) { return sim::fieldNumberText(v); }

Origin bodyOrigin(const sim::PanelModel &panel) {
    Origin o;
    o.x = sim::panelBodyX(panel);
    o.y = sim::kTitleHeight;
    return o;
}

Picture drawPanel(const sim::PanelModel &panel) {
    const Picture &body = panel.picture;
    const sim::PanelGeometry g = sim::panelGeometry(panel);
    Picture pic(g.width, g.height, sim::kPanelBackground);

    pic.fillBox(0, 0, g.width, kTitleHeight, kTitleBar);
    pic.drawText(8, textTop(0, kTitleHeight), panel.title, kTitleInk);

    pic.copyFrom(body, 0, 0, g.bodyX, g.bodyY, body.width(), body.height());
    for (const sim::ControlGeometry &c : g.controls) drawControl(pic, c);

    pic.fillBox(0, kTitleHeight + body.height(), g.width, 1, kShade);
    button(pic, g.ok.x, g.ok.y, g.ok.w, g.ok.h, "OK", false,
           panel.outcome && *panel.outcome == sim::Close::Ok);
    button(pic, g.cancel.x, g.cancel.y, g.cancel.w, g.cancel.h, "Cancel", false,
           panel.outcome && *panel.outcome == sim::Close::Cancel);
    frame(pic, 0, 0, g.width, g.height, kShade, kShade);
    return pic;
}

}  // namespace render
