// scene_diff.h - vantorel-host --diff: what --save would write, shown as a
// unified diff against the scene file as it was read, and nothing written.
#ifndef VANTOREL_CLI_SCENE_DIFF_H
#define VANTOREL_CLI_SCENE_DIFF_H

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"
#include "scenefile/lws_document.h"
#include "unified_diff.h"

namespace vhost {

// The host's own warnings on a save, beside the writer's: a light whose range
// the commands changed while its range is not limited in the file. Only a
// paste brings that about (it carries the copied light's limited-range flag
// into the row, and the plug-in then sends LightRange), and no command turns
// falloff on, so the file gets a range that Layout ignores. One sentence each.
std::vector<std::string> unlimitedRangeWarnings(const scenefile::LwsDocument &doc, const scene::Scene &scene);

struct SceneDiff {
    std::vector<std::string> warnings;  // the writer's, then unlimitedRangeWarnings
    std::vector<std::string> errors;    // edits the file cannot take: a save would write nothing
    UnifiedDiff diff;
    std::string bytes;  // what a save would write
};

// The scene rendered as a save renders it, against before (the bytes the
// file held when it was read, or when it was last saved). name: the base name
// shown in the diff's header lines.
// plugin: as SaveOptions::plugin, so that the diff shows what a save writes.
SceneDiff diffScene(const scenefile::LwsDocument &doc, std::string_view before, const scene::Scene &scene,
                    const std::string &name, const sim::PluginLibrary *plugin);

// The file name without its folders ("scenes/a.lws" gives "a.lws").
std::string baseName(const std::string &path);

// --diff after a session: the diff on out, when the panel closed with OK and
// the scene would change; on err the save's warnings, then one note that says
// what was shown (or why nothing was), and that nothing was written. Returns
// false when a save would be refused (an edit the file cannot take: the
// errors go to err and no diff is shown), as --save fails then (exit 3).
bool printSceneDiff(const scenefile::LwsDocument &doc, std::string_view before, const sim::Host &host,
                    const std::string &scenePath, const sim::PluginLibrary *plugin, std::ostream &out,
                    std::ostream &err);

}  // namespace vhost

#endif
