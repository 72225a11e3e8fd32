// scene_list.h - vantorel-host --scene S.lws --list [--json]: the lights of a
// scene file as the file holds them, without running the plug-in.
//
// Each light: item ID, name, light type, intensity in percent, colour as 0-255,
// shadow type, range and whether the range is limited (the falloff flag).
// Values are those the scene-file reader takes (see scenefile/lws_document.h):
// an animated channel is marked and shows its value at time 0, which is the
// key at time 0, else the straight line between the keys around time 0 (the
// first key's value before it, the last key's after it; stepped keys hold).
//
// - Colour: each component x 255 rounded to the nearest integer (half away from
//   zero), not clamped: LWSC 1 and 2 store these integers, later versions the
//   fraction (0.388235 is 99). The panel truncates instead, and shows colours
//   after the scan has scaled them; the listing shows the file.
// - Intensity in percent and range: six decimals at most, trailing zeros
//   dropped ("15", "12.5"); below 0.0001 (but not 0) and from 1e9 up, six
//   significant digits in exponent form ("1e-07", "1e+302"), colours too. The
//   JSON numbers are exact: the shortest decimal that reads back as the value
//   (the percent is that of the intensity with the point moved, so 0.15 gives
//   15; one too large for a double is written as its digits all the same).
// - Type: in LWSC 6 to 8 the kind the light's handler block names (Dome,
//   Photometric, Portal, the five types, or an unknown handler's own name).
// - Columns are aligned by displayWidth.
// - Names: scene files of Layout 6.5 to 9 hold names in the Windows code page
//   (cp1252), newer ones in UTF-8. A file's names are taken as UTF-8 when every
//   one of them is valid UTF-8, otherwise every name is read as cp1252, so no
//   byte is ever dropped (the five bytes cp1252 leaves undefined become the
//   control characters U+0081, U+008D, U+008F, U+0090 and U+009D). Both
//   outputs are UTF-8.
//
// Plain listing: a title line "FILE: LWSC V, N lights", a column header, one
// line per light in file order, and, when a value is animated, a last line
// explaining the "*" that marks it. Names are in double quotes with ", \ and
// control characters escaped as in JSON (\", \\, \u0009).
//
// JSON: one object {"file", "version", "lights": [...]}; each light has "id",
// "name", "type" (a name, or null for a code outside 0..4 or an unknown
// handler), "typeCode", in LWSC 6 to 8 "handler" (the handler block's name or
// null), "intensityPercent", "color" ([r, g, b]), "shadow" (a name or null),
// "shadowCode", "range", "rangeLimited" and "animated" (the animated channels
// among "color", "intensity", "type", "rangeLimited", "range", "shadow").
#ifndef VANTOREL_CLI_SCENE_LIST_H
#define VANTOREL_CLI_SCENE_LIST_H

#include <cstddef>
#include <string>

#include "scene/name_text.h"
#include "scenefile/lws_document.h"

namespace vhost {

// The plain listing; `file` is the name shown in the title.
std::string listScene(const scenefile::LwsDocument &doc, const std::string &file);
// The JSON document, pretty-printed, ending in a newline.
std::string listSceneJson(const scenefile::LwsDocument &doc, const std::string &file);

// The decoding of names, shared with the session scripts (scene/name_text.h).
using scene::cp1252ToUtf8;
using scene::isUtf8;
// Columns UTF-8 text takes in a terminal: East Asian Wide and Fullwidth
// characters two, combining marks and other zero-width characters none,
// everything else one (a small table of ranges, not the whole of Unicode).
std::size_t displayWidth(const std::string &utf8);

}  // namespace vhost

#endif
