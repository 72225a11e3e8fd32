// x_errors.cpp - see x_errors.h. Kept apart because Xlib's header defines None,
// KeyPress and other plain words as macros.
#include "x_errors.h"

#if __has_include(<X11/Xlib.h>) && __has_include(<dlfcn.h>)
#include <X11/Xlib.h>
#include <dlfcn.h>

namespace window {

namespace {
XErrorHandler defaultHandler = nullptr;

int onXError(Display *display, XErrorEvent *e) {
    constexpr unsigned char kSendEvent = 25;  // the X_SendEvent request
    if (e->error_code == BadWindow && e->request_code == kSendEvent) return 0;
    return defaultHandler ? defaultHandler(display, e) : 0;
}
}  // namespace

void tolerateMessagesToGoneWindows() {
    static void *xlib = dlopen("libX11.so.6", RTLD_LAZY);  // kept for the process's life
    if (!xlib || defaultHandler) return;
    using SetErrorHandler = XErrorHandler (*)(XErrorHandler);
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(xlib, "XSetErrorHandler")))
        defaultHandler = set(&onXError);
}

}  // namespace window

#else

namespace window {
void tolerateMessagesToGoneWindows() {}
}  // namespace window

#endif
