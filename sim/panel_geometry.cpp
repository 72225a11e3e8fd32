// panel_geometry.cpp - the layout of the panel picture.
#include "panel_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "font.h"

namespace sim {

namespace {

// The rectangles inside a control's body: choice items, colour numbers.
std::vector<Rect> itemsOf(const ControlModel &c, const Rect &f) {
    std::vector<Rect> items;
    if (c.typeName == "ChoiceControl") {
        int ix = f.x;
        for (const std::string &item : c.items) {
            const int iw = font::textWidth(item) + 12;
            items.push_back({ix, f.y, iw, f.h});
            ix += iw;
        }
    } else if (c.typeName == "MiniRGBControl") {
        const int fw = (f.w - kSwatchWidth - 2) / 3;
        for (int i = 0; i < 3; ++i) items.push_back({f.x + kSwatchWidth + 2 + i * fw, f.y, fw - 1, f.h});
    }
    return items;
}

}  // namespace

int panelBodyX(const PanelModel &panel) {
    int reach = 0;
    for (const auto &c : panel.controls) reach = std::max(reach, std::min(-c->x, 64));
    return reach > 0 ? reach + 3 : 0;
}

PanelGeometry panelGeometry(const PanelModel &panel) {
    PanelGeometry g;
    const Picture &body = panel.picture;
    g.bodyX = panelBodyX(panel);
    g.bodyY = kTitleHeight;
    const int titleWidth = font::textWidth(panel.title) + 16;
    g.width = std::max({g.bodyX + body.width(), titleWidth, 2 * kOkCancelWidth + 24});
    g.height = kTitleHeight + body.height() + kButtonRow;

    const int by = kTitleHeight + body.height() + (kButtonRow - kOkCancelHeight) / 2;
    g.cancel = {g.width - 8 - kOkCancelWidth, by, kOkCancelWidth, kOkCancelHeight};
    g.ok = {g.cancel.x - 8 - kOkCancelWidth, by, kOkCancelWidth, kOkCancelHeight};

    for (const auto &c : panel.controls) {
        ControlGeometry cg;
        cg.control = c.get();
        cg.field = {g.bodyX + c->hotX(), g.bodyY + c->y, c->bodyWidth, c->bodyHeight};
        cg.label = {g.bodyX + c->x, g.bodyY + c->y, c->labelWidth, c->bodyHeight};
        cg.items = itemsOf(*c, cg.field);
        g.controls.push_back(std::move(cg));
    }
    return g;
}

int sliderMin(const ControlModel &slider) { return slider.desc.type == CD_RANGE ? slider.desc.range.min : 0; }
int sliderMax(const ControlModel &slider) {
    return slider.desc.type == CD_RANGE ? slider.desc.range.max : 100;
}

Rect sliderKnob(const ControlModel &slider, const Rect &field) {
    const int lo = sliderMin(slider), hi = sliderMax(slider);
    const int knob = std::min(kSliderKnob, field.h);
    double f = hi > lo ? (static_cast<double>(slider.intValue) - lo) / (static_cast<double>(hi) - lo) : 0.0;
    f = std::clamp(f, 0.0, 1.0);
    const int ky = field.y + static_cast<int>(std::lround(f * (field.h - knob)));
    return {field.x + 1, ky, field.w - 2, knob};
}

int sliderValueAt(const ControlModel &slider, const Rect &field, int py) {
    const int lo = sliderMin(slider), hi = sliderMax(slider);
    const int knob = std::min(kSliderKnob, field.h);
    const int travel = field.h - knob;
    if (hi <= lo || travel <= 0) return lo;
    const int halfKnob = knob / 2;  // whole pixels, as the knob is drawn
    double f = (static_cast<double>(py) - field.y - halfKnob) / travel;
    f = std::clamp(f, 0.0, 1.0);
    return static_cast<int>(lo + std::llround(f * (static_cast<double>(hi) - lo)));
}

std::string fieldNumberText(double v) {
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

}  // namespace sim
