// display_start.h - opening the display for --window and --shell, with the
// messages of SDL and of the libraries under it marked as theirs.
//
// Those libraries print on stderr in their own words: libwayland-client, which
// SDL tries when there is no X display, prints "error: XDG_RUNTIME_DIR is
// invalid or not set in the environment.", which reads like one of the host's
// own "error:" lines. They are passed on as "vantorel-host: note: SDL: ...".
#ifndef VANTOREL_CLI_DISPLAY_START_H
#define VANTOREL_CLI_DISPLAY_START_H

#include <string>

namespace vhost {

// Routes SDL's log to stderr as notes and opens the display (window::start),
// passing on as notes what was printed on stderr meanwhile. Returns false with
// error set when there is no display.
bool startDisplay(std::string &error);

// The note for one line a display library printed: its own "error: " or
// "ERROR: " prefix dropped, ours put in front.
std::string displayNote(const std::string &line);

}  // namespace vhost

#endif
