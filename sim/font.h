// font.h - the simulated Layout's panel font: 5 x 7 glyphs in 6 x 10 cells.
//
// The glyphs were drawn by hand for this project. Text is bytes, and each
// byte is drawn as its Windows-1252 character, as Layout on Windows draws
// them: characters 32..126 and every letter and sign of 0x80..0xFF have their
// own glyph; control bytes and the five bytes cp1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) are shown as a hollow box. A letter's body is the
// 7 ink rows from kInkTop; accents use the rows above it, cedillas and
// descenders the row below.
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

// The kCellHeight rows of one character's cell, top first; bit 4 of each row
// is the leftmost pixel.
const uint8_t *cellRows(unsigned char c);
// Its kGlyphHeight ink rows, from kInkTop down.
inline const uint8_t *glyphRows(unsigned char c) { return cellRows(c) + kInkTop; }

// Width in pixels of a text drawn with this font.
inline int textWidth(std::string_view text) { return static_cast<int>(text.size()) * kAdvance; }

}  // namespace sim::font

#endif
