// scene_save.h - saving the edited scene: its bytes (renderScene) written to
// a Store, with everything there is to report about it.
#ifndef VANTOREL_SESSION_SCENE_SAVE_H
#define VANTOREL_SESSION_SCENE_SAVE_H

#include <string>
#include <vector>

#include "scene/scene.h"
#include "scenefile/lws_document.h"
#include "session/store.h"
#include "sim/loader.h"

namespace session {

struct SceneSave {
    std::vector<std::string> warnings;  // renderScene's: values the file keeps otherwise
    // Edits the file cannot take (a light type change in LWSC 6 to 8 that its
    // handler block does not allow). Then nothing is written and the result
    // is Failed, with the message saying so.
    std::vector<std::string> errors;
    SaveResult result;
    std::string bytes;  // what was written (when it was)
};

// Renders the scene (plugin: as for renderScene) and, unless the edits hold
// one the file cannot take, writes it to target through store.
SceneSave saveScene(const scenefile::LwsDocument &doc, const scene::Scene &scene,
                    const sim::PluginLibrary *plugin, Store &store, const std::string &target, bool force);

}  // namespace session

#endif
