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

#include "scene/scene.h"
#include "sim/picture.h"

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
std::vector<ShellRow> shellRows(const scene::Scene &scene);

// A question over the table, with two or three buttons; the Save-as question
// has a text field.
struct ShellDialog {
    std::string question;              // wrapped to the dialog's width; '\n' starts a new line
    std::string yes, no;               // the left and right buttons
    std::string middle;                // a third button between them; "" for none
    std::optional<std::string> field;  // the text being typed, when the dialog has a field
    int caret = 0;                     // bytes of field before the caret
};

// A page of text over the table (the changes Save would write).
struct ShellPage {
    std::string title;               // one line over the text
    std::vector<std::string> lines;  // without line ends
    int firstLine = 0;               // first line shown (the page scrolls)
};

// Everything the shell window shows.
struct ShellView {
    std::string title;  // over the table
    std::vector<ShellRow> rows;
    int firstRow = 0;  // first row shown (the table scrolls)
    std::optional<ShellDialog> dialog;
    std::optional<ShellPage> page;
    std::string status;  // wrapped onto up to kShellStatusLines lines
};

// Where things are in the shell's picture; the click logic uses the same boxes.
struct ShellLayout {
    int width = 0, height = 0;
    Box run, save, changes, quit;  // the buttons above the table
    Box table;                     // rows area
    int rowHeight = 12;
    int visibleRows = 0;
    Box dialog, dialogYes, dialogMiddle, dialogNo;
    Box dialogField;  // the text field of the Save-as question
    Box page;         // the page of text, over the table
    Box pageClose;    // its Close button
    int pageLines = 0;
    int pageColumns = 0;
    Box status;  // the status lines at the bottom
};
constexpr int kShellVisibleRows = 32;
constexpr int kShellStatusLines = 4;
constexpr int kShellDialogLines = 6;
ShellLayout shellLayout();

// The text broken into lines of at most columns characters: at spaces where it
// can, inside a word longer than a line where it must, and at every '\n'.
// More than maxLines lines: the last one kept ends in "...".
std::vector<std::string> wrapText(const std::string &text, int columns, int maxLines);

sim::Picture drawShell(const ShellView &view);

}  // namespace render

#endif
