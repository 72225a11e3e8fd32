// picture.h - an RGB pixel buffer with clipped drawing: the simulated
// Layout's rasters and panel pictures.
#ifndef VANTOREL_SIM_PICTURE_H
#define VANTOREL_SIM_PICTURE_H

#include <cstdint>
#include <string_view>
#include <vector>

namespace sim {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb p, Rgb q) { return p.r == q.r && p.g == q.g && p.b == q.b; }
    friend bool operator!=(Rgb p, Rgb q) { return !(p == q); }
};

// Rows top to bottom, three bytes per pixel. Every drawing operation clips to
// the picture: parts outside it, and boxes of zero or negative size, draw nothing.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // The pixel at (x, y); black outside the picture.
    Rgb at(int x, int y) const;
    const std::vector<uint8_t> &rgb() const { return pixels_; }

    void fillBox(int x, int y, int w, int h, Rgb colour);
    // Text with the top left of its first cell at (x, y), in the panel font.
    void drawText(int x, int y, std::string_view text, Rgb colour);
    // Copies the w x h box at (sx, sy) of src to (dx, dy) here; both sides clip.
    void copyFrom(const Picture &src, int sx, int sy, int dx, int dy, int w, int h);
    // Grows the picture to at least w x h, keeping its pixels; new pixels get fill.
    void growTo(int w, int h, Rgb fill);

    // Pixels of exactly this colour inside a box (clipped); for tests.
    int countColour(Rgb colour, int x, int y, int w, int h) const;

private:
    size_t offset(int x, int y) const;  // of a pixel inside the picture
    void put(int x, int y, Rgb c);
    int width_ = 0, height_ = 0;
    std::vector<uint8_t> pixels_;
};

}  // namespace sim

#endif
