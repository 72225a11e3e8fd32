// recording.h - a session done by hand (sim::Recorder) as session-script
// lines: each action in the writer's canonical form, with its note as a
// trailing comment where that tells the reader more (a note holding a line
// break, or one the line already ends in, is left out).
#ifndef VANTOREL_SCRIPT_RECORDING_H
#define VANTOREL_SCRIPT_RECORDING_H

#include <string>
#include <vector>

#include "recorder.h"

namespace script {

std::vector<std::string> recordingLines(const sim::Recorder &recording);

}  // namespace script

#endif
