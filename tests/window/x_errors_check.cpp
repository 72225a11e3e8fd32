// x_errors_check.cpp - the window's X error handler, on a real display: a
// message sent to a window that is gone no longer ends the program; any other
// X error still does, through Xlib's default handler (exit status 1).
//
//   x-errors-check gone    must exit 0
//   x-errors-check other   must exit 1 (a BadWindow for another request)
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

#include "window/x_errors.h"

int main(int argc, char **argv) {
    const bool other = argc > 1 && std::strcmp(argv[1], "other") == 0;
    window::tolerateMessagesToGoneWindows();
    Display *d = XOpenDisplay(nullptr);
    if (!d) {
        (void)std::fputs("x-errors-check: no display\n", stderr);
        return 77;
    }
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(d, w);
    if (other) {
        XMapWindow(d, w);  // BadWindow for MapWindow: not one to ignore
    } else {
        XEvent e;
        std::memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.format = 32;
        XSendEvent(d, w, False, NoEventMask, &e);
    }
    XSync(d, False);  // the error arrives here
    XCloseDisplay(d);
    (void)std::puts("x-errors-check: still running");
    return 0;
}
