// window_session.h - vantorel-host --window and --window --shell: the run
// by hand, with the same files and transcript as a script run.
#ifndef VANTOREL_CLI_WINDOW_SESSION_H
#define VANTOREL_CLI_WINDOW_SESSION_H

#include "host.h"
#include "loader.h"
#include "options.h"
#include "scenefile/lws_document.h"

namespace vhost {

// Runs the panel in a window (or the shell with --shell) on host, then writes
// --save, --png and --record as a script run does. Returns the exit status.
// The display was opened with window::start().
int runWindowSession(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                     const sim::PluginLibrary &lib);

}  // namespace vhost

#endif
