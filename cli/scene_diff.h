// scene_diff.h - vantorel-host --diff: what --save would write, shown as a
// unified diff against the scene file as it was read, and nothing written.
#ifndef VANTOREL_CLI_SCENE_DIFF_H
#define VANTOREL_CLI_SCENE_DIFF_H

#include <ostream>
#include <string>
#include <string_view>

#include "host.h"
#include "scenefile/lws_document.h"
#include "session/scene_diff.h"

namespace vhost {

// --diff after a session: the diff on out, when the panel closed with OK and
// the scene would change; on err the save's warnings, then one note that says
// what was shown (or why nothing was), and that nothing was written. plugin:
// as SaveOptions::plugin, so that the diff shows what a save writes. Returns
// false when a save would be refused (an edit the file cannot take: the
// errors go to err and no diff is shown), as --save fails then (exit 3).
bool printSceneDiff(const scenefile::LwsDocument &doc, std::string_view before, const sim::Host &host,
                    const std::string &scenePath, const sim::PluginLibrary *plugin, std::ostream &out,
                    std::ostream &err);

}  // namespace vhost

#endif
