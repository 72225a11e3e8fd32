// name_text.h - light names as a user reads them: UTF-8.
//
// Scene files of Layout 6.5 to 9 hold names in the Windows code page
// (cp1252), newer ones in UTF-8, and the plug-in passes names on as the bytes
// it got. Wherever the simulated Layout's tools show a name or compare one
// with what a user wrote (a scene listing, a session script, a recording),
// the scene's names are read one way for the whole scene: as they are when
// every one of them is valid UTF-8, otherwise every name as cp1252, so no
// byte is ever dropped (the five bytes cp1252 leaves undefined become the
// control characters U+0081, U+008D, U+008F, U+0090 and U+009D).
#ifndef VANTOREL_SCENE_NAME_TEXT_H
#define VANTOREL_SCENE_NAME_TEXT_H

#include <string>
#include <string_view>
#include <vector>

#include "scene/scene.h"

namespace scene {

// Whether text is well-formed UTF-8 (no overlong forms, surrogates or code
// points above U+10FFFF).
bool isUtf8(std::string_view text);
// Each byte read as Windows-1252, written as UTF-8.
std::string cp1252ToUtf8(std::string_view text);
// Text a user wrote, as UTF-8: itself when it is valid UTF-8, otherwise read
// as cp1252 (a script saved in Latin-1 still names "Ni\xF1o" as "Niño").
std::string textAsUtf8(std::string_view text);

// The reading of one scene's names (see above).
struct NameReading {
    bool utf8 = true;  // every name is valid UTF-8: names are taken as they are
    NameReading() = default;
    explicit NameReading(const std::vector<Light> &lights);
    std::string operator()(const std::string &name) const { return utf8 ? name : cp1252ToUtf8(name); }
};

}  // namespace scene

#endif
