// view.h - inside the window front end: an SDL window that shows one picture
// at an integer zoom.
#ifndef VANTOREL_WINDOW_VIEW_H
#define VANTOREL_WINDOW_VIEW_H

#include <SDL.h>

#include <string>

#include "sim/picture.h"
#include "window.h"

namespace window {

// A window showing one picture: every picture pixel is zoom x zoom screen
// pixels, the picture's top left at the client area's top left. Nothing is
// drawn unless show() or refresh() is called.
class View {
public:
    View(const std::string &title, const sim::Picture &first, int zoom, const Settings &settings);
    ~View();
    View(const View &) = delete;
    View &operator=(const View &) = delete;

    bool ok() const { return window_ != nullptr; }
    Uint32 id() const { return window_ ? SDL_GetWindowID(window_) : 0; }
    int zoom() const { return zoom_; }

    // Shows a new picture (the window follows its size).
    void show(sim::Picture picture);
    // Puts the kept picture on screen again (after an expose).
    void refresh();

private:
    void blit(SDL_Surface *s);

    SDL_Window *window_ = nullptr;
    int zoom_ = 1;
    const Settings &settings_;
    sim::Picture shown_;
};

// The zoom asked for (1..kMaxZoom), or with 0 the largest one at which a
// w x h picture fits the screen's usable area with room for a window frame.
int chooseZoom(int requested, int w, int h);

}  // namespace window

#endif
