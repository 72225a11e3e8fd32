// scene_diff.cpp - vantorel-host --diff.
#include "scene_diff.h"

#include "scene_session.h"

#include <cmath>

#include "scenefile/lws_text.h"

namespace vhost {

namespace {

// Whether some line of the text ends in a carriage return alone.
bool hasLoneCarriageReturn(std::string_view s) {
    for (std::size_t i = s.find('\r'); i != std::string_view::npos; i = s.find('\r', i + 1))
        if (i + 1 == s.size() || s[i + 1] != '\n') return true;
    return false;
}

}  // namespace

std::vector<std::string> unlimitedRangeWarnings(const scenefile::LwsDocument &doc,
                                                const scene::Scene &scene) {
    std::vector<std::string> out;
    const scene::Scene read = doc.scene();
    const std::size_t n = std::min(read.lights.size(), scene.lights.size());
    for (std::size_t i = 0; i < n; ++i) {
        const scene::Light &was = read.lights[i], &now = scene.lights[i];
        if ((was.flags & 1u) != 0 || was.id != now.id || !std::isfinite(now.range)) continue;
        if (doc.settingAnimated(i, scenefile::LwsSetting::Range)) continue;  // the writer says so
        const std::string range = scenefile::formatTrimmed(now.range);
        if (range == scenefile::formatTrimmed(was.range)) continue;
        out.push_back("light " + std::to_string(i + 1) + " \"" + was.name + "\": its range is set to " +
                      range +
                      " (a paste carried the copied light's limited range), but its falloff stays off in the "
                      "file, so the range has no effect until falloff is turned on in Layout");
    }
    return out;
}

SceneDiff diffScene(const scenefile::LwsDocument &doc, std::string_view before, const scene::Scene &scene,
                    const std::string &name, const sim::PluginLibrary *plugin) {
    SceneBytes rendered = renderScene(doc, scene, plugin);
    SceneDiff d;
    d.bytes = std::move(rendered.bytes);
    d.warnings = std::move(rendered.warnings);
    d.errors = std::move(rendered.errors);
    if (d.errors.empty()) d.diff = unifiedDiff(before, d.bytes, name);
    return d;
}

std::string baseName(const std::string &path) {
    std::size_t cut = path.find_last_of('/');
#ifdef _WIN32
    const std::size_t back = path.find_last_of("\\:");
    if (back != std::string::npos && (cut == std::string::npos || back > cut)) cut = back;
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool printSceneDiff(const scenefile::LwsDocument &doc, std::string_view before, const sim::Host &host,
                    const std::string &scenePath, const sim::PluginLibrary *plugin, std::ostream &out,
                    std::ostream &err) {
    const std::optional<sim::Close> outcome = host.lastOutcome();
    if (!outcome) {
        err << "note: the panel never opened; there is no diff, and nothing was written\n";
        return true;
    }
    if (*outcome != sim::Close::Ok) {
        err << "note: the panel was cancelled; a save would write nothing, so there is no diff\n";
        return true;
    }
    const SceneDiff d = diffScene(doc, before, host.scene(), baseName(scenePath), plugin);
    for (const std::string &w : d.warnings) err << "warning: " << w << '\n';
    if (!d.errors.empty()) {
        for (const std::string &e : d.errors) err << "error: " << e << '\n';
        err << "error: a save of " << scenePath
            << " would be refused and write nothing, so there is no diff. Change the type of those lights in "
               "LightWave, or run the session again without that type change.\n";
        return false;
    }
    if (d.diff.text.empty()) {
        err << "note: --save would write " << scenePath
            << " unchanged, byte for byte; the diff is empty and nothing was written\n";
        return true;
    }
    out << d.diff.text;
    err << "diff: " << d.diff.removed << " line(s) removed and " << d.diff.added << " added in "
        << d.diff.hunks << " hunk(s) against " << scenePath << " as read; nothing was written\n";
    if (hasLoneCarriageReturn(before))
        err << "note: " << scenePath
            << " ends lines with a carriage return alone; diff and patch count lines by line feeds, so such "
               "lines are shown joined\n";
    return true;
}

}  // namespace vhost
