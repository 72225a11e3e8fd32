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
// The code points of valid UTF-8 text (see isUtf8), and one code point in UTF-8.
std::u32string utf8CodePoints(std::string_view text);
std::string utf8Of(char32_t cp);
// A character as a message names it: "ñ" (U+00F1).
std::string characterName(char32_t cp);
// UTF-8 text in Windows-1252, the inverse of cp1252ToUtf8. Returns false with
// unmapped set to the first character that has no cp1252 byte.
bool utf8ToCp1252(std::string_view text, std::string &out, char32_t &unmapped);

// The reading of one scene's names (see above).
struct NameReading {
    bool utf8 = true;  // every name is valid UTF-8: names are taken as they are
    NameReading() = default;
    explicit NameReading(const std::vector<Light> &lights);
    std::string operator()(const std::string &name) const { return utf8 ? name : cp1252ToUtf8(name); }
    // The other way: a text a user wrote (read as textAsUtf8 does) in the
    // bytes this scene's names are made of, so that it compares with them as
    // the user sees them: as it is for UTF-8 names, in cp1252 for cp1252
    // ones. Returns false with why set when a character has no cp1252 byte.
    bool bytesOf(std::string_view text, std::string &bytes, std::string &why) const;
};

}  // namespace scene

#endif
