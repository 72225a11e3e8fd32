// picture.cpp - clipped RGB drawing.
#include "picture.h"

#include <algorithm>
#include <cstring>

#include "font.h"

namespace sim {

namespace {
// Clips [start, start + len) to [0, limit) in 64-bit arithmetic so that no
// argument, however large, overflows. Returns false when nothing is left.
bool clipSpan(int start, int len, int limit, int &from, int &to) {
    if (len <= 0) return false;
    long long a = start, b = static_cast<long long>(start) + len;
    a = std::max<long long>(a, 0);
    b = std::min<long long>(b, limit);
    if (a >= b) return false;
    from = static_cast<int>(a);
    to = static_cast<int>(b);
    return true;
}

// Pixel buffers of pictures that went away, kept for the next pictures. A
// session makes a panel picture and a list raster (about 1 MB together) for
// every activation; taking them from here spares the allocator and the kernel
// mapping, zeroing and unmapping that much memory each time, which is most of
// a sanitized fuzz run's time. Small buffers are not worth keeping.
class SpareBuffers {
public:
    static constexpr size_t kMinBytes = size_t{64} * 1024;
    static constexpr size_t kMaxKept = 4;
    ~SpareBuffers() { gone() = true; }
    // A buffer with room for at least n bytes (empty), or a new empty one.
    static std::vector<uint8_t> take(size_t n) {
        std::vector<uint8_t> out;
        if (n < kMinBytes || gone()) return out;
        auto &kept = instance().kept_;
        auto best = kept.end();
        for (auto it = kept.begin(); it != kept.end(); ++it)
            if (it->capacity() >= n && (best == kept.end() || it->capacity() < best->capacity())) best = it;
        if (best != kept.end()) {
            out = std::move(*best);
            kept.erase(best);
            out.clear();
        }
        return out;
    }
    static void giveBack(std::vector<uint8_t> &&buffer) {
        if (buffer.capacity() < kMinBytes || gone()) return;
        auto &kept = instance().kept_;
        if (kept.size() == kMaxKept) kept.erase(kept.begin());  // the oldest goes
        kept.push_back(std::move(buffer));
    }

private:
    static SpareBuffers &instance() {
        static thread_local SpareBuffers spares;
        return spares;
    }
    // Set once the thread's spares are destroyed; pictures that outlive them free their own.
    static bool &gone() {
        static thread_local bool flag = false;
        return flag;
    }
    std::vector<std::vector<uint8_t>> kept_;
};

}  // namespace

Picture::Picture(int width, int height, Rgb fill) : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    const size_t bytes = static_cast<size_t>(width_) * 3 * static_cast<size_t>(height_);
    pixels_ = SpareBuffers::take(bytes);
    if (bytes == 0) return;
    if (fill.r == fill.g && fill.g == fill.b) {
        pixels_.assign(bytes, fill.r);  // a grey: one memset
        return;
    }
    // One pixel, then the filled part copied after itself until the picture
    // is full (rows follow each other without gaps): about log2(pixels) copies.
    pixels_.resize(bytes);
    uint8_t *p = pixels_.data();
    p[0] = fill.r;
    p[1] = fill.g;
    p[2] = fill.b;
    for (size_t done = 3; done < bytes;) {
        const size_t n = std::min(done, bytes - done);
        std::memcpy(p + done, p, n);
        done += n;
    }
}

Picture::~Picture() { SpareBuffers::giveBack(std::move(pixels_)); }

Picture &Picture::operator=(Picture &&other) noexcept {
    // The old pixels leave with `other`, which gives them back when it goes.
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    pixels_.swap(other.pixels_);
    return *this;
}

Rgb Picture::at(int x, int y) const {
    if (!contains(x, y)) return {};
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

size_t Picture::offset(int x, int y) const {
    return (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
}

void Picture::put(int x, int y, Rgb c) {
    size_t i = offset(x, y);
    pixels_[i] = c.r;
    pixels_[i + 1] = c.g;
    pixels_[i + 2] = c.b;
}

void Picture::fillBox(int x, int y, int w, int h, Rgb colour) {
    int x0, x1, y0, y1;
    if (!clipSpan(x, w, width_, x0, x1) || !clipSpan(y, h, height_, y0, y1)) return;
    // The first row pixel by pixel, the others copied from it.
    const size_t rowBytes = static_cast<size_t>(x1 - x0) * 3;
    uint8_t *first = &pixels_[offset(x0, y0)];
    for (int xx = x0; xx < x1; ++xx) put(xx, y0, colour);
    for (int yy = y0 + 1; yy < y1; ++yy) std::memcpy(&pixels_[offset(x0, yy)], first, rowBytes);
}

void Picture::drawText(int x, int y, std::string_view text, Rgb colour) {
    // Only the glyph rows and the characters that meet the picture are looked
    // at: a text wholly above, below or beside it costs nothing per character.
    const long long top = y;  // the cells' top row; accents and descenders reach beyond the ink rows
    const int r0 = static_cast<int>(std::clamp<long long>(-top, 0, font::kCellHeight));
    const int r1 = static_cast<int>(std::clamp<long long>(height_ - top, 0, font::kCellHeight));
    if (r0 >= r1 || text.empty()) return;
    // First character whose cell reaches column 0: cx + kGlyphWidth > 0.
    size_t first = 0;
    if (static_cast<long long>(x) + font::kGlyphWidth <= 0)
        first = static_cast<size_t>((-static_cast<long long>(x) - font::kGlyphWidth) / font::kAdvance + 1);
    for (size_t i = first; i < text.size(); ++i) {
        const long long cx = static_cast<long long>(x) + static_cast<long long>(i) * font::kAdvance;
        if (cx >= width_) break;
        const uint8_t *rows = font::cellRows(static_cast<unsigned char>(text[i]));
        const int c0 = static_cast<int>(std::max<long long>(0, -cx));
        const int c1 = static_cast<int>(std::min<long long>(font::kGlyphWidth, width_ - cx));
        for (int r = r0; r < r1; ++r) {
            if (!rows[r]) continue;
            const int py = static_cast<int>(top + r);
            for (int c = c0; c < c1; ++c)
                if (rows[r] & (0x10 >> c)) put(static_cast<int>(cx + c), py, colour);
        }
    }
}

void Picture::copyFrom(const Picture &src, int sx, int sy, int dx, int dy, int w, int h) {
    // Offsets i, j inside the box for which both source and destination pixels exist.
    long long i0 = std::max({0LL, -static_cast<long long>(sx), -static_cast<long long>(dx)});
    long long i1 = std::min({static_cast<long long>(w), static_cast<long long>(src.width_) - sx,
                             static_cast<long long>(width_) - dx});
    long long j0 = std::max({0LL, -static_cast<long long>(sy), -static_cast<long long>(dy)});
    long long j1 = std::min({static_cast<long long>(h), static_cast<long long>(src.height_) - sy,
                             static_cast<long long>(height_) - dy});
    if (i0 >= i1 || j0 >= j1) return;
    if (&src == this) {
        // A copy within one picture goes pixel by pixel, row by row, in this
        // order, so that overlapping boxes give what they always gave.
        for (long long j = j0; j < j1; ++j)
            for (long long i = i0; i < i1; ++i)
                put(static_cast<int>(dx + i), static_cast<int>(dy + j),
                    src.at(static_cast<int>(sx + i), static_cast<int>(sy + j)));
        return;
    }
    const size_t rowBytes = static_cast<size_t>(i1 - i0) * 3;
    for (long long j = j0; j < j1; ++j)
        std::memcpy(&pixels_[offset(static_cast<int>(dx + i0), static_cast<int>(dy + j))],
                    &src.pixels_[src.offset(static_cast<int>(sx + i0), static_cast<int>(sy + j))], rowBytes);
}

void Picture::growTo(int w, int h, Rgb fill) {
    if (w <= width_ && h <= height_) return;
    Picture bigger(std::max(w, width_), std::max(h, height_), fill);
    bigger.copyFrom(*this, 0, 0, 0, 0, width_, height_);
    *this = std::move(bigger);
}

int Picture::countColour(Rgb colour, int x, int y, int w, int h) const {
    int x0, x1, y0, y1, n = 0;
    if (!clipSpan(x, w, width_, x0, x1) || !clipSpan(y, h, height_, y0, y1)) return 0;
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx)
            if (at(xx, yy) == colour) ++n;
    return n;
}

}  // namespace sim
