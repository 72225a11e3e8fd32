// scene_bytes.h - what a save of the edited scene writes: the bytes, and the
// sentences to report with them. The one way the scene is turned into bytes,
// for a save, a preview of it (the diff of a save) and every front end
// alike, so that a preview shows exactly what a save writes.
#ifndef VANTOREL_SESSION_SCENE_BYTES_H
#define VANTOREL_SESSION_SCENE_BYTES_H

#include <optional>
#include <string>
#include <vector>

#include "scene/scene.h"
#include "scenefile/lws_document.h"
#include "sim/loader.h"

namespace session {

// The document's scene after an OK without any edit: the plug-in run once on
// its own host with no event but OK. Carried-over state of the plug-in (the
// copy buffer, the current row) is read by no OK and changed by none, so the
// same loaded library the session used will do. Empty if the run did not end
// in OK.
std::optional<scene::Scene> uneditedScene(const scenefile::LwsDocument &doc,
                                          const sim::PluginLibrary &plugin);

// The host's own warnings on a save, beside the writer's: a light whose range
// the commands changed while its range is not limited in the file. Only a
// paste brings that about (it carries the copied light's limited-range flag
// into the row, and the plug-in then sends LightRange), and no command turns
// falloff on, so the file gets a range that Layout ignores. One sentence each.
std::vector<std::string> unlimitedRangeWarnings(const scenefile::LwsDocument &doc, const scene::Scene &scene);

struct SceneBytes {
    std::string bytes;
    std::vector<std::string> warnings;  // the writer's, then unlimitedRangeWarnings
    std::vector<std::string> errors;    // edits the file cannot take: nothing may be written
};

// The edited scene as the file's bytes. plugin: the plug-in the session ran;
// the writer asks it what an OK without edits sends for the file's lights, to
// tell edits from values the plug-in sends back for every light (see
// uneditedScene). Null: every value is compared with the file alone.
SceneBytes renderScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                       const sim::PluginLibrary *plugin);

}  // namespace session

#endif
