// Tests of the raster pictures: clipping, text, copying.
#include <gtest/gtest.h>

#include <climits>

#include "font.h"
#include "picture.h"

namespace {

const sim::Rgb kRed{255, 0, 0}, kGrey{128, 128, 128}, kWhite{255, 255, 255};

TEST(Picture, FillClipsToTheEdges) {
    sim::Picture p(10, 8, kGrey);
    p.fillBox(-5, -5, 8, 7, kRed);  // covers x 0..2, y 0..1
    EXPECT_EQ(p.countColour(kRed, 0, 0, 10, 8), 3 * 2);
    EXPECT_EQ(p.at(2, 1), kRed);
    EXPECT_EQ(p.at(3, 1), kGrey);
    EXPECT_EQ(p.at(2, 2), kGrey);
    p.fillBox(8, 6, 100, 100, kRed);  // bottom right corner, 2 x 2
    EXPECT_EQ(p.countColour(kRed, 0, 0, 10, 8), 6 + 4);
}

TEST(Picture, DegenerateAndHugeBoxesAreSafe) {
    sim::Picture p(10, 8, kGrey);
    p.fillBox(0, 0, 0, 5, kRed);
    p.fillBox(0, 0, 5, -1, kRed);
    p.fillBox(20, 20, 5, 5, kRed);
    EXPECT_EQ(p.countColour(kRed, 0, 0, 10, 8), 0);
    p.fillBox(INT_MAX, INT_MAX, INT_MAX, INT_MAX, kRed);
    p.fillBox(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kRed);  // ends before 0
    EXPECT_EQ(p.countColour(kRed, 0, 0, 10, 8), 0);
    p.fillBox(-10, -10, INT_MAX, INT_MAX, kRed);
    EXPECT_EQ(p.countColour(kRed, 0, 0, 10, 8), 80);
    EXPECT_EQ(p.at(-1, 0), (sim::Rgb{})) << "outside reads as black";
}

TEST(Picture, TextDrawsGlyphInkAtTheCellOffset) {
    sim::Picture p(20, 12, kGrey);
    p.drawText(0, 0, "I", kWhite);
    // "I": 0x0E on its top row -> columns 1..3 at y = kInkTop.
    EXPECT_EQ(p.at(1, sim::font::kInkTop), kWhite);
    EXPECT_EQ(p.at(3, sim::font::kInkTop), kWhite);
    EXPECT_EQ(p.at(0, sim::font::kInkTop), kGrey);
    EXPECT_EQ(p.at(2, sim::font::kInkTop + 3), kWhite);  // the stem
    EXPECT_EQ(p.countColour(kWhite, 0, 0, 2, sim::font::kInkTop), 0) << "nothing above the ink rows";
}

TEST(Picture, TextClipsOnEverySide) {
    sim::Picture whole(40, 12, kGrey), cut(40, 12, kGrey);
    whole.drawText(0, 0, "Key", kWhite);
    int ink = whole.countColour(kWhite, 0, 0, 40, 12);
    ASSERT_GT(ink, 10);
    cut.drawText(-6, -5, "Key", kWhite);  // first glyph off the left, top rows cut
    EXPECT_LT(cut.countColour(kWhite, 0, 0, 40, 12), ink);
    EXPECT_GT(cut.countColour(kWhite, 0, 0, 40, 12), 0);
    sim::Picture q(4, 4, kGrey);
    q.drawText(INT_MAX - 2, 0, "xyz", kWhite);
    q.drawText(0, INT_MIN, "xyz", kWhite);
    q.drawText(INT_MIN, 0, "xyz", kWhite);
    EXPECT_EQ(q.countColour(kWhite, 0, 0, 4, 4), 0);
}

TEST(Font, EveryPrintableCharacterButSpaceHasInk) {
    for (int c = 33; c <= 126; ++c) {
        const uint8_t *rows = sim::font::glyphRows(static_cast<unsigned char>(c));
        int bits = 0;
        for (int r = 0; r < sim::font::kGlyphHeight; ++r) {
            EXPECT_EQ(rows[r] & ~0x1F, 0) << "glyph " << c << " wider than 5";
            bits |= rows[r];
        }
        EXPECT_NE(bits, 0) << "glyph " << c;
    }
    EXPECT_EQ(sim::font::textWidth("Intensity"), 9 * sim::font::kAdvance);
    // Bytes outside the printable range get a visible box, not nothing.
    EXPECT_EQ(sim::font::glyphRows(200)[0], 0x1F);
}

TEST(Picture, CopyClipsSourceAndDestination) {
    sim::Picture src(4, 4, kRed), dst(6, 6, kGrey);
    // Source columns -2..-1 do not exist and destination rows past 5 neither.
    dst.copyFrom(src, -2, 0, 2, 4, 10, 10);
    EXPECT_EQ(dst.countColour(kRed, 0, 0, 6, 6), 2 * 2);
    EXPECT_EQ(dst.at(3, 4), kGrey);
    EXPECT_EQ(dst.at(4, 4), kRed);  // offset 2 maps to source column 0
    EXPECT_EQ(dst.at(5, 5), kRed);
    dst.copyFrom(src, 0, 0, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    dst.growTo(8, 3, kWhite);
    EXPECT_EQ(dst.width(), 8);
    EXPECT_EQ(dst.height(), 6);
    EXPECT_EQ(dst.at(5, 5), kRed) << "growing keeps the pixels";
    EXPECT_EQ(dst.at(7, 0), kWhite);
}

}  // namespace
