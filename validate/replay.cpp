// replay.cpp - the search for a replay, the model's predictions as expect
// lines, and the replay played in the process as the script runner would.
#include "replay.h"

#include <utility>

#include "check.h"
#include "host.h"
#include "loader.h"
#include "replay_scene.h"
#include "replay_script.h"
#include "script/writer.h"
#include "shrink.h"

namespace validate {

namespace {

// What the model predicts for one activation: after each event the prefix
// field's text where the model knows it, and the commands sent on closing.
struct Prediction {
    std::vector<std::optional<std::string>> fieldAfter;
    std::vector<std::string> commands;
};

std::vector<Prediction> predict(const Session &s) {
    std::vector<Prediction> out;
    LightModel model;  // carried over between activations, as the plug-in's record is
    for (const Activation &a : s) {
        Prediction p;
        model.scan(a.scene);
        // Empty at the opening; a key shows the prefix, and one that leaves
        // it alone leaves the field alone; after a prefix edit the field holds
        // whatever the panel made of the text, which the model does not say.
        std::optional<std::string> field = std::string();
        for (const sim::Action &e : a.events) {
            const std::string before = model.prefix();
            (void)model.apply(e);
            if (e.kind == sim::ActionKind::Prefix) field.reset();
            if (e.kind == sim::ActionKind::Key && model.prefix() != before) field = model.prefix();
            p.fieldAfter.push_back(e.kind == sim::ActionKind::Key ? field : std::nullopt);
        }
        if (a.ok) p.commands = model.commandsOnOk(a.scene);
        out.push_back(std::move(p));
    }
    return out;
}

std::string quotedText(const std::string &s) { return "\"" + s.substr(0, 120) + "\""; }

std::string expectPrefixLine(const std::string &text) {
    return script::writeExpectation(script::Expectation::prefix(text));
}
std::string expectResultLine(int result) {
    return script::writeExpectation(script::Expectation::result(result));
}
std::string expectCommandCountLine(size_t count) {
    return script::writeExpectation(script::Expectation::commands(static_cast<std::int32_t>(count)));
}
// The command sent nth (from 1) on closing.
std::string expectCommandLine(size_t nth, const std::string &command) {
    return script::writeExpectation(script::Expectation::command(static_cast<std::int32_t>(nth), command));
}

// The expect lines checked at the end, against what was sent.
std::string commandsProblem(const std::vector<std::string> &sent, const std::vector<std::string> &expected) {
    if (sent.size() != expected.size())
        return expectCommandCountLine(expected.size()) + ": " + std::to_string(sent.size()) + " were sent";
    for (size_t i = 0; i < sent.size(); ++i)
        if (sent[i] != expected[i])
            return expectCommandLine(i + 1, expected[i]).substr(0, 160) + ": saw " + quotedText(sent[i]);
    return {};
}

// The actions and prefix expectations of one activation, as the panel sees them.
std::string playEvents(sim::Host &h, const Activation &a, const Prediction &p) {
    for (size_t i = 0; i < a.events.size(); ++i) {
        const sim::Action &action = a.events[i];
        if (const sim::Delivery d = deliver(h, action); !d) return script::writeAction(action) + ": " + d.why;
        if (p.fieldAfter[i] && h.prefixText() != *p.fieldAfter[i])
            return expectPrefixLine(*p.fieldAfter[i]).substr(0, 160) + ": saw " + quotedText(h.prefixText());
    }
    return {};
}

std::string joined(const std::vector<std::string> &phrases) {
    std::string text;
    for (size_t i = 0; i < phrases.size(); ++i) text += (i ? "; " : "") + phrases[i];
    return text;
}

void addOnce(std::vector<std::string> &list, const std::string &phrase) {
    for (const std::string &p : list)
        if (p == phrase) return;
    list.push_back(phrase);
}

// Why no replay fails although the validator's check does.
std::string whyNoReplay(const std::string &pluginPath, const Writable &w) {
    const std::string seen = checkSession(pluginPath, w.session);
    if (!seen.empty())
        return "what goes wrong shows only where a session script cannot look (" + seen +
               "); the validator sees it through the plug-in's record or the host's own state";
    return "the failure needs what a session script or a scene file cannot hold (" + joined(w.changes) + ")";
}

}  // namespace

Writable writable(const Session &s) {
    Writable w;
    for (const Activation &a : s) {
        Activation copy;
        copy.ok = a.ok;
        std::optional<scene::Scene> back = throughSceneFile(a.scene, w.fileProblem);
        if (!back) return w;
        if (!sameLights(*back, a.scene))
            addOnce(w.changes,
                    "the scene's values as a scene file holds them: six decimals, names on one line, "
                    "finite numbers, types and shadow types in range, no flag but the limited range");
        copy.scene = std::move(*back);
        for (const sim::Action &e : a.events) {
            const std::string why = script::unwritable(e);
            if (why.empty()) copy.events.push_back(e);
            else addOnce(w.changes, "events left out, as " + why);
        }
        w.session.push_back(std::move(copy));
    }
    return w;
}

std::string replayProblem(const std::string &pluginPath, const Session &s) {
    const sim::PluginLibrary lib = sim::PluginLibrary::load(pluginPath);
    const std::vector<Prediction> predicted = predict(s);
    for (size_t ai = 0; ai < s.size(); ++ai) {
        const Activation &a = s[ai];
        const Prediction &p = predicted[ai];
        sim::Host host(a.scene);
        host.setLogging(false);
        host.setDrawing(false);
        std::string problem;
        const int result = host.activate(lib, [&](sim::Host &h) {
            problem = playEvents(h, a, p);
            return problem.empty() && a.ok ? sim::Close::Ok : sim::Close::Cancel;
        });
        if (problem.empty() && result != 0) problem = expectResultLine(0) + ": saw " + std::to_string(result);
        if (problem.empty()) problem = commandsProblem(host.commands(), p.commands);
        if (!problem.empty()) return "activation " + std::to_string(ai + 1) + ": " + problem;
    }
    return {};
}

std::string replayScript(const Activation &a, const std::string &replayCommand, const std::string &problem) {
    const Prediction p = predict(Session{a}).front();
    std::string text = replayCommand.empty() ? std::string() : "# replay: " + replayCommand + "\n";
    text += commentLine("What the validator saw go wrong, shrunk: " + problem) + "\n";
    text += commentLine("The expect lines are what its model of the light table predicts: the plug-in that") +
            "\n" +
            commentLine("failed fails them (exit 1); one that passes the validator passes them (exit 0).") +
            "\n";
    for (size_t i = 0; i < a.events.size(); ++i) {
        text += script::writeAction(a.events[i]) + "\n";
        if (p.fieldAfter[i]) text += expectPrefixLine(*p.fieldAfter[i]) + "\n";
    }
    text += std::string(a.ok ? "ok" : "cancel") + "\n" + expectResultLine(0) + "\n" +
            expectCommandCountLine(p.commands.size()) + "\n";
    for (size_t i = 0; i < p.commands.size(); ++i) text += expectCommandLine(i + 1, p.commands[i]) + "\n";
    return text;
}

ReplayFinding findReplay(const std::string &pluginPath, const Session &shrunk, int budget,
                         const std::string &replayCommand) {
    ReplayFinding f;
    if (shrunk.size() > 1) {
        f.whyNot = "the failure needs " + std::to_string(shrunk.size()) +
                   " activations of one loaded library (the plug-in's record carries over from one to the "
                   "next), and a session script plays one activation";
        return f;
    }
    const Writable w = writable(shrunk);
    if (!w.fileProblem.empty()) {
        f.whyNot = "the scene file written for it does not read back: " + w.fileProblem;
        return f;
    }
    const Fails fails = [&](const Session &t) { return !replayProblem(pluginPath, t).empty(); };
    ++f.replays;
    if (w.session.empty() || !fails(w.session)) {
        f.whyNot = whyNoReplay(pluginPath, w);
        return f;
    }
    const Session small = shrink(fails, w.session, budget, &f.replays);
    Replay r;
    r.activation = small.front();
    r.problem = checkSession(pluginPath, small);
    if (r.problem.empty()) r.problem = replayProblem(pluginPath, small);
    r.sceneFile = sceneFileBytes(r.activation.scene);
    // What vantorel-host will read is what the predictions were made for.
    scene::Scene back;
    std::string why;
    if (!readSceneFile(r.sceneFile, back, why) || !sameLights(back, r.activation.scene)) {
        f.whyNot = "the scene file written for it does not read back as the same lights" +
                   (why.empty() ? std::string() : ": " + why);
        return f;
    }
    r.script = replayScript(r.activation, replayCommand, r.problem);
    f.replay = std::move(r);
    return f;
}

}  // namespace validate
