// replay.h - a failing session as two files that vantorel-host replays: a
// session script whose expect lines are what the validator's model predicts,
// and the scene file it runs on. Replayed with the plug-in that failed, the
// script fails (exit 1); a plug-in that passes the validator passes it too.
#ifndef VANTOREL_VALIDATE_REPLAY_H
#define VANTOREL_VALIDATE_REPLAY_H

#include <optional>
#include <string>
#include <vector>

#include "session.h"

namespace validate {

// The files a replay is made of, and the plug-in it replays on.
struct ReplayNames {
    std::string plugin;  // the plug-in that failed
    std::string script = "F.vts";
    std::string scene = "F.lws";
};

struct Replay {
    Activation activation;  // the one activation replayed, on its scene as the file gives it back
    std::string problem;    // what the validator saw go wrong in it
    std::string script;     // the session script
    std::string sceneFile;  // the scene file's bytes
};

struct ReplayFinding {
    std::optional<Replay> replay;
    std::string whyNot;  // when there is none: why, as a sentence
    int replays = 0;     // sessions played while looking
};

// Looks for a replay of a failing session that shrink() has already made as
// small as it could: one activation whose script, on the scene read back from
// the file, still fails on the plug-in. That one is shrunk again, with its
// replay failing as the test; at most `budget` replays. `replayCommand` goes
// on the script's first line.
ReplayFinding findReplay(const std::string &pluginPath, const Session &shrunk, int budget,
                         const std::string &replayCommand);

// The session as a script and a scene file can carry it: each scene as it
// comes back through a file, without the events no script line can carry.
struct Writable {
    Session session;
    std::vector<std::string> changes;  // what had to change, one phrase each
    std::string fileProblem;           // the file did not read back (a fault of the writer)
};
Writable writable(const Session &s);

// Plays the session's replay on a fresh copy of the plug-in, as the script
// runner would: the first expectation that fails, or an empty text.
std::string replayProblem(const std::string &pluginPath, const Session &s);

// The session script of one activation. Its first line is "# replay: " and
// the command line that replays it, when one is given.
std::string replayScript(const Activation &a, const std::string &replayCommand, const std::string &problem);

}  // namespace validate

#endif
