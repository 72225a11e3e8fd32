// Tests of the raster pictures: clipping, text, copying.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

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
    // Control bytes get a visible box, not nothing.
    EXPECT_EQ(sim::font::glyphRows(7)[0], 0x1F);
}

// A text as drawn: one string per pixel row of its cells, '#' for ink.
std::vector<std::string> drawn(const std::string &text) {
    const int w = sim::font::textWidth(text);
    sim::Picture p(w, sim::font::kCellHeight, kGrey);
    p.drawText(0, 0, text, kWhite);
    std::vector<std::string> rows;
    for (int y = 0; y < p.height(); ++y) {
        std::string row;
        for (int x = 0; x < w; ++x) row += p.at(x, y) == kWhite ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// Bytes are drawn as their Windows-1252 characters, as Layout on Windows
// draws a plug-in's texts: accents above a capital in the cell's top rows,
// above a lowercase letter after a blank row, a cedilla in the bottom row.
TEST(Font, DrawsCp1252LettersWithTheirAccents) {
    EXPECT_EQ(drawn("\xD1\xE9\x80\x8A\xC7"), (std::vector<std::string>{
                                                 ".##.#..............#.#........",
                                                 "#.##.....#..........#.........",
                                                 "#...#...#.....##...####..###..",
                                                 "#...#........#..#.#.....#...#.",
                                                 "##..#..###..###...#.....#.....",
                                                 "#.#.#.#...#..#.....###..#.....",
                                                 "#..##.#####.###.......#.#.....",
                                                 "#...#.#......#..#.....#.#...#.",
                                                 "#...#..###....##..####...###..",
                                                 ".........................##...",
                                             }));
}

TEST(Font, EveryCp1252CharacterHasAGlyphOfItsOwn) {
    namespace f = sim::font;
    auto cell = [](int c) {
        const uint8_t *r = f::cellRows(static_cast<unsigned char>(c));
        return std::vector<uint8_t>(r, r + f::kCellHeight);
    };
    const std::vector<uint8_t> box = cell(0x01), blank = cell(' ');
    const std::set<int> undefined{0x81, 0x8D, 0x8F, 0x90, 0x9D};
    // A 5-pixel font has one dash: hyphen, soft hyphen, en and em dash look alike.
    const std::set<int> dashes{'-', 0x96, 0x97, 0xAD};
    std::map<std::vector<uint8_t>, int> seen;
    for (int c = 33; c <= 255; ++c) {
        if (c >= 127 && c < 0x80) continue;
        SCOPED_TRACE(c);
        const std::vector<uint8_t> g = cell(c);
        for (uint8_t r : g) EXPECT_EQ(r & ~0x1F, 0) << "wider than 5";
        if (undefined.count(c)) {
            EXPECT_EQ(g, box) << "undefined in cp1252: the box";
            continue;
        }
        if (c == 0xA0) {
            EXPECT_EQ(g, blank) << "the no-break space is a space";
            continue;
        }
        EXPECT_NE(g, blank);
        EXPECT_NE(g, box);
        auto [at, fresh] = seen.emplace(g, c);
        if (!fresh) {
            EXPECT_TRUE(dashes.count(c) && dashes.count(at->second)) << "looks like " << at->second;
        }
    }
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

// The drawing operations clip whole rows, characters and spans at once. A
// straightforward model that tests every single pixel against the edges must
// give the same pixels for any position, inside, across the edges or far off.
class PixelByPixel {
public:
    PixelByPixel(int w, int h, sim::Rgb fill) : w_(w), h_(h), px_(static_cast<size_t>(w * h), fill) {}
    sim::Rgb at(long long x, long long y) const {
        return x >= 0 && y >= 0 && x < w_ && y < h_ ? px_[static_cast<size_t>(y * w_ + x)] : sim::Rgb{};
    }
    void put(long long x, long long y, sim::Rgb c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y * w_ + x)] = c;
    }
    // Every pixel of the picture is tested against the box.
    void fill(long long x, long long y, long long w, long long h, sim::Rgb c) {
        for (long long j = 0; j < h_; ++j)
            for (long long i = 0; i < w_; ++i)
                if (i >= x && i < x + w && j >= y && j < y + h) put(i, j, c);
    }
    void text(long long x, long long y, const std::string &t, sim::Rgb c) {
        namespace f = sim::font;
        for (size_t k = 0; k < t.size(); ++k) {
            const uint8_t *rows = f::cellRows(static_cast<unsigned char>(t[k]));
            for (int r = 0; r < f::kCellHeight; ++r)
                for (int b = 0; b < f::kGlyphWidth; ++b)
                    if (rows[r] & (0x10 >> b)) put(x + static_cast<long long>(k) * f::kAdvance + b, y + r, c);
        }
    }
    // Every destination pixel in reading order takes the source pixel under
    // it, if the box covers it and the source has it; from itself when self.
    void copy(const PixelByPixel &src, long long sx, long long sy, long long dx, long long dy, long long w,
              long long h) {
        for (long long j = 0; j < h_; ++j)
            for (long long i = 0; i < w_; ++i) {
                const long long u = i - dx, v = j - dy;  // offset inside the box
                if (u < 0 || v < 0 || u >= w || v >= h) continue;
                if (sx + u < 0 || sy + v < 0 || sx + u >= src.w_ || sy + v >= src.h_) continue;
                put(i, j, src.at(sx + u, sy + v));
            }
    }
    void expectSame(const sim::Picture &p, const std::string &what) const {
        ASSERT_EQ(p.width(), w_);
        ASSERT_EQ(p.height(), h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                ASSERT_EQ(p.at(x, y), at(x, y)) << what << ": pixel " << x << "," << y;
    }

private:
    int w_, h_;
    std::vector<sim::Rgb> px_;
};

TEST(Picture, ClippedDrawingMatchesPixelByPixelAnywhere) {
    std::mt19937 rnd(20240601);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); };
    // Mostly near the edges, now and then far off or at the ends of int.
    auto coord = [&](int side) {
        switch (pick(0, 5)) {
        case 0: return pick(INT_MIN, INT_MAX);
        case 1: return pick(0, 1) ? INT_MAX - pick(0, 20) : INT_MIN + pick(0, 20);
        case 2: return pick(-40, side + 40);
        default: return pick(-8, side + 2);
        }
    };
    auto extent = [&](int side) { return pick(0, 9) == 0 ? pick(INT_MIN, INT_MAX) : pick(-2, side + 10); };
    for (int round = 0; round < 300; ++round) {
        const int w = pick(0, 45), h = pick(0, 30);
        sim::Picture pic(w, h, kGrey), other(pick(0, 30), pick(0, 30), kWhite);
        PixelByPixel ref(w, h, kGrey), otherRef(other.width(), other.height(), kWhite);
        // Every pixel different, so that a pixel copied from the wrong place shows.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const sim::Rgb c{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 1};
                pic.fillBox(x, y, 1, 1, c);
                ref.put(x, y, c);
            }
        other.drawText(0, 0, "Ab#", kRed);
        otherRef.text(0, 0, "Ab#", kRed);
        for (int op = 0; op < 12; ++op) {
            const sim::Rgb c{static_cast<uint8_t>(pick(0, 255)), static_cast<uint8_t>(pick(0, 255)), 7};
            const int x = coord(w), y = coord(h);
            std::string what = "round " + std::to_string(round) + " op " + std::to_string(op) + " at " +
                               std::to_string(x) + "," + std::to_string(y);
            switch (pick(0, 3)) {
            case 0: {
                const int bw = extent(w), bh = extent(h);
                pic.fillBox(x, y, bw, bh, c);
                ref.fill(x, y, bw, bh, c);
                what += " fill " + std::to_string(bw) + "x" + std::to_string(bh);
                break;
            }
            case 1: {
                std::string t(static_cast<size_t>(pick(0, 12)), ' ');
                for (char &ch : t) ch = static_cast<char>(pick(1, 255));
                pic.drawText(x, y, t, c);
                ref.text(x, y, t, c);
                what += " text \"" + t + "\"";
                break;
            }
            default: {
                const bool self = pick(0, 1);
                // Within one picture, often along the same row, overlapping.
                // (x may be at either end of int: step without overflowing.)
                const int sx = self && pick(0, 1)
                                   ? static_cast<int>(std::clamp<long long>(
                                         static_cast<long long>(x) + pick(-3, 3), INT_MIN, INT_MAX))
                                   : coord(self ? w : other.width());
                const int sy = self && pick(0, 1) ? y : coord(self ? h : other.height());
                const int bw = extent(w), bh = extent(h);
                pic.copyFrom(self ? pic : other, sx, sy, x, y, bw, bh);
                ref.copy(self ? ref : otherRef, sx, sy, x, y, bw, bh);
                what += std::string(self ? " self" : " other") + " copy from " + std::to_string(sx) + "," +
                        std::to_string(sy) + " " + std::to_string(bw) + "x" + std::to_string(bh);
                break;
            }
            }
            ref.expectSame(pic, what);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(Picture, BigPicturesMadeAfterOthersWentAwayStartWithTheirOwnFill) {
    // Pixel buffers of big pictures are used again; nothing of the old pixels may show.
    for (int round = 0; round < 3; ++round) {
        { sim::Picture old(300, 300, kRed); }
        sim::Picture p(200, 150, kGrey);
        EXPECT_EQ(p.countColour(kGrey, 0, 0, 200, 150), 200 * 150);
        p = sim::Picture(310, 290, kWhite);  // larger than any buffer kept
        EXPECT_EQ(p.countColour(kWhite, 0, 0, 310, 290), 310 * 290);
        sim::Picture copy = p;
        p = sim::Picture(120, 180, kGrey);
        EXPECT_EQ(p.countColour(kGrey, 0, 0, 120, 180), 120 * 180);
        EXPECT_EQ(p.rgb().size(), size_t{120} * 180 * 3);
        EXPECT_EQ(copy.countColour(kWhite, 0, 0, 310, 290), 310 * 290) << "a copy has its own pixels";
    }
}

}  // namespace
