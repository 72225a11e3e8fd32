// page_json.cpp - the page's state as JSON text.
#include "web/page_json.h"

#include <cstdio>
#include <vector>

#include "render/window_render.h"
#include "scene/name_text.h"
#include "sim/panel_geometry.h"

namespace web {

namespace {

std::string jsonBool(bool b) { return b ? "true" : "false"; }

std::string jsonStrings(const std::vector<std::string> &texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? "," : "") + jsonString(texts[i]);
    return out + "]";
}

struct Channel {
    unsigned bit;
    const char *name;
};
constexpr Channel kChannels[] = {
    {render::kTypeChannel, "type"},   {render::kIntensityChannel, "intensity"},
    {render::kColorChannel, "color"}, {render::kShadowChannel, "shadow"},
    {render::kRangeChannel, "range"}, {render::kLimitedChannel, "limited"},
};

std::string runJson(const RunLog &run) {
    std::string outcome = "null";
    if (run.outcome) outcome = *run.outcome == sim::Close::Ok ? "\"ok\"" : "\"cancel\"";
    return "{\"number\":" + std::to_string(run.number) + ",\"outcome\":" + outcome +
           ",\"result\":" + std::to_string(run.result) + ",\"commands\":" + jsonStrings(run.commands) +
           ",\"transcript\":" + jsonStrings(run.transcript) + ",\"script\":" + jsonString(run.script) +
           ",\"exitStatus\":" + std::to_string(run.exitStatus) + "}";
}

}  // namespace

std::string jsonString(std::string_view text) {
    const std::string utf8 = scene::textAsUtf8(text);
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string stateJson(const PageSession &page) {
    std::string out = "{\"scene\":{\"name\":" + jsonString(page.sceneName()) +
                      ",\"builtIn\":" + jsonBool(page.builtIn()) +
                      ",\"lights\":" + std::to_string(page.lightCount()) + "}";
    out += ",\"status\":" + jsonString(page.status());
    out += ",\"statusIsError\":" + jsonBool(page.statusIsError());
    out += ",\"saveNotes\":" + jsonStrings(page.saveNotes());
    out += ",\"unsaved\":" + std::to_string(page.unsavedEdits());
    out += ",\"unsavedWarning\":" + jsonString(page.unsavedWarning());
    out += ",\"canSave\":" + jsonBool(page.canSave());
    out += ",\"saveNote\":" + jsonString(page.saveNote());
    out += ",\"asking\":" + jsonBool(page.asking());
    out += ",\"question\":" + jsonString(page.question());
    out += ",\"run\":" + runJson(page.lastRun());
    out += ",\"canRecord\":" + jsonBool(!page.recordingText().empty());
    return out + "}";
}

std::string rowsJson(const PageSession &page) {
    std::string out = "[";
    bool first = true;
    for (const render::ShellRow &r : page.rows()) {
        std::vector<std::string> animated;
        for (const Channel &c : kChannels)
            if (r.animated & c.bit) animated.emplace_back(c.name);
        out += first ? "{" : ",{";
        first = false;
        out += "\"name\":" + jsonString(r.name) + ",\"type\":" + jsonString(r.type) +
               ",\"intensity\":" + jsonString(sim::fieldNumberText(r.intensity * 100.0) + "%") +
               ",\"r\":" + std::to_string(r.r) + ",\"g\":" + std::to_string(r.g) +
               ",\"b\":" + std::to_string(r.b) + ",\"shadow\":" + jsonString(r.shadow) +
               ",\"range\":" + jsonString(sim::fieldNumberText(r.range)) +
               ",\"limited\":" + jsonBool(r.limited) + ",\"animated\":" + jsonStrings(animated) + "}";
    }
    return out + "]";
}

std::string changesJson(const session::ShellChanges &changes) {
    return "{\"title\":" + jsonString(changes.title) + ",\"lines\":" + jsonStrings(changes.lines) + "}";
}

}  // namespace web
