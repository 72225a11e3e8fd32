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
// --save, --png and --record as a script run does, or prints --diff. Saves
// over the --scene file are checked against saveOptions.readStamp as in a
// script run; after the shell has saved over it, the stamp is taken afresh, so
// that its own save does not count as a change made by someone else.
//
// Work done by hand is not lost at the end: when the save fails, or --record
// cannot be written, the session is kept as a recording in a new file
// (NAME-session-N.vts beside the scene file, else beside --save, else in the
// current folder, else in $TMPDIR or /tmp; stderr names it, and prints the
// session itself if no file can be written). sceneBytes: the --scene file as
// read (--diff and the shell's "Show changes" compare with it). Returns false
// when a file could not be written (exit 3). The display was opened with
// window::start().
bool runWindowSession(const Options &options, const scenefile::LwsDocument &document, sim::Host &host,
                      const sim::PluginLibrary &lib, const SaveOptions &saveOptions,
                      const std::string &sceneBytes);

}  // namespace vhost

#endif
