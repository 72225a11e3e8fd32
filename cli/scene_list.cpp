// scene_list.cpp - the lights of a scene file as text and as JSON.
#include "scene_list.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "scenefile/lws_text.h"

namespace vhost {

namespace {

using scenefile::LwsDocument;
using scenefile::LwsSetting;

const char *const kTypeNames[] = {"Distant", "Point", "Spot", "Linear", "Area"};
const char *const kShadowNames[] = {"Off", "Raytrace", "ShadowMap"};

const char *typeName(std::int32_t code) { return code >= 0 && code <= 4 ? kTypeNames[code] : nullptr; }
const char *shadowName(std::int32_t code) { return code >= 0 && code <= 2 ? kShadowNames[code] : nullptr; }

std::string codeText(const char *name, std::int32_t code) {
    return name ? std::string(name) : scenefile::formatInt(code);
}

double colour255(double fraction) { return std::round(fraction * 255.0); }

// The number the listing prints, back as a double: both outputs agree.
double shown(double value) { return std::strtod(scenefile::formatTrimmed(value).c_str(), nullptr); }

// The names of one file, decoded the same way (see the header).
using Names = sim::NameReading;

// A name in double quotes, escaped as a JSON string would be. `text` is UTF-8.
std::string quoted(const std::string &text) {
    std::string out = "\"";
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
    return out + "\"";
}

// Characters (code points) in UTF-8 text: the width of a column.
std::size_t width(const std::string &utf8) {
    std::size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

}  // namespace

std::string listScene(const LwsDocument &doc, const std::string &file) {
    const sim::Scene scene = doc.scene();
    const std::size_t n = scene.lights.size();
    std::string out = (isUtf8(file) ? file : cp1252ToUtf8(file)) + ": LWSC " + std::to_string(doc.version()) +
                      ", " + std::to_string(n) + (n == 1 ? " light\n" : " lights\n");
    if (n == 0) return out;

    constexpr int kColumns = 8;
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"ID", "NAME", "TYPE", "INTENSITY", "COLOR", "SHADOW", "RANGE", "LIMITED"});
    const Names names(scene.lights);
    bool anyAnimated = false;
    for (std::size_t i = 0; i < n; ++i) {
        const sim::SceneLight &l = scene.lights[i];
        auto mark = [&](LwsSetting s) -> const char * {
            if (!doc.settingAnimated(i, s)) return "";
            anyAnimated = true;
            return "*";
        };
        char id[16];
        std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(l.id));
        std::string colour;
        for (int c = 0; c < 3; ++c)
            colour += (c ? " " : "") + scenefile::formatTrimmed(colour255(l.color[c]));
        rows.push_back({
            id,
            quoted(names(l.name)),
            codeText(typeName(l.lightType), l.lightType) + mark(LwsSetting::Type),
            scenefile::formatTrimmed(l.intensity * 100.0) + "%" + mark(LwsSetting::Intensity),
            colour + mark(LwsSetting::Color),
            codeText(shadowName(l.shadowType), l.shadowType) + mark(LwsSetting::Shadow),
            scenefile::formatTrimmed(l.range) + mark(LwsSetting::Range),
            std::string((l.flags & 1u) ? "yes" : "no") + mark(LwsSetting::Falloff),
        });
    }
    std::size_t widths[kColumns] = {};
    for (const auto &row : rows)
        for (int c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], width(row[c]));
    for (const auto &row : rows) {
        std::string line;
        for (int c = 0; c < kColumns; ++c) {
            line += row[c];
            if (c + 1 < kColumns) line.append(widths[c] - width(row[c]) + 2, ' ');
        }
        out += line + "\n";
    }
    if (anyAnimated) out += "* animated: the value shown is the one at time 0\n";
    return out;
}

std::string listSceneJson(const LwsDocument &doc, const std::string &file) {
    using Json = nlohmann::ordered_json;
    const sim::Scene scene = doc.scene();
    const Names names(scene.lights);
    Json lights = Json::array();
    for (std::size_t i = 0; i < scene.lights.size(); ++i) {
        const sim::SceneLight &l = scene.lights[i];
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
        const char *type = typeName(l.lightType);
        const char *shadow = shadowName(l.shadowType);
        Json light;
        light["id"] = l.id;
        light["name"] = names(l.name);
        light["type"] = type ? Json(type) : Json(nullptr);
        light["typeCode"] = l.lightType;
        light["intensityPercent"] = shown(l.intensity * 100.0);
        light["color"] = std::move(colour);
        light["shadow"] = shadow ? Json(shadow) : Json(nullptr);
        light["shadowCode"] = l.shadowType;
        light["range"] = shown(l.range);
        light["rangeLimited"] = (l.flags & 1u) != 0;
        light["animated"] = std::move(animated);
        lights.push_back(std::move(light));
    }
    Json root;
    root["file"] = isUtf8(file) ? file : cp1252ToUtf8(file);
    root["version"] = doc.version();
    root["lights"] = std::move(lights);
    // Every string is valid UTF-8 by now; replacing is only a guard that can
    // never turn into an exception.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace vhost
