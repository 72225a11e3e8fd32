// validate_mode.cpp - the validation mode of vantorel-host.
#include "validate_mode.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "about.h"
#include "diagnostics.h"
#include "file_roles.h"
#include "fileio/durable_write.h"
#include "replay_script.h"
#include "standard_output.h"
#include "validate.h"

namespace vhost {

namespace {

namespace fs = std::filesystem;

constexpr const char *kAnotherPlugin = "give another plug-in with --plugin FILE";

std::string absolutePath(const std::string &path) {
    std::error_code ec;
    const fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

// The command line that replays a failure's files.
std::string replayCommandLine(const validate::ReplayNames &n) {
    return "vantorel-host --plugin " + validate::shellWord(n.plugin) + " --scene " +
           validate::shellWord(n.scene) + " --script " + validate::shellWord(n.script);
}

// Before the run: neither file may be the plug-in, and both can be written
// where they go.
int checkFailureFiles(const std::string &script, const std::string &scene, const std::string &plugin) {
    FileRoles roles;
    roles.inputs.push_back({"--plugin", "the plug-in", plugin, false, "", ""});
    roles.outputs.push_back({"--failure-script", "the failure script", script, false, "", ""});
    roles.outputs.push_back(
        {"the failure script's scene", "the failure script's scene", scene, false, "", ""});
    const std::string clash = findCollision(roles);
    const std::vector<std::string> problems =
        clash.empty() ? checkOutputPlaces(roles.outputs) : std::vector<std::string>{clash};
    for (const std::string &p : problems) diagnostics().error(p);
    if (problems.empty()) return kExitRan;
    diagnostics().note("nothing was validated or written");
    return kExitUsage;
}

// After the run: the first failure's two files, or why there are none.
int writeFailureFiles(const std::optional<validate::FirstFailure> &first, validate::Status status,
                      const validate::ReplayNames &names, const std::string &script,
                      const std::string &scene) {
    if (!first) {
        if (status == validate::kAllPassed)
            diagnostics().note("every check passed; no failure script was written");
        else if (status == validate::kSomeFailed)
            diagnostics().note(
                "no failure script was written: the checks that failed (the descriptor or a host fault) play "
                "no session that a script could replay");
        return kExitRan;
    }
    if (!first->replay) {
        diagnostics().warning("no failure script was written: " + first->whyNot +
                              ". The failing session, as the validator plays it:\n" + first->description);
        return kExitRan;
    }
    std::string error;
    if (!fileio::replaceFile(scene, first->replay->sceneFile, error) ||
        !fileio::replaceFile(script, first->replay->script, error)) {
        diagnostics().error(error);
        return kExitWriteFailed;
    }
    diagnostics().note("the first failure is in " + script + ", its scene in " + scene +
                       "; replay it with: " + replayCommandLine(names));
    return kExitRan;
}

}  // namespace

std::string failureSceneName(const std::string &script) {
    fs::path p(script);
    if (p.extension() == ".lws") return {};
    return p.replace_extension(".lws").string();
}

int runValidation(const Options &options, const char *argv0) {
    validate::Options v;
    v.plugin = options.plugin;
    v.replayCommand = replayCommandLine;
    v.filesNote = options.failureScript
                      ? "not written: --failure-script writes the first failure's files only"
                      : "--failure-script F.vts writes the first failure's script, and its scene as F.lws";
    std::string error;
    if (v.plugin.empty() && !findPlugin(argv0, v.plugin, error)) {
        diagnostics().error(error);
        return kExitUsage;
    }
    if (options.seed) v.seed = *options.seed;
    if (options.runs) v.runs = *options.runs;
    if (!options.failureScript) {
        const validate::Status status = validate::run(v, std::cout);
        noteStandardOutput();
        if (status == validate::kNotLoadable) diagnostics().note(kAnotherPlugin);
        return status;
    }
    const std::string &script = *options.failureScript;
    const std::string scene = failureSceneName(script);
    if (scene.empty()) {
        diagnostics().error("--failure-script '" + script +
                            "' ends in .lws, the name of the scene written beside "
                            "it; give the script a name of its own, such as F.vts");
        return kExitUsage;
    }
    if (const int rc = checkFailureFiles(script, scene, v.plugin)) return rc;
    v.replayNames = {absolutePath(v.plugin), absolutePath(script), absolutePath(scene)};
    std::optional<validate::FirstFailure> first;
    const validate::Status status = validate::run(v, std::cout, &first);
    std::cout.flush();
    noteStandardOutput();
    if (status == validate::kNotLoadable) diagnostics().note(kAnotherPlugin);
    if (const int rc = writeFailureFiles(first, status, v.replayNames, script, scene)) return rc;
    return status;
}

}  // namespace vhost
