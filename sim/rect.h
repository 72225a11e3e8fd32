// rect.h - a rectangle in picture pixels: the one shape of everything that
// has a place in a picture (controls, buttons, fields, the shell's boxes).
#ifndef VANTOREL_SIM_RECT_H
#define VANTOREL_SIM_RECT_H

namespace sim {

// Picture pixels at zoom 1, origin at the picture's top left.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    // True for points inside; an empty rectangle contains nothing.
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    friend bool operator==(const Rect &a, const Rect &b) {
        return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
    }
    friend bool operator!=(const Rect &a, const Rect &b) { return !(a == b); }
};

}  // namespace sim

#endif
