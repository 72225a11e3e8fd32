// view.cpp - presenting pictures in an SDL window.
#include "view.h"

#include <algorithm>
#include <cstring>

namespace window {

View::View(const std::string &title, const sim::Picture &first, int zoom, const Settings &settings)
    : zoom_(zoom), settings_(settings) {
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               first.width() * zoom, first.height() * zoom, SDL_WINDOW_SHOWN);
    show(first);
}

View::~View() {
    if (window_) SDL_DestroyWindow(window_);
}

void View::show(sim::Picture picture) {
    if (!window_) return;
    if (picture.width() != shown_.width() || picture.height() != shown_.height())
        SDL_SetWindowSize(window_, picture.width() * zoom_, picture.height() * zoom_);
    shown_ = std::move(picture);
    refresh();
}

void View::refresh() {
    SDL_Surface *surface = window_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!surface) return;
    blit(surface);
    SDL_UpdateWindowSurface(window_);
    if (settings_.presented) settings_.presented(id());
}

void View::blit(SDL_Surface *s) {
    const SDL_PixelFormat *f = s->format;
    const int w = std::min(shown_.width(), s->w / zoom_), h = std::min(shown_.height(), s->h / zoom_);
    if (f->BytesPerPixel == 4 && f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0) {
        // The usual case: 32-bit pixels, written row by row; a zoomed row is
        // built once and copied zoom - 1 times.
        if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
        auto *base = static_cast<uint8_t *>(s->pixels);
        const uint8_t *src = shown_.rgb().data();
        for (int y = 0; y < h; ++y) {
            auto *row = reinterpret_cast<Uint32 *>(base + static_cast<ptrdiff_t>(y) * zoom_ * s->pitch);
            const uint8_t *p = src + static_cast<size_t>(y) * static_cast<size_t>(shown_.width()) * 3;
            for (int x = 0; x < w; ++x, p += 3) {
                const Uint32 v = (Uint32{p[0]} << f->Rshift) | (Uint32{p[1]} << f->Gshift) |
                                 (Uint32{p[2]} << f->Bshift) | f->Amask;
                for (int i = 0; i < zoom_; ++i) row[x * zoom_ + i] = v;
            }
            for (int i = 1; i < zoom_; ++i)
                std::memcpy(base + static_cast<ptrdiff_t>(y * zoom_ + i) * s->pitch, row,
                            static_cast<size_t>(w * zoom_) * 4);
        }
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        return;
    }
    // Any other screen format: SDL converts and scales.
    SDL_Surface *src =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t *>(shown_.rgb().data()), shown_.width(),
                                           shown_.height(), 24, shown_.width() * 3, SDL_PIXELFORMAT_RGB24);
    if (!src) return;
    SDL_Rect to{0, 0, shown_.width() * zoom_, shown_.height() * zoom_};
    SDL_BlitScaled(src, nullptr, s, &to);
    SDL_FreeSurface(src);
}

int chooseZoom(int requested, int w, int h) {
    if (requested >= 1) return std::min(requested, kMaxZoom);
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0) return 1;
    for (int z = kMaxZoom; z > 1; --z)
        if (w * z <= usable.w - 16 && h * z <= usable.h - 48) return z;
    return 1;
}

}  // namespace window
