// panel_render.cpp - drawing the panel and encoding it as PNG.
#include "panel_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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
void field(Picture &pic, int x, int y, int w, int h, const std::string &text, bool ghost, bool filled = true) {
    if (filled) pic.fillBox(x, y, w, h, ghost ? kGhostFieldFill : kFieldFill);
    frame(pic, x, y, w, h, ghost ? kGhostShade : kShade, kLight);
    pic.drawText(x + 4, textTop(y, h), fitText(text, w - 6), ghost ? kGhostInk : kInk);
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

void drawControl(Picture &pic, const sim::ControlModel &c, int left, int top) {
    const bool ghost = c.drawState == DR_GHOST;
    const Rgb ink = ghost ? kGhostInk : kInk;
    const std::string &t = c.typeName;
    const int x = c.hotX() + left, y = c.y + top, w = c.bodyWidth, h = c.bodyHeight;
    if (c.labelWidth > 0) pic.drawText(c.x + left, textTop(y, std::min(h, 20)), c.label, ink);

    if (t == "FloatControl") {
        field(pic, x, y, w, h, formatFieldNumber(c.floatValue), ghost);
    } else if (t == "EditControl") {
        field(pic, x, y, w, h, c.text, ghost);
    } else if (t == "InfoControl") {
        field(pic, x, y, w, h, c.text, ghost, false);
    } else if (t == "MiniRGBControl") {
        // Swatch, then the three numbers.
        const int sw = 18;
        Rgb swatch{static_cast<uint8_t>(std::clamp(c.vec[0], 0, 255)),
                   static_cast<uint8_t>(std::clamp(c.vec[1], 0, 255)),
                   static_cast<uint8_t>(std::clamp(c.vec[2], 0, 255))};
        if (ghost) swatch = Rgb{static_cast<uint8_t>((swatch.r + 2 * 190) / 3),
                                static_cast<uint8_t>((swatch.g + 2 * 190) / 3),
                                static_cast<uint8_t>((swatch.b + 2 * 190) / 3)};
        pic.fillBox(x, y, sw, h, swatch);
        frame(pic, x, y, sw, h, ghost ? kGhostShade : kShade, kLight);
        const int fw = (w - sw - 2) / 3;
        for (int i = 0; i < 3; ++i)
            field(pic, x + sw + 2 + i * fw, y, fw - 1, h, std::to_string(c.vec[i]), ghost);
    } else if (t == "DragButtonControl") {
        button(pic, x, y, w, h, "", ghost, false);
        // A left and a right arrow head: drag sideways.
        const int cx = x + w / 2, cy = y + h / 2;
        for (int i = 0; i < 3; ++i) {
            pic.fillBox(cx - 5 + i, cy - i, 1, 2 * i + 1, ink);
            pic.fillBox(cx + 4 - i, cy - i, 1, 2 * i + 1, ink);
        }
    } else if (t == "ChoiceControl") {
        int ix = x;
        for (size_t i = 0; i < c.items.size(); ++i) {
            int iw = sim::font::textWidth(c.items[i]) + 12;
            button(pic, ix, y, iw, h, c.items[i], ghost, static_cast<intptr_t>(i) == c.intValue);
            ix += iw;
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
        const int lo = c.desc.type == CD_RANGE ? c.desc.range.min : 0;
        const int hi = c.desc.type == CD_RANGE ? c.desc.range.max : 100;
        const int knob = std::min(12, h);
        double f = hi > lo ? (static_cast<double>(c.intValue) - lo) / (static_cast<double>(hi) - lo) : 0.0;
        f = std::clamp(f, 0.0, 1.0);
        const int ky = y + static_cast<int>(std::lround(f * (h - knob)));
        pic.fillBox(x + 1, ky, w - 2, knob, ghost ? kGhostShade : kPressedFill);
        frame(pic, x + 1, ky, w - 2, knob, kLight, kShade);
    } else {
        field(pic, x, y, w, h, c.text, ghost);
    }
}

}  // namespace

std::string formatFieldNumber(double v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf";
    char buf[64];
    if (std::fabs(v) >= 1e9) {  // too wide for a field in fixed notation
        std::snprintf(buf, sizeof buf, "%.6g", v);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.3f", v);
    std::string s = buf;
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    if (s == "-0.0") s = "0.0";
    return s;
}

Origin bodyOrigin(const sim::PanelModel &panel) {
    Origin o;
    int reach = 0;
    for (const auto &c : panel.controls) reach = std::max(reach, std::min(-c->x, 64));
    o.x = reach > 0 ? reach + 3 : 0;  // clear of the picture's frame
    return o;
}

Picture drawPanel(const sim::PanelModel &panel) {
    const Picture &body = panel.picture;
    const Origin o = bodyOrigin(panel);
    const int titleWidth = sim::font::textWidth(panel.title) + 16;
    const int width = std::max({o.x + body.width(), titleWidth, 2 * kOkCancelWidth + 24});
    const int height = kTitleHeight + body.height() + kButtonRow;
    Picture pic(width, height, sim::kPanelBackground);

    pic.fillBox(0, 0, width, kTitleHeight, kTitleBar);
    pic.drawText(8, textTop(0, kTitleHeight), panel.title, kTitleInk);

    pic.copyFrom(body, 0, 0, o.x, o.y, body.width(), body.height());
    for (const auto &c : panel.controls) drawControl(pic, *c, o.x, o.y);

    const int by = kTitleHeight + body.height() + (kButtonRow - kOkCancelHeight) / 2;
    pic.fillBox(0, kTitleHeight + body.height(), width, 1, kShade);
    const int cancelX = width - 8 - kOkCancelWidth;
    const int okX = cancelX - 8 - kOkCancelWidth;
    button(pic, okX, by, kOkCancelWidth, kOkCancelHeight, "OK", false,
           panel.outcome && *panel.outcome == sim::Close::Ok);
    button(pic, cancelX, by, kOkCancelWidth, kOkCancelHeight, "Cancel", false,
           panel.outcome && *panel.outcome == sim::Close::Cancel);
    frame(pic, 0, 0, width, height, kShade, kShade);
    return pic;
}

}  // namespace render
