// lws_document.h - reading and writing LightWave scene files (.lws).
//
// A scene file is kept as its bytes, once, with marks to find its lines by, so
// that writing it back reproduces every byte that was not edited. Only the
// settings of lights are interpreted; everything else is carried along as text.
//
// Reading
// - Header: the first line is "LWSC" (a UTF-8 byte order mark before it is
//   accepted), the second the version, 1 to 8. Anything else is a LoadError.
//   What the versions differ in is listed in lws_versions.h.
// - Line ends: "\r\n", "\n" and a lone "\r" all end a line; each line keeps the
//   end it had. A last line without a line end stays without one.
// - Lights: each "AddLight" line starts a light. Its section runs up to the next
//   item ("AddLight", "AddCamera", "ShowCamera", "LoadObject...", "AddNullObject")
//   or the next scene-wide keyword (ambient light, backdrop, render options...).
//   Light settings are recognised only at the top level of a section, never
//   inside "{ ... }" blocks or "Plugin ... EndPlugin" blocks.
// - Item IDs: LWSC 1 to 3 number lights 0x20000000 + index; LWSC 4 and later
//   give the ID in hexadecimal after "AddLight" (either case; missing or
//   invalid is a LoadError).
// - Light handlers (LWSC 6 to 8): a "Plugin LightHandler N NAME" block at the
//   top level of a light names its kind (the later one if there are two). The
//   light's type is its LightType line, as in LWSC 5, or the handler's kind
//   when that line is missing; a handler naming a kind outside the five
//   (DomeLight, PhotometricLight, PortalLight or a name not known here) makes
//   the type kOtherLightKind whatever the LightType line says.
// - Settings read: LightName, LightColor (0-255 integers in LWSC 1 and 2,
//   fractions from LWSC 3 on; both are reported as fractions), LightIntensity
//   or LgtIntensity (either keyword in any version), LightType, ShadowType,
//   LightFalloffType or LightFalloff (non-zero sets bit 0 of flags), LightRange.
//   A missing setting keeps the scene::Light default. When a setting appears
//   twice in one light, the later line counts and is the one rewritten.
// - Envelopes: a value "(envelope)" is followed either by a "{ Envelope" block
//   (LWSC 3 form: "Key value time shape ..." lines) or by the older form (a
//   channel count, a key count, then per key a value line and a "frame linear
//   tension continuity bias" line, then "EndBehavior"). The form is recognised
//   from the lines themselves. The value at time 0 is the key at time 0, the
//   first key's value before the first key, the last key's after the last, and
//   otherwise the straight line between the two neighbouring keys (stepped keys
//   hold their value). Spline shapes and pre/post behaviours are not evaluated.
//   An envelope without keys is 0.
// - Malformed input is a LoadError naming the file and the 1-based line: a
//   non-number where a light setting needs a number, a truncated or unclosed
//   envelope or block, a key count that does not match the keys. Unknown
//   keywords and odd lines anywhere are kept and otherwise ignored. Inputs
//   larger than kMaxFileBytes are refused; every loop is bounded by the input.
//
// Writing (render)
// - Lights of the edited scene are paired with the file's lights by position;
//   a light whose ID differs, or a count that differs, is reported as a
//   warning and the unpaired lights are written as they were.
// - Edits and what every OK sends: the plug-in sends every setting of every
//   light on OK, edited or not, and what it sends for an untouched light is
//   not always what the file holds (a black light comes back as intensity 0
//   and colour white; the colour comes back split from the intensity). Given
//   the scene an OK without edits leaves ("unedited"), a colour or intensity
//   that differs from it (as sent, six decimals) is an edit: it is written in
//   the file's syntax wherever the file can hold it, and a warning names every
//   one it cannot. One equal to it follows the rules below, which keep the
//   file's lines where colour x intensity is unchanged; where the kept lines
//   differ from what was sent on a light that is black at time 0 (so that the
//   product says nothing about the colour), a warning says so too.
// - A setting is "changed" only when its new value, formatted as this file
//   would write it, differs from the old value formatted the same way. So a
//   value the plug-in sent back unchanged (it sends %f, six decimals) keeps its
//   original line byte for byte, even where the file holds more digits.
// - Formatting: LWSC 3 and later write decimals with six places and strip
//   trailing zeros ("1", "0.658824", "-0.5"); LWSC 1 and 2 write "%f"
//   ("0.700000"), as their files do. Integers are written with "%d".
// - Colour in LWSC 1 and 2 is stored as integers 0-255, which cannot carry
//   colour x intensity exactly. For these versions (and LWSC 6 to 8) the
//   colour and intensity lines of a light whose colour and intensity were not
//   edited are both kept when colour x intensity is unchanged (within 2e-6
//   relative); otherwise the colour is written as round(fraction x 255), half
//   away from zero, clamped to 0..255 with a warning when clamping happens.
// - A changed line keeps its indentation, its keyword as spelled in the file
//   and anything after the values; only the value text is replaced.
// - A missing line is inserted in the order Layout writes light settings:
//   LightColor, LightIntensity, LightType, LightFalloffType, LightRange, then
//   ShadowType after the cone and quality lines (LWSC 1 and 2: at the end of
//   the light). It goes after the nearest earlier setting present, else before
//   the nearest later one, else at the end of the light before blank lines.
//   Inserted lines use the keyword of the file's version and the line end of
//   the line before them.
// - Animated channels are never flattened. For an animated intensity the
//   colour carries the edit: when colour x intensity at time 0 changed (or the
//   colour or intensity was edited) and the envelope is non-zero at time 0,
//   the colour is written as the new product divided by the envelope's time-0
//   value, with a warning. When the envelope is 0 at time 0, an edited colour
//   is written as sent (the colour line does not depend on the envelope), and
//   an edited intensity cannot be kept: a warning says so. Any other animated
//   setting that changed is left alone with a warning.
// - Values that are not finite, shadow types outside 0..2 and the like are not
//   written; the old line stays and a warning names the light and setting.
//   A light type outside 0..4 is written as 0 (distant), as the plug-in's
//   command for such a value selects a distant light.
// - Light types in LWSC 6 to 8: the handler block would have to change with
//   the type, and its format is not known here, so the LightType line is
//   written only when the light has no handler block or its block already
//   names the new kind. Otherwise an edited type is an error (the file must
//   not be saved), and a type equal to what an OK without edits sends (a dome
//   light comes back as DistantLight) is kept with a warning.
// - Names and all other settings are never changed.
#ifndef VANTOREL_SCENEFILE_LWS_DOCUMENT_H
#define VANTOREL_SCENEFILE_LWS_DOCUMENT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/scene.h"
#include "scenefile/lws_versions.h"

namespace scenefile {

struct LoadError {
    std::string file;
    int line = 0;  // 1-based; 0 when the error is about the whole file
    std::string message;

    // "FILE:LINE: message" (or "FILE: message" when line is 0).
    std::string toString() const;
};

// The light settings the reader interprets, in the order Layout writes them.
enum class LwsSetting { Color, Intensity, Type, Falloff, Range, Shadow };
constexpr int kLwsSettingCount = 6;

class LwsDocument {
public:
    static constexpr std::size_t kMaxFileBytes = std::size_t{256} * 1024u * 1024u;
    static_assert(kMaxFileBytes <= 0xffffffffu, "line offsets are 32 bits wide");

    // Parses the bytes of a scene file. fileName is used in error messages only.
    // On failure returns false, fills err and leaves out unchanged.
    static bool parse(const std::string &bytes, const std::string &fileName, LwsDocument &out,
                      LoadError &err);
    // The same, taking the bytes over without a copy.
    static bool parse(std::string &&bytes, const std::string &fileName, LwsDocument &out, LoadError &err);

    // Reads the file at path in binary and parses it.
    static bool load(const std::string &path, LwsDocument &out, LoadError &err);

    int version() const { return version_; }
    const std::string &fileName() const { return fileName_; }
    std::size_t lightCount() const { return lights_.size(); }

    // The lights in file order, as the simulated Layout holds them.
    scene::Scene scene() const;

    // What render reports besides the bytes.
    struct Notes {
        // One sentence per setting kept other than as sent, naming the light,
        // the setting and the value.
        std::vector<std::string> warnings;
        // Edits the file cannot take at all; the bytes must not be saved.
        std::vector<std::string> errors;
    };

    // The file with the edited light settings written in. Lines that carry no
    // changed setting are reproduced byte for byte. `unedited` is the scene an
    // OK without any edit leaves (the document's own scene after the
    // plug-in's commands), paired with the file's lights like `edited`; null
    // when it is not known, and then every value counts as not edited.
    std::string render(const scene::Scene &edited, const scene::Scene *unedited, Notes &notes) const;
    // The same without the unedited scene; errors are added to the warnings.
    std::string render(const scene::Scene &edited, std::vector<std::string> &warnings) const;

    // Line rules of this document's version.
    const VersionRules &rules() const { return *rules_; }

    // 1-based line on which a setting of light `index` stands, 0 if absent.
    int settingLine(std::size_t index, LwsSetting setting) const;
    // Whether that setting is an envelope in the file.
    bool settingAnimated(std::size_t index, LwsSetting setting) const;
    // The name in the light's "Plugin LightHandler" block (LWSC 6 to 8); empty
    // when it has none or the block names none. hasLightHandler tells the two apart.
    bool hasLightHandler(std::size_t index) const;
    std::string_view lightHandler(std::size_t index) const;

private:
    // Lines are not copied and not listed one by one: the start of every
    // kLineStride-th line is kept, and a line is found from the nearest such
    // mark before it, or from the line looked up last (lines are mostly
    // visited in order).
    static constexpr std::size_t kLineStride = 16;
    std::size_t lineCount() const { return lineCount_; }
    std::size_t lineBegin(std::size_t i) const;      // byte offset; the file's size for i >= lineCount()
    std::string_view lineText(std::size_t i) const;  // without its line end
    std::string_view lineEol(std::size_t i) const;   // "\r\n", "\n", "\r" or "" (last line only)
    std::size_t eolLength(std::size_t begin, std::size_t end) const;

    // Line indexes and offsets are 32 bits wide: files are smaller than 4 GiB.
    struct Span {
        bool present = false;
        bool animated = false;
        std::uint32_t first = 0;       // line index of the keyword line
        std::uint32_t last = 0;        // last line of the setting (end of its envelope)
        std::uint32_t valueBegin = 0;  // byte range of the value tokens in the keyword line
        std::uint32_t valueEnd = 0;
    };
    struct Light {
        std::uint32_t begin = 0;  // the AddLight line
        std::uint32_t end = 0;    // one past the section's last line
        scene::Light value;
        double rawColor[3] = {1, 1, 1};  // as written (0-255 in LWSC 1 and 2)
        double falloff = 0;
        Span spans[kLwsSettingCount];
        // "Plugin LightHandler" line to its EndPlugin; the value range is the name.
        Span handler;
    };

    friend class LwsParser;
    friend class LwsWriter;

    std::string fileName_;
    int version_ = 0;
    const VersionRules *rules_ = versionRules(kFirstVersion);
    std::string bytes_;  // the file, once
    std::size_t lineCount_ = 0;
    std::vector<std::uint32_t> lineMarks_;  // start of lines 0, kLineStride, 2 kLineStride...
    bool loneCarriageReturn_ = false;       // some line ends in "\r" alone (else every line in '\n')
    mutable std::size_t cachedLine_ = 0;    // the line looked up last, and its start
    mutable std::size_t cachedBegin_ = 0;
    std::vector<Light> lights_;
};

// Entry point for fuzzing: parses arbitrary bytes and, when they parse, renders
// the document with its own scene and with an edited one, that one also
// against an unedited scene. Never throws for any input; returns 0.
int fuzzParseAndRender(const std::uint8_t *data, std::size_t size);

}  // namespace scenefile

#endif
