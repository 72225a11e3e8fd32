// recording.cpp - a recorded session as script lines.
#include "script/recording.h"

#include "script/writer.h"

namespace script {

namespace {

bool endsWith(const std::string &s, const std::string &tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string comment(const std::string &line, const std::string &note) {
    if (note.empty() || note.find_first_of("\r\n") != std::string::npos) return "";
    if (endsWith(line, " " + note)) return "";  // lighttype Spot says it already
    return "  # " + note;
}

}  // namespace

std::vector<std::string> recordingLines(const sim::Recorder &recording) {
    std::vector<std::string> lines;
    const std::vector<sim::Action> &actions = recording.actions();
    for (size_t i = 0; i < actions.size(); ++i) {
        const std::string line = writeAction(actions[i]);
        lines.push_back(line + comment(line, recording.notes()[i]));
    }
    return lines;
}

}  // namespace script
