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
#include "sim/overlay.h"
#include "sim/picture.h"
#include "sim/rect.h"

namespace sim {
struct PanelModel;
}  // namespace sim

namespace render {

constexpr int kStatusHeight = 14;  // the status line below the panel
constexpr sim::Rgb kStatusFill{208, 208, 208};
constexpr sim::Rgb kCaret{0, 0, 0};

// The window's whole client area at zoom 1: the panel picture unchanged at
// the top left, the overlay over it, and the status line below it.
sim::Picture drawWindowFrame(const sim::Picture &panel, const sim::Overlay &overlay);

// The window's picture of an open panel: drawPanel, the overlay over it and
// the status line below it.
sim::Picture panelFrame(const sim::PanelModel &panel, const sim::Overlay &overlay);

// The first byte of text an edited field at r shows: the text scrolls so that
// the caret (a byte index) stays inside.
int firstShownByte(const sim::Rect &r, int caret);

// ---- Shell mode: a small stand-in for Layout between runs of the plug-in ----

// The settings of a light that a scene file can animate: bits of
// ShellRow::animated.
enum ShellChannel : unsigned {
    kTypeChannel = 1u << 0,
    kIntensityChannel = 1u << 1,
    kColorChannel = 1u << 2,
    kShadowChannel = 1u << 3,
    kRangeChannel = 1u << 4,
    kLimitedChannel = 1u << 5,
};

// One light as the table shows it.
struct ShellRow {
    std::string name;
    std::string type;         // "Distant", "Point", ...
    double intensity = 0;     // 1.0 = 100 %
    int r = 0, g = 0, b = 0;  // 0..255
    std::string shadow;       // "Off", "Raytrace", "ShadowMap"
    double range = 0;
    bool limited = false;   // the range is limited (falloff on)
    unsigned animated = 0;  // ShellChannel bits: the value shown is the one at time 0
};
// The scene's lights as rows; animated holds what the scene knows of (an
// intensity envelope), a front end with the scene file adds the rest.
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
    sim::Rect run, save, changes, quit;  // the buttons above the table
    sim::Rect table;                     // rows area
    int rowHeight = 12;
    int visibleRows = 0;
    sim::Rect dialog, dialogYes, dialogMiddle, dialogNo;
    sim::Rect dialogField;  // the text field of the Save-as question
    sim::Rect page;         // the page of text, over the table
    sim::Rect pageClose;    // its Close button
    int pageLines = 0;
    int pageColumns = 0;
    sim::Rect status;  // the status lines at the bottom
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
