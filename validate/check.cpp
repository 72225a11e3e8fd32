// check.cpp - a session played beside the light model: at the panel's
// opening, after every event, at its closing and after the activation. The
// first check that fails in a session is the one reported.
#include "check.h"

#include <cstring>
#include <optional>
#include <utility>

#include "command_check.h"
#include "loader.h"

namespace validate {

namespace {

// Bytes of the record kept to compare with later. One buffer is reused: a
// copy of up to 510 rows per activation was most of the validator's own cost.
class Bytes {
public:
    void keep(const void *from, size_t size) { bytes_.assign(static_cast<const char *>(from), size); }
    bool same(const void *at, size_t size) const {
        return size == bytes_.size() && std::memcmp(at, bytes_.data(), size) == 0;
    }

private:
    std::string bytes_;
};

// The commands sent against the model's: the first that differs.
std::string commandsProblem(const std::vector<sim::CommandRecord> &sent,
                            const std::vector<std::string> &expected) {
    size_t i = 0;
    while (i < sent.size() && i < expected.size() && sent[i].text == expected[i]) ++i;
    if (i == sent.size() && i == expected.size()) return {};
    const std::string seen = i < sent.size() ? "\"" + sent[i].text.substr(0, 120) + "\"" : "nothing";
    const std::string want = i < expected.size() ? "\"" + expected[i].substr(0, 120) + "\"" : "nothing";
    return "command " + std::to_string(i + 1) + " of " + std::to_string(sent.size()) + " is " + seen +
           ", the model expects " + want + " (" + std::to_string(expected.size()) + " in all)";
}

// One session's checks; the model and what is kept of the record carry over
// from one activation to the next, as the plug-in's record does.
class SessionCheck {
public:
    explicit SessionCheck(const RecordProbe &probe) : probe_(probe) {}

    std::string activation(const Activate &activate, const Activation &a) {
        model_.scan(a.scene);
        sim::Host host(a.scene);
        host.setLogging(false);
        host.setDrawing(false);  // no check looks at pixels or paints
        std::string problem;
        std::optional<sim::Close> closes;
        const int result = activate(host, [&](sim::Host &h) {
            problem = inPanel(h, a, closes);
            if (!closes) closes = a.ok ? sim::Close::Ok : sim::Close::Cancel;
            return problem.empty() ? *closes : sim::Close::Cancel;
        });
        if (!problem.empty()) return problem;
        return afterwards(host, a, result, closes == sim::Close::Ok);
    }

private:
    // An ok or cancel among the events closes the panel there: closes says how.
    std::string inPanel(sim::Host &h, const Activation &a, std::optional<sim::Close> &closes) {
        if (std::string p = atOpen(h); !p.empty()) return p;
        for (size_t i = 0; i < a.events.size() && !closes; ++i)
            if (std::string p = playEvent(h, a.events[i], i, closes); !p.empty()) return p;
        return atClose();
    }

    // A drag gesture is played as the raw events it is made of, so that the
    // model sees the counters the host gives them: a fresh one to start, then
    // one more each.
    std::string playEvent(sim::Host &h, const sim::Action &e, size_t i, std::optional<sim::Close> &closes) {
        if (e.kind != sim::ActionKind::Drag) return afterAction(h, e, e, i, closes);
        int32_t counter = sim::Host::freshDragCounter();
        if (std::string p = afterAction(h, e, sim::Action::dragEvent(0, counter), i, closes); !p.empty())
            return p;
        for (int32_t d : e.distances)
            if (std::string p = afterAction(h, e, sim::Action::dragEvent(d, ++counter), i, closes);
                !p.empty())
                return p;
        return {};
    }

    std::string atOpen(sim::Host &h) {
        VantorelEditorView v{};
        const bool seen = probe_.look(v);
        if (probe_.available() && !seen) return "the probe shows no editor record while the panel is open";
        if (!h.prefixText().empty() || (seen && (v.prefixLength != 0 || v.prefixText[0] != '\0')))
            return "the prefix is not empty when the panel opens";
        if (!seen) return {};
        if (lastCopyRow_ && !lastCopyRow_->same(v.copyRow, v.copyRowSize))
            return "the copy buffer did not carry over from the activation before";
        if (v.lightCount != model_.lightCount())
            return "the scan filled " + std::to_string(v.lightCount) + " rows, expected " +
                   std::to_string(model_.lightCount());
        past().keep(v.rowsPastFilled, v.rowsPastFilledSize);
        return {};
    }

    // Plays action a of event e (event i of the activation) beside the model,
    // then checks what it did. The first failure is returned.
    std::string afterAction(sim::Host &h, const sim::Action &e, const sim::Action &a, size_t i,
                            std::optional<sim::Close> &closes) {
        VantorelEditorView v{};
        const bool seen = probe_.look(v);
        if (seen) copyRow_.keep(v.copyRow, v.copyRowSize);
        const bool key = a.kind == sim::ActionKind::Key || a.kind == sim::ActionKind::Type;
        const std::string fieldBefore = key ? h.prefixText() : std::string();
        const sim::Delivery d = deliver(h, a);
        if (!d) return "event " + describe(e) + " could not be delivered: " + d.why;
        if (d.closes) {
            closes = d.closes;
            return {};
        }
        if (!model_.apply(a)) return "event " + describe(e) + " is not one the model predicts";
        auto at = [&] { return "after event " + std::to_string(i + 1) + " (" + describe(e) + "): "; };
        const bool copy = a.kind == sim::ActionKind::Press && a.button == sim::Button::Copy;
        if (seen && !copy && !copyRow_.same(v.copyRow, v.copyRowSize))
            return at() + "the copy buffer row changed without copy";
        if (key) {
            const std::string field = h.prefixText();
            // A key that adds or takes off a character shows the prefix in the field; any other
            // leaves the field alone.
            const bool shown = model_.showedPrefix();
            const std::string &expect = shown ? model_.prefix() : fieldBefore;
            if (shown && field.size() > 255)
                return at() + "the prefix field shows " + std::to_string(field.size()) + " characters";
            if (field != expect)
                return at() + "the prefix field shows \"" + field.substr(0, 60) + "\", expected \"" +
                       expect.substr(0, 60) + "\"";
        }
        if (seen && probe_.look(v) && (v.prefixLength < 0 || v.prefixLength > 255))
            return at() + "prefix length " + std::to_string(v.prefixLength);
        return {};
    }

    std::string atClose() {
        VantorelEditorView v{};
        if (!probe_.look(v)) return {};
        if (!past().same(v.rowsPastFilled, v.rowsPastFilledSize))
            return "a row past the " + std::to_string(v.lightCount) + " filled ones was written";
        lastCopyRow_.reset();
        if (v.copyValid) lastCopyRow_.emplace().keep(v.copyRow, v.copyRowSize);
        return {};
    }

    std::string afterwards(const sim::Host &host, const Activation &a, int result, bool ok) const {
        if (result != 0) return "activation result " + std::to_string(result) + ", expected 0";
        if (!host.faults().empty()) return "host fault: " + host.faults().front();
        if (host.livePanels() || host.liveRasters())
            return "left " + std::to_string(host.livePanels()) + " panel(s) and " +
                   std::to_string(host.liveRasters()) + " raster(s) alive";
        if (!host.errors().empty()) return "unexpected error box \"" + host.errors().front() + "\"";
        const std::vector<sim::CommandRecord> &sent = host.commandRecords();
        for (const sim::CommandRecord &c : sent)
            if (std::string p = commandProblem(std::string_view(c.text)); !p.empty()) return p;
        if (std::string p =
                commandsProblem(sent, ok ? model_.commandsOnOk(a.scene) : std::vector<std::string>{});
            !p.empty())
            return p;
        if (ok) return model_.untouchedLightProblem(a.scene, host.scene());
        return {};
    }

    // The rows past the filled ones as the panel opened, in a buffer every
    // session reuses.
    static Bytes &past() {
        static thread_local Bytes bytes;
        return bytes;
    }

    const RecordProbe &probe_;
    LightModel model_;
    Bytes copyRow_;                     // the copy buffer's row before an event
    std::optional<Bytes> lastCopyRow_;  // as the last activation left it, once something was copied
};

}  // namespace

std::string checkSession(const std::string &pluginPath, const Session &s, size_t *failedAt) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(pluginPath);
    return checkSession(
        [&lib](sim::Host &host, sim::Host::Driver driver) { return host.activate(lib, std::move(driver)); },
        s, RecordProbe::of(lib), failedAt);
}

std::string checkSession(const Activate &activate, const Session &s, const RecordProbe &probe,
                         size_t *failedAt) {
    SessionCheck check(probe);
    for (size_t ai = 0; ai < s.size(); ++ai) {
        if (failedAt) *failedAt = ai;
        if (std::string p = check.activation(activate, s[ai]); !p.empty())
            return "activation " + std::to_string(ai + 1) + ": " + p;
    }
    if (failedAt) *failedAt = s.size();
    return {};
}

}  // namespace validate
