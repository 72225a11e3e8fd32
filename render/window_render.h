// window_render.h - pictures that only the interactive window shows: the
// decoration drawn over the panel while a person works with it, the status
// line below the panel, and the shell's table of lights.
//
// None of this appears in --png or snapshot pictures: those stay the pure
// drawPanel() picture, so that a window showing no decoration is pixel for
// pixel the picture a script makes of the same moment.
#ifndef VANTOREL_RENDER_WINDOW_RENDER_H
#define VANTOREL_RENDER_WINDOW_RENDER_H

#include <optional>
#include <string>
#include <vector>

#include "sim/picture.h"
#include "sim/scene.h"

namespace render {

// A box in picture pixels (zoom 1), origin at the picture's top left.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

// What the window draws over the panel picture.
struct Decoration {
    std::optional<Box> editField;  // a text or number field being edited
    std::string editText;          // its text while editing
    int caret = 0;                 // caret position: characters before it
    std::optional<Box> pressed;    // a button held down
    std::string status;            // the status line's text; "" shows an empty line
};

constexpr int kStatusHeight = 14;  // the status line below the panel
constexpr sim::Rgb kStatusFill{208, 208, 208};
constexpr sim::Rgb kCaret{0, 0, 0};

// The window's whole client area at zoom 1: the panel picture unchanged at
// the top left, the decoration over it, and the status line below it.
sim::Picture drawWindowFrame(const sim::Picture &panel, const Decoration &decoration);

// ---- Shell mode: a small stand-in for Layout between runs of the plug-in ----

// One light as the table shows it.
struct ShellRow {
    std::string name;
    std::string type;         // "Distant", "Point", ...
    double intensity = 0;     // 1.0 = 100 %
    int r = 0, g = 0, b = 0;  // 0..255
    std::string shadow;       // "Off", "Raytrace", "ShadowMap"
    double range = 0;
};
std::vector<ShellRow> shellRows(const sim::Scene &scene);

// A yes/no question over the table.
struct ShellDialog {
    std::string question;  // one or two lines, split at '\n'
    std::string yes, no;   // button texts
};

// Everything the shell window shows.
struct ShellView {
    std::string title;  // over the table
    std::vector<ShellRow> rows;
    int firstRow = 0;  // first row shown (the table scrolls)
    std::optional<ShellDialog> dialog;
    std::string status;
};

// Where things are in the shell's picture; the click logic uses the same boxes.
struct ShellLayout {
    int width = 0, height = 0;
    Box run, save, quit;  // the buttons above the table
    Box table;            // rows area
    int rowHeight = 12;
    int visibleRows = 0;
    Box dialog, dialogYes, dialogNo;
};
constexpr int kShellVisibleRows = 32;
ShellLayout shellLayout();

sim::Picture drawShell(const ShellView &view);

}  // namespace render

#endif
