// shell_scene.cpp - the shell's saves and its page of changes.
#include "session/shell_scene.h"

#include <utility>

#include "render/window_render.h"

namespace session {

namespace {

// Sentences wrapped to the page, the lines after the first indented.
void addWrapped(ShellChanges &c, const std::string &text, int columns) {
    if (columns < 1) {
        c.lines.push_back(text);
        return;
    }
    const std::vector<std::string> wrapped = render::wrapText(text, columns - 2, 0);
    for (std::size_t i = 0; i < wrapped.size(); ++i) c.lines.push_back((i ? "  " : "") + wrapped[i]);
}

}  // namespace

int shellPageColumns() { return render::shellLayout().pageColumns; }

ShellChanges pageOfChanges(const SceneDiff &d, const std::string &target, const std::string &against,
                           int columns) {
    ShellChanges c;
    for (const std::string &w : d.warnings) addWrapped(c, "warning: " + w, columns);
    if (!d.errors.empty()) {
        c.title = "Save to " + target + " would be refused: nothing would be written";
        for (const std::string &e : d.errors) addWrapped(c, "error: " + e, columns);
        return c;
    }
    if (d.diff.text.empty()) {
        c.title = "No changes: Save would write " + target + " as " + against;
        if (c.lines.empty()) c.lines.push_back("Nothing would change.");
        return c;
    }
    c.title = "Save to " + target + ", against " + against + ": " + std::to_string(d.diff.removed) +
              " line(s) removed, " + std::to_string(d.diff.added) + " added";
    // One line per line of the diff, shown without the CR of a CRLF file.
    const std::string &text = d.diff.text;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::size_t cut = end;
        if (cut > from && text[cut - 1] == '\r') --cut;
        c.lines.push_back(text.substr(from, cut - from));
        from = end + 1;
    }
    return c;
}

ShellScene::ShellScene(const scenefile::LwsDocument &doc, std::optional<std::string> sceneFile,
                       const std::optional<std::string> &saveFile, std::string bytesAsRead,
                       const sim::PluginLibrary *plugin, Store &store, bool force)
    : doc_(doc),
      hasFile_(sceneFile.has_value()),
      baseline_(std::move(bytesAsRead)),
      plugin_(plugin),
      store_(store),
      force_(force) {
    if (sceneFile) {
        baselineName_ = baseName(*sceneFile);
        against_ = baselineName_ + " as read";
    }
    targetName_ = saveFile ? baseName(*saveFile) : baselineName_;
}

SceneSave ShellScene::save(const scene::Scene &scene, const SaveRequest &request) {
    SceneSave s = saveScene(doc_, scene, plugin_, store_, request.path, force_ || request.force);
    if (s.result.status == SaveStatus::Written) {
        baseline_ = s.bytes;
        baselineName_ = targetName_ = baseName(request.path);
        against_ = "it was saved last";
    }
    return s;
}

ShellChanges ShellScene::changes(const scene::Scene &scene, int columns) const {
    if (!hasFile_) {
        ShellChanges c;
        c.title = "No scene file";
        c.lines = {"The built-in scene has no file to compare with" +
                   (howToOpen.empty() ? "" : "; " + howToOpen) + "."};
        return c;
    }
    return pageOfChanges(diffScene(doc_, baseline_, scene, baselineName_, plugin_), targetName_, against_,
                         columns);
}

}  // namespace session
