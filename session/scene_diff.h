// scene_diff.h - what a save would write, as a unified diff against what the
// target holds (the scene file as read, or what was saved last).
#ifndef VANTOREL_SESSION_SCENE_DIFF_H
#define VANTOREL_SESSION_SCENE_DIFF_H

#include <string>
#include <string_view>
#include <vector>

#include "scene/scene.h"
#include "scenefile/lws_document.h"
#include "session/unified_diff.h"
#include "sim/loader.h"

namespace session {

struct SceneDiff {
    std::vector<std::string> warnings;  // the writer's, then unlimitedRangeWarnings
    std::vector<std::string> errors;    // edits the file cannot take: a save would write nothing
    UnifiedDiff diff;                   // empty when there are errors
    std::string bytes;                  // what a save would write
};

// The scene rendered as a save renders it (renderScene), against before.
// name: the base name shown in the diff's header lines. plugin: as for
// renderScene, so that the diff shows what a save writes.
SceneDiff diffScene(const scenefile::LwsDocument &doc, std::string_view before, const scene::Scene &scene,
                    const std::string &name, const sim::PluginLibrary *plugin);

// The file name without its folders ("scenes/a.lws" gives "a.lws"; on
// Windows a backslash or a drive's colon ends a folder too).
std::string baseName(const std::string &path);

}  // namespace session

#endif
