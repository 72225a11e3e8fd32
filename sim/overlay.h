// overlay.h - what a window draws over the panel picture while a person
// works with it. PanelInput says what it is; render::drawWindowFrame draws it.
// The panel picture (--png, snapshot) never shows it.
#ifndef VANTOREL_SIM_OVERLAY_H
#define VANTOREL_SIM_OVERLAY_H

#include <optional>
#include <string>

#include "rect.h"

namespace sim {

struct Overlay {
    std::optional<Rect> editField;  // the field being edited (picture pixels)
    std::string editText;           // its text while editing, in the panel font's cp1252 (one byte,
                                    // one cell; a character the font lacks is 0x81, a hollow box)
    int caret = 0;                  // caret index into editText, in bytes, which are cells
    std::optional<Rect> pressed;    // a button held down
    std::string status;             // status line text ("" = an empty line), e.g. why a number was refused
};

}  // namespace sim

#endif
