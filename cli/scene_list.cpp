// scene_list.cpp - the lights of a scene file as text and as JSON.
#include "scene_list.h"
#include "sim/panel_facts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "scenefile/lws_text.h"

namespace vhost {

namespace {

using scenefile::LwsDocument;
using scenefile::LwsSetting;

struct Range {
    std::uint32_t first, last;
};

// Code points that take no column: combining marks (general categories Mn
// and Me in the blocks where names are likely to have them), zero-width
// spaces and joiners, variation selectors.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC},   {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0900, 0x0902},
    {0x093A, 0x093A},   {0x093C, 0x093C}, {0x0941, 0x0948}, {0x094D, 0x094D}, {0x0951, 0x0957},
    {0x0E31, 0x0E31},   {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
    {0x200B, 0x200F},   {0x202A, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302D},
    {0x3099, 0x309A},   {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0x1F3FB, 0x1F3FF},
    {0xE0100, 0xE01EF},
};

// East Asian Wide and Fullwidth code points: two columns each.
constexpr Range kDoubleWidth[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x3029},   {0x302E, 0x303E},   {0x3041, 0x3098},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E},
    {0x1F191, 0x1F19A}, {0x1F200, 0x1F2FF}, {0x1F300, 0x1F320}, {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C},
    {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA}, {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4},
    {0x1F3F8, 0x1F3FA}, {0x1F400, 0x1F43E}, {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D},
    {0x1F54B, 0x1F54E}, {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4},
    {0x1F5FB, 0x1F64F}, {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2}, {0x1F6D5, 0x1F6D7},
    {0x1F6EB, 0x1F6EC}, {0x1F6F4, 0x1F6FC}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945},
    {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N>
bool inRanges(const Range (&ranges)[N], std::uint32_t cp) {
    // The tables are sorted: the first range that ends at or after cp.
    const Range *r = std::lower_bound(std::begin(ranges), std::end(ranges), cp,
                                      [](const Range &a, std::uint32_t v) { return a.last < v; });
    return r != std::end(ranges) && r->first <= cp;
}

const char *typeName(std::int32_t code) { return sim::lightTypeName(code); }
const char *shadowName(std::int32_t code) { return sim::shadowTypeName(code); }

std::string codeText(const char *name, std::int32_t code) {
    return name ? std::string(name) : scenefile::formatInt(code);
}

double colour255(double fraction) { return std::round(fraction * 255.0); }

// The names of one file, decoded the same way (see the header).
using Names = scene::NameReading;

// Text escaped as in a JSON string: ", \\ and control characters. `text` is UTF-8.
std::string escaped(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned control = 0x100;  // none
        if (c < 0x20 || c == 0x7F) control = c;
        else if (c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80)
            control = static_cast<unsigned char>(text[++i]);  // U+0080..U+009F
        if (control != 0x100) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", control);
            out += buf;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// A name in double quotes, escaped.
std::string quoted(const std::string &text) { return "\"" + escaped(text) + "\""; }

// A number as the table shows it: six decimals at most, trailing zeros
// dropped, as long as that is short and says the value; far from 1 (below
// 0.0001 other than 0, or from 1,000,000,000 up) six significant digits in
// exponent form instead, so that a column never runs to hundreds of digits.
std::string tableNumber(double v) {
    const double a = std::fabs(v);
    if (v == 0.0 || (a >= 1e-4 && a < 1e9)) return scenefile::formatTrimmed(v);
    char buf[32];
    const int len = std::snprintf(buf, sizeof buf, "%.6g", v);
    return std::string(buf, len > 0 ? static_cast<std::size_t>(len) : 0u);
}

// v x 100 as a decimal in exponent form ("1.5e+01"): v's shortest decimal
// that reads back as v (or `digits` significant digits, trailing zeros
// dropped), its exponent raised by two. Exact, unlike v x 100 in binary (0.15
// x 100 is 15.000000000000002), and finite for every finite v.
std::string percentText(double v, int digits = 0) {
    char buf[64];
    const auto r = digits > 0
                       ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1)
                       : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const std::string text(buf, r.ptr);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0') mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    const int exponent = std::atoi(text.c_str() + e + 1) + 2;
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
    return mantissa + exp;
}

// v x 100 as the double nearest to percentText(v); infinite beyond about 1.8e306.
double percentValue(double v) {
    return std::isfinite(v) ? std::strtod(percentText(v).c_str(), nullptr) : v * 100.0;
}

// The intensity in percent as the table shows it.
std::string percentShown(double v) {
    const double p = percentValue(v);
    return std::isfinite(p) || !std::isfinite(v) ? tableNumber(p) : percentText(v, 6);
}

// Marks a number given as its digits in the JSON document (see listSceneJson).
const std::string kRawNumber = "\x01";

// What the TYPE column and "type" say: the kind a light handler block names
// (LWSC 6 to 8), else the type's name or number. `known` tells whether it is
// a kind's name (for JSON, where an unknown handler's type is null).
std::string kindText(const LwsDocument &doc, std::size_t i, std::int32_t code, bool &known) {
    known = true;
    if (doc.hasLightHandler(i)) {
        const std::string_view handler = doc.lightHandler(i);
        if (const scenefile::LightKind *kind = scenefile::findLightKind(handler))
            return std::string(kind->shown);
        known = false;
        return std::string(handler);
    }
    known = typeName(code) != nullptr;
    return codeText(typeName(code), code);
}

}  // namespace

std::size_t displayWidth(const std::string &utf8) {
    std::size_t n = 0;
    const std::size_t size = utf8.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (len > size - i) len = size - i;
        std::uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1Fu) : len == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (std::size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        i += len;
        if (inRanges(kZeroWidth, cp)) continue;
        n += inRanges(kDoubleWidth, cp) ? 2 : 1;
    }
    return n;
}

std::string listScene(const LwsDocument &doc, const std::string &file) {
    const scene::Scene scene = doc.scene();
    const std::size_t n = scene.lights.size();
    std::string out = (scene::isUtf8(file) ? file : scene::cp1252ToUtf8(file)) + ": LWSC " +
                      std::to_string(doc.version()) + ", " + std::to_string(n) +
                      (n == 1 ? " light\n" : " lights\n");
    if (n == 0) return out;

    constexpr int kColumns = 8;
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"ID", "NAME", "TYPE", "INTENSITY", "COLOR", "SHADOW", "RANGE", "LIMITED"});
    const Names names(scene.lights);
    bool anyAnimated = false;
    for (std::size_t i = 0; i < n; ++i) {
        const scene::Light &l = scene.lights[i];
        auto mark = [&](LwsSetting s) -> const char * {
            if (!doc.settingAnimated(i, s)) return "";
            anyAnimated = true;
            return "*";
        };
        char id[16];
        std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(l.id));
        std::string colour;
        for (int c = 0; c < 3; ++c) colour += (c ? " " : "") + tableNumber(colour255(l.color[c]));
        bool known = false;
        const std::string kind = kindText(doc, i, l.lightType, known);
        rows.push_back({
            id,
            quoted(names(l.name)),
            escaped(scene::isUtf8(kind) ? kind : scene::cp1252ToUtf8(kind)) + mark(LwsSetting::Type),
            percentShown(l.intensity) + "%" + mark(LwsSetting::Intensity),
            colour + mark(LwsSetting::Color),
            codeText(shadowName(l.shadowType), l.shadowType) + mark(LwsSetting::Shadow),
            tableNumber(l.range) + mark(LwsSetting::Range),
            std::string((l.flags & 1u) ? "yes" : "no") + mark(LwsSetting::Falloff),
        });
    }
    std::size_t widths[kColumns] = {};
    for (const auto &row : rows)
        for (int c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], displayWidth(row[c]));
    for (const auto &row : rows) {
        std::string line;
        for (int c = 0; c < kColumns; ++c) {
            line += row[c];
            if (c + 1 < kColumns) line.append(widths[c] - displayWidth(row[c]) + 2, ' ');
        }
        out += line + "\n";
    }
    if (anyAnimated) out += "* animated: the value shown is the one at time 0\n";
    return out;
}

std::string listSceneJson(const LwsDocument &doc, const std::string &file) {
    using Json = nlohmann::ordered_json;
    const scene::Scene scene = doc.scene();
    const Names names(scene.lights);
    Json lights = Json::array();
    for (std::size_t i = 0; i < scene.lights.size(); ++i) {
        const scene::Light &l = scene.lights[i];
        Json colour = Json::array();
        for (double c : l.color) {
            const double v = colour255(c);
            if (std::fabs(v) <= 9007199254740992.0) colour.push_back(static_cast<std::int64_t>(v));
            else colour.push_back(v);  // beyond exact integers; not finite is null
        }
        Json animated = Json::array();
        static const std::pair<LwsSetting, const char *> kChannels[] = {
            {LwsSetting::Color, "color"}, {LwsSetting::Intensity, "intensity"},
            {LwsSetting::Type, "type"},   {LwsSetting::Falloff, "rangeLimited"},
            {LwsSetting::Range, "range"}, {LwsSetting::Shadow, "shadow"},
        };
        for (const auto &ch : kChannels)
            if (doc.settingAnimated(i, ch.first)) animated.push_back(ch.second);
        bool known = false;
        const std::string kind = kindText(doc, i, l.lightType, known);
        const char *shadow = shadowName(l.shadowType);
        Json light;
        light["id"] = l.id;
        light["name"] = names(l.name);
        light["type"] = known ? Json(kind) : Json(nullptr);
        light["typeCode"] = l.lightType;
        if (doc.rules().lightHandlers) {
            const std::string handler(doc.lightHandler(i));
            light["handler"] = doc.hasLightHandler(i)
                                   ? Json(scene::isUtf8(handler) ? handler : scene::cp1252ToUtf8(handler))
                                   : Json(nullptr);
        }
        const double percent = percentValue(l.intensity);
        if (std::isfinite(percent) || !std::isfinite(l.intensity)) light["intensityPercent"] = percent;
        else
            light["intensityPercent"] =
                kRawNumber + percentText(l.intensity);  // digits put in after the dump
        light["color"] = std::move(colour);
        light["shadow"] = shadow ? Json(shadow) : Json(nullptr);
        light["shadowCode"] = l.shadowType;
        light["range"] = l.range;
        light["rangeLimited"] = (l.flags & 1u) != 0;
        light["animated"] = std::move(animated);
        lights.push_back(std::move(light));
    }
    Json root;
    root["file"] = scene::isUtf8(file) ? file : scene::cp1252ToUtf8(file);
    root["version"] = doc.version();
    root["lights"] = std::move(lights);
    // Every string is valid UTF-8 by now; replacing is only a guard that can
    // never turn into an exception.
    std::string out = root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    // A percent no double holds goes in as its digits. The marked string can
    // only be one put there above: a quote inside a name is escaped.
    const std::string key = "\"intensityPercent\": ", marked = "\"\\u0001";
    for (std::size_t at = 0; (at = out.find(key + marked, at)) != std::string::npos;) {
        const std::size_t value = at + key.size(), digits = value + marked.size();
        const std::size_t close = out.find('"', digits);
        out.replace(value, close + 1 - value, out.substr(digits, close - digits));
    }
    return out;
}

}  // namespace vhost
