// shell_scene.h - the scene file the shell edits across runs of the plug-in:
// where its saves go, what the save target holds as far as the shell knows
// (the file as read, then what it saved last), and the page of changes that
// "Show changes" shows against that.
#ifndef VANTOREL_SESSION_SHELL_SCENE_H
#define VANTOREL_SESSION_SHELL_SCENE_H

#include <optional>
#include <string>

#include "scene/scene.h"
#include "scenefile/lws_document.h"
#include "session/scene_diff.h"
#include "session/scene_save.h"
#include "session/shell_logic.h"
#include "session/store.h"
#include "sim/loader.h"

namespace session {

// The shell window's page is this many characters wide.
int shellPageColumns();

// The page of changes for a diff: the warnings, then the errors or the diff,
// one line each, sentences wrapped to columns characters (0: not wrapped,
// for a front end that wraps text itself). target: the name Save writes to;
// against: what the diff compares with ("s.lws as read").
ShellChanges pageOfChanges(const SceneDiff &d, const std::string &target, const std::string &against,
                           int columns = shellPageColumns());

class ShellScene {
public:
    // doc: the scene file's document (a default one for a built-in scene);
    // sceneFile: its name, none for a built-in scene; saveFile: the file
    // named for saving, if any; bytesAsRead: the scene file as read. plugin:
    // as for renderScene. Every save goes through store, forced when force is
    // given (the front end was told to) or the request asks for it.
    ShellScene(const scenefile::LwsDocument &doc, std::optional<std::string> sceneFile,
               const std::optional<std::string> &saveFile, std::string bytesAsRead,
               const sim::PluginLibrary *plugin, Store &store, bool force);

    // For a built-in scene, what the page of changes adds to "no file to
    // compare with": how this front end is given a scene file.
    std::string howToOpen;

    // Saves scene as the request says. After a save, "Show changes" compares
    // with what was written.
    SceneSave save(const scene::Scene &scene, const SaveRequest &request);
    // What Save would write now, against what the target holds (columns: as
    // for pageOfChanges).
    ShellChanges changes(const scene::Scene &scene, int columns = shellPageColumns()) const;

private:
    const scenefile::LwsDocument &doc_;
    bool hasFile_;
    std::string baseline_;      // what the save target holds as far as the shell knows
    std::string baselineName_;  // its base name, for the diff's headers
    std::string against_;       // "s.lws as read", then "it was saved last"
    std::string targetName_;    // where Save writes, for the page's title
    const sim::PluginLibrary *plugin_;
    Store &store_;
    bool force_;
};

}  // namespace session

#endif
