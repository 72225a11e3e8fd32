// window_session.h - vantorel-host --window and --window --shell: the run
// by hand, with the same files and transcript as a script run.
#ifndef VANTOREL_CLI_WINDOW_SESSION_H
#define VANTOREL_CLI_WINDOW_SESSION_H

#include "host.h"
#include "loader.h"
#include "options.h"
#include "scene_session.h"
#include "scenefile/lws_document.h"

namespace vhost {

// Runs the panel in a window (or the shell with --shell) on host, then writes
// --save, --png and --record as a script run does. Saves over the --scene
// file are checked against saveOptions.readStamp as in a script run; after the
// shell has saved over it, the stamp is taken afresh, so that its own save does
// not count as a change made by someone else. Returns false when a file could
// not be written (exit 3). The display was opened with window::start().
bool runWindowSession(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                      const sim::PluginLibrary &lib, SaveOptions saveOptions);

}  // namespace vhost

#endif
