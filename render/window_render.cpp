// window_render.cpp - the window's decoration, status line and shell table.
#include "window_render.h"
#include "sim/panel_facts.h"

#include <algorithm>
#include <cmath>

#include "panel_render.h"
#include "sim/font.h"

namespace render {

namespace {

using sim::Picture;
using sim::Rgb;

// A button as it looks while the mouse holds it down: the same colours as
// drawPanel's pressed buttons, computed from what is there, so that any
// button (copy, paste, Clear selection, OK, Cancel) can be shown held.
void pressLook(Picture &pic, const sim::Rect &b) {
    for (int y = b.y; y < b.y + b.h; ++y) {
        for (int x = b.x; x < b.x + b.w; ++x) {
            if (!pic.contains(x, y)) continue;
            const Rgb c = pic.at(x, y);
            const bool edge = x == b.x || y == b.y || x == b.x + b.w - 1 || y == b.y + b.h - 1;
            Rgb n = c;
            if (edge) n = (x == b.x || y == b.y) ? kShade : kLight;
            else if (c == kButtonFill) n = kPressedFill;
            else if (c == kInk) n = kTitleInk;
            if (n != c) pic.fillBox(x, y, 1, 1, n);
        }
    }
}

// The field being edited: its text scrolled so that the caret stays inside.
void editField(Picture &pic, const sim::Rect &b, const std::string &text, int caret) {
    pic.fillBox(b.x + 1, b.y + 1, b.w - 2, b.h - 2, kFieldFill);
    const int chars = std::max(1, (b.w - 8) / sim::font::kAdvance);
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
    const int first = firstShownByte(b, caret);
    const int ty = textTop(b.y, b.h);
    pic.drawText(b.x + 4, ty, text.substr(static_cast<size_t>(first), static_cast<size_t>(chars)), kInk);
    const int cx = b.x + 3 + (caret - first) * sim::font::kAdvance;
    pic.fillBox(cx, ty, 1, sim::font::kCellHeight - 1, kCaret);
}

int byte(double f) {
    if (!std::isfinite(f)) return f > 0 ? 255 : 0;
    return static_cast<int>(std::lround(std::clamp(f, 0.0, 1.0) * 255.0));
}

// Columns of the shell's table: left edge and title.
struct Column {
    int x;
    const char *title;
};
constexpr Column kColumns[] = {{8, "Light"},    {164, "Type"},   {218, "Intensity"},
                               {290, "Colour"}, {386, "Shadow"}, {450, "Range"}};
constexpr int kShellWidth = 524;
constexpr int kShellTop = 16 + 28;  // title bar, button row
constexpr int kPageHead = 20;       // the page's title row, with its Close button

}  // namespace

int firstShownByte(const sim::Rect &r, int caret) {
    const int chars = std::max(1, (r.w - 8) / sim::font::kAdvance);
    return std::max(0, caret - chars);
}

Picture drawWindowFrame(const Picture &panel, const sim::Overlay &d) {
    Picture pic(panel.width(), panel.height() + kStatusHeight, kStatusFill);
    pic.copyFrom(panel, 0, 0, 0, 0, panel.width(), panel.height());
    if (d.pressed) pressLook(pic, *d.pressed);
    if (d.editField) editField(pic, *d.editField, d.editText, d.caret);
    pic.fillBox(0, panel.height(), panel.width(), 1, kShade);
    pic.drawText(4, textTop(panel.height() + 1, kStatusHeight - 1), fit(d.status, panel.width() - 8), kInk);
    return pic;
}

Picture panelFrame(const sim::PanelModel &panel, const sim::Overlay &overlay) {
    return drawWindowFrame(drawPanel(panel), overlay);
}

std::vector<ShellRow> shellRows(const scene::Scene &scene) {
    std::vector<ShellRow> rows;
    rows.reserve(scene.lights.size());
    for (const scene::Light &l : scene.lights) {
        ShellRow r;
        r.name = l.name;
        const char *t = sim::lightTypeName(l.lightType);
        r.type = !l.otherKind.empty() ? l.otherKind : t ? t : std::to_string(l.lightType);
        r.intensity = l.intensity;
        r.r = byte(l.color[0]);
        r.g = byte(l.color[1]);
        r.b = byte(l.color[2]);
        const char *s = sim::shadowTypeName(l.shadowType);
        r.shadow = s ? s : std::to_string(l.shadowType);
        r.range = l.range;
        r.limited = (l.flags & 1u) != 0;
        r.animated = l.intensityAnimated ? kIntensityChannel : 0u;
        rows.push_back(std::move(r));
    }
    return rows;
}

ShellLayout shellLayout() {
    ShellLayout l;
    l.width = kShellWidth;
    l.run = {8, 21, 72, 18};
    l.save = {88, 21, 56, 18};
    l.changes = {152, 21, 92, 18};
    l.quit = {252, 21, 56, 18};
    l.rowHeight = 12;
    l.visibleRows = kShellVisibleRows;
    l.table = {0, kShellTop + 14, kShellWidth, kShellVisibleRows * l.rowHeight};
    l.status = {0, l.table.y + l.table.h + 4, kShellWidth, kShellStatusLines * sim::font::kCellHeight + 5};
    l.height = l.status.y + l.status.h;
    l.dialog = {(kShellWidth - 440) / 2, 110, 440, 130};
    l.dialogField = {l.dialog.x + 10, l.dialog.y + 70, l.dialog.w - 20, 16};
    l.dialogYes = {l.dialog.x + 20, l.dialog.y + 100, 100, 18};
    l.dialogMiddle = {l.dialog.x + 170, l.dialog.y + 100, 100, 18};
    l.dialogNo = {l.dialog.x + 320, l.dialog.y + 100, 100, 18};
    l.page = {0, kShellTop, kShellWidth, l.table.y + l.table.h - kShellTop};
    l.pageClose = {kShellWidth - 8 - 56, kShellTop + 2, 56, 16};
    l.pageLines = (l.page.h - kPageHead - 2) / sim::font::kCellHeight;
    l.pageColumns = (kShellWidth - 12) / sim::font::kAdvance;
    return l;
}

std::vector<std::string> wrapText(const std::string &text, int columns, int maxLines) {
    std::vector<std::string> lines;
    const std::size_t width = static_cast<std::size_t>(std::max(1, columns));
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view rest(text.data() + start, end - start);
        do {
            if (rest.size() <= width) {
                lines.emplace_back(rest);
                break;
            }
            // The last space that leaves a line within the width, else a hard cut.
            std::size_t cut = rest.rfind(' ', width);
            std::size_t skip = 1;
            if (cut == std::string_view::npos || cut == 0) cut = width, skip = 0;
            lines.emplace_back(rest.substr(0, cut));
            rest.remove_prefix(cut + skip);
        } while (!rest.empty());
        start = end + 1;
    }
    if (maxLines > 0 && lines.size() > static_cast<std::size_t>(maxLines)) {
        lines.resize(static_cast<std::size_t>(maxLines));
        std::string &last = lines.back();
        if (last.size() + 3 > width) last.resize(width > 3 ? width - 3 : 0);
        last += "...";
    }
    return lines;
}

namespace {

Rgb pageInk(const std::string &line) {
    if (line.rfind("warning:", 0) == 0) return {150, 80, 0};
    if (line.rfind("---", 0) == 0 || line.rfind("+++", 0) == 0) return kInk;
    if (!line.empty() && line[0] == '-') return {170, 0, 0};
    if (!line.empty() && line[0] == '+') return {0, 120, 0};
    if (line.rfind("@@", 0) == 0) return {0, 0, 170};
    return kInk;
}

void drawPage(Picture &pic, const ShellLayout &l, const ShellPage &p) {
    pic.fillBox(l.page.x, l.page.y, l.page.w, l.page.h, sim::kPanelBackground);
    pic.drawText(8, textTop(l.page.y, kPageHead), fit(p.title, l.pageClose.x - 16), kInk);
    button(pic, l.pageClose, "Close");
    const sim::Rect text{l.page.x, l.page.y + kPageHead, l.page.w, l.page.h - kPageHead};
    pic.fillBox(text.x, text.y, text.w, text.h, kFieldFill);
    frame(pic, text, kShade, kLight);
    const std::size_t first = static_cast<std::size_t>(std::max(0, p.firstLine));
    for (int i = 0; i < l.pageLines && first + static_cast<std::size_t>(i) < p.lines.size(); ++i) {
        const std::string &line = p.lines[first + static_cast<std::size_t>(i)];
        pic.drawText(6, text.y + 1 + i * sim::font::kCellHeight,
                     fit(line, l.pageColumns * sim::font::kAdvance), pageInk(line));
    }
}

void drawDialog(Picture &pic, const ShellLayout &l, const ShellDialog &d) {
    pic.fillBox(l.dialog.x, l.dialog.y, l.dialog.w, l.dialog.h, sim::kPanelBackground);
    frame(pic, l.dialog, kLight, kShade);
    frame(pic, {l.dialog.x + 1, l.dialog.y + 1, l.dialog.w - 2, l.dialog.h - 2}, kLight, kShade);
    const int lines = d.field ? 4 : kShellDialogLines;
    const std::vector<std::string> text =
        wrapText(d.question, (l.dialog.w - 20) / sim::font::kAdvance, lines);
    for (std::size_t i = 0; i < text.size(); ++i)
        pic.drawText(l.dialog.x + 10, l.dialog.y + 10 + static_cast<int>(i) * 12, text[i], kInk);
    if (d.field) {
        const sim::Rect &f = l.dialogField;
        frame(pic, f, kShade, kLight);
        editField(pic, f, *d.field, d.caret);
    }
    button(pic, l.dialogYes, d.yes);
    if (!d.middle.empty()) button(pic, l.dialogMiddle, d.middle);
    button(pic, l.dialogNo, d.no);
}

}  // namespace

Picture drawShell(const ShellView &v) {
    const ShellLayout l = shellLayout();
    Picture pic(l.width, l.height, sim::kPanelBackground);
    pic.fillBox(0, 0, l.width, sim::kTitleHeight, kTitleBar);
    pic.drawText(8, textTop(0, sim::kTitleHeight), fit(v.title, l.width - 16), kTitleInk);
    button(pic, l.run, "vantorel");
    button(pic, l.save, "Save");
    button(pic, l.changes, "Show changes");
    button(pic, l.quit, "Quit");

    // Column titles, then the rows.
    const int headY = kShellTop;
    for (const Column &c : kColumns) pic.drawText(c.x, textTop(headY, 14), c.title, kInk);
    pic.fillBox(0, headY + 13, l.width, 1, kShade);
    pic.fillBox(l.table.x, l.table.y, l.table.w, l.table.h, kFieldFill);
    const int first = std::clamp(v.firstRow, 0, std::max(0, static_cast<int>(v.rows.size()) - 1));
    for (int i = 0; i < l.visibleRows; ++i) {
        const size_t index = static_cast<size_t>(first) + static_cast<size_t>(i);
        if (index >= v.rows.size()) break;
        const ShellRow &r = v.rows[index];
        const int y = l.table.y + i * l.rowHeight;
        const int ty = y + 1;
        pic.drawText(kColumns[0].x, ty, fit(r.name, kColumns[1].x - kColumns[0].x - 6), kInk);
        pic.drawText(kColumns[1].x, ty, r.type, kInk);
        pic.drawText(kColumns[2].x, ty, fit(sim::fieldNumberText(r.intensity * 100.0) + "%", 68), kInk);
        const Rgb swatch{static_cast<uint8_t>(r.r), static_cast<uint8_t>(r.g), static_cast<uint8_t>(r.b)};
        pic.fillBox(kColumns[3].x, y + 1, 10, l.rowHeight - 2, swatch);
        frame(pic, {kColumns[3].x, y + 1, 10, l.rowHeight - 2}, kShade, kShade);
        pic.drawText(kColumns[3].x + 14, ty,
                     std::to_string(r.r) + " " + std::to_string(r.g) + " " + std::to_string(r.b), kInk);
        pic.drawText(kColumns[4].x, ty, r.shadow, kInk);
        pic.drawText(kColumns[5].x, ty, fit(sim::fieldNumberText(r.range), l.width - kColumns[5].x - 4),
                     kInk);
    }
    frame(pic, {l.table.x, l.table.y - 1, l.table.w, l.table.h + 2}, kShade, kLight);

    std::string status = v.status;
    if (v.rows.size() > static_cast<size_t>(l.visibleRows) && !v.page) {
        const size_t last = std::min(v.rows.size(), static_cast<size_t>(first + l.visibleRows));
        std::string range = "lights " + std::to_string(first + 1) + "-" + std::to_string(last) + " of " +
                            std::to_string(v.rows.size()) + " (wheel scrolls)";
        status = status.empty() ? range : status + "; " + range;
    }
    pic.fillBox(l.status.x, l.status.y, l.status.w, l.status.h, kStatusFill);
    pic.fillBox(l.status.x, l.status.y, l.status.w, 1, kShade);
    const std::vector<std::string> lines =
        wrapText(status, (l.width - 8) / sim::font::kAdvance, kShellStatusLines);
    for (std::size_t i = 0; i < lines.size(); ++i)
        pic.drawText(4, l.status.y + 3 + static_cast<int>(i) * sim::font::kCellHeight, lines[i], kInk);

    if (v.page) drawPage(pic, l, *v.page);
    if (v.dialog) drawDialog(pic, l, *v.dialog);
    frame(pic, {0, 0, l.width, l.height}, kShade, kShade);
    return pic;
}

}  // namespace render
