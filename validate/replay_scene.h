// replay_scene.h - the scene of a replay as a scene file: written by the
// scene-file writer and read back by its reader, as vantorel-host --scene
// reads it.
#ifndef VANTOREL_VALIDATE_REPLAY_SCENE_H
#define VANTOREL_VALIDATE_REPLAY_SCENE_H

#include <optional>
#include <string>

#include "scene/scene.h"

namespace validate {

// The bytes of an LWSC 5 file holding the scene's lights (item IDs after
// AddLight, so that a light removed by shrinking leaves the others' IDs
// alone). What a file cannot hold is written as it can: six decimals, a name
// on one line, no non-numbers, types and shadow types in their ranges, no
// flag but the limited range.
std::string sceneFileBytes(const scene::Scene &s);

// The lights of such a file as the reader gives them; false with why set when
// the bytes do not read (which would be a fault of the writer).
bool readSceneFile(const std::string &bytes, scene::Scene &out, std::string &why);

// The scene as it comes back through a file (a scene that has come back once
// comes back the same); empty, with why set, if the file does not read.
std::optional<scene::Scene> throughSceneFile(const scene::Scene &s, std::string &why);

// Whether two scenes hold the same lights, bit for bit.
bool sameLights(const scene::Scene &a, const scene::Scene &b);

}  // namespace validate

#endif
