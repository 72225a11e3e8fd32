// font.h - the simulated Layout's panel font: 5 x 7 glyphs in 6 x 10 cells.
//
// The glyphs were drawn by hand for this project. Characters 32..126 have
// their own glyph; every other byte is shown as a hollow box.
#ifndef VANTOREL_SIM_FONT_H
#define VANTOREL_SIM_FONT_H

#include <cstdint>
#include <string_view>

namespace sim::font {

constexpr int kGlyphWidth = 5;   // pixels of ink across
constexpr int kGlyphHeight = 7;  // pixels of ink down
constexpr int kAdvance = 6;      // from one character's left edge to the next
constexpr int kCellHeight = 10;  // height of one line of text
constexpr int kInkTop = 2;       // first ink row below the text's top

// Seven rows of one glyph, top first; bit 4 of each row is the leftmost pixel.
const uint8_t *glyphRows(unsigned char c);

// Width in pixels of a text drawn with this font.
inline int textWidth(std::string_view text) { return static_cast<int>(text.size()) * kAdvance; }

}  // namespace sim::font

#endif
