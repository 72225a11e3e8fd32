// scene_diff.cpp - vantorel-host --diff.
#include "scene_diff.h"

#include "diagnostics.h"

namespace vhost {

bool printSceneDiff(const scenefile::LwsDocument &doc, std::string_view before, const sim::Host &host,
                    const std::string &scenePath, const sim::PluginLibrary *plugin, std::ostream &out,
                    std::ostream &err) {
    Diagnostics diag(err);
    const std::optional<sim::Close> outcome = host.lastOutcome();
    if (!outcome) {
        diag.note("the panel never opened; there is no diff, and nothing was written");
        return true;
    }
    if (*outcome != sim::Close::Ok) {
        diag.note("the panel was cancelled; a save would write nothing, so there is no diff");
        return true;
    }
    const session::SceneDiff d =
        session::diffScene(doc, before, host.scene(), session::baseName(scenePath), plugin);
    for (const std::string &w : d.warnings) diag.warning(w);
    if (!d.errors.empty()) {
        for (const std::string &e : d.errors) diag.error(e);
        diag.error(
            "a save of " + scenePath +
            " would be refused and write nothing, so there is no diff. Change the type of those lights "
            "in LightWave, or run the session again without that type change.");
        return false;
    }
    if (d.diff.text.empty()) {
        diag.note("--save would write " + scenePath +
                  " unchanged, byte for byte; the diff is empty and nothing was written");
        return true;
    }
    out << d.diff.text;
    err << "diff: " << d.diff.removed << " line(s) removed and " << d.diff.added << " added in "
        << d.diff.hunks << " hunk(s) against " << scenePath << " as read; nothing was written\n";
    if (session::hasLoneCarriageReturn(before))
        diag.note(scenePath +
                  " ends lines with a carriage return alone; diff and patch count lines by line feeds, so "
                  "such lines are shown joined");
    return true;
}

}  // namespace vhost
