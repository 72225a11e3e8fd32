// x_errors.h - what the window does about an X error that is no fault.
#ifndef VANTOREL_WINDOW_X_ERRORS_H
#define VANTOREL_WINDOW_X_ERRORS_H

namespace window {

// SDL (2.26) wakes its event loop by sending a message to one of its windows
// over a second connection to the X server. When that window is destroyed
// meanwhile (a panel closing), the server may take the destruction first and
// answer the message with BadWindow, and Xlib's default handler, which SDL
// keeps, ends the program: every unsaved edit would be gone. After this call
// that one error (BadWindow for a sent event) is ignored, and every other goes
// on to the default handler as before.
//
// Call it before SDL_Init: SDL keeps the handler it finds and puts it back
// when it closes its connections, which is when such an error often arrives.
// Xlib is loaded here (and stays loaded), not linked; without it, or where it
// is not built in, this does nothing.
void tolerateMessagesToGoneWindows();

}  // namespace window

#endif
