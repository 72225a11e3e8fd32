// validate.cpp - the checks of vantorel-host --validate.
#include "validate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "check.h"
#include "host.h"
#include "light_model.h"
#include "loader.h"
#include "record_probe.h"
#include "session.h"
#include "shrink.h"

namespace validate {

namespace {

const char kOpenFailed[] = "Coudln't open the panel !!";
const char kOldToolkit[] = "Please use Version 18";

class Report {
public:
    explicit Report(std::ostream &out) : out_(out) {}
    void check(const std::string &name, const std::string &problem, const std::string &seen) {
        ++checks_;
        if (problem.empty()) {
            out_ << "PASS " << name << ": " << seen << "\n";
        } else {
            ++failed_;
            out_ << "FAIL " << name << ": " << problem << "\n";
        }
        out_.flush();
    }
    void note(const std::string &name, const std::string &text) {
        out_ << "NOTE " << name << ": " << text << "\n";
    }
    std::ostream &out() { return out_; }
    int checks() const { return checks_; }
    int failed() const { return failed_; }

private:
    std::ostream &out_;
    int checks_ = 0, failed_ = 0;
};

// What the checks of one validation share.
struct Context {
    const Options &options;
    Report &report;
    bool probed = false;  // the plug-in has the probe: the record's checks are made
    std::optional<FirstFailure> *first = nullptr;
};

std::string checkDescriptor(const sim::PluginLibrary &lib, std::string &seen) {
    const ModuleDescriptor &d = lib.descriptor();
    char buf[160];
    std::snprintf(buf, sizeof buf, "sync %08x, version %u, machine %#x", d.sync, d.sysVersion, d.machine);
    seen = buf;
    if (d.sync != MODULE_SYNC_WORD) return "synchronisation word " + seen;
    if (d.sysVersion != MODULE_SYSTEM_VERSION) return "module system version: " + seen;
    if (d.machine != MODULE_MACHINE_CODE) return "machine code: " + seen;
    if (!d.startup || !d.shutdown) return "startup or shutdown is null";
    if (!lib.startupData()) return "startup answered null";
    if (!d.servers) return "no server table";
    int n = 0;
    const ServerRecord *r = d.servers;
    for (; r->className; ++r, ++n) {
        if (n > 64) return "the server table has no end record within 64 entries";
    }
    if (r->serverName || r->activate || r->tagInfo) return "the end record is not all zero";
    if (n != 1) return std::to_string(n) + " server records, expected exactly one";
    const ServerRecord &s = d.servers[0];
    if (std::strcmp(s.className, LAYOUT_GENERIC_CLASS) != 0)
        return std::string("server class \"") + s.className + "\"";
    if (!s.serverName || std::strcmp(s.serverName, "vantorel") != 0)
        return std::string("server name \"") + (s.serverName ? s.serverName : "(null)") + "\"";
    if (!s.activate) return "the server has no activation entry";
    seen += ", one LayoutGeneric server \"vantorel\", startup data non-null, end record zero";
    return {};
}

// The lifecycle as one long session: `runs` activations of one loaded library
// on random scenes of 0 to 600 lights, with copy and paste across activations.
Session lifecycleSession(uint64_t seed, int runs) {
    Random rnd(seed ^ 0x6c69666563796c65ull);
    Hostility h;
    h.maxEvents = 8;
    h.hostile = false;
    int32_t dragCounter = 0;
    Session s;
    for (int i = 0; i < runs; ++i) {
        Activation a;
        const int64_t n = rnd.between(0, 600);
        for (int64_t k = 0; k < n; ++k) {
            scene::Light l;
            l.id = scene::kLightIdBase + static_cast<uint32_t>(k);
            l.name = "L" + std::to_string(rnd.below(40));
            l.intensity = rnd.unit();
            l.lightType = static_cast<int32_t>(rnd.between(0, 4));
            l.flags = static_cast<uint32_t>(rnd.below(2));
            a.scene.lights.push_back(std::move(l));
        }
        a.events = randomEvents(rnd, a.scene, h, dragCounter);
        // Copy and paste across activations: the copy buffer must carry over.
        if (rnd.chance(30)) a.events.push_back(sim::Action::press(sim::Button::Copy));
        if (rnd.chance(30)) a.events.insert(a.events.begin(), sim::Action::press(sim::Button::Paste));
        a.ok = rnd.chance(50);
        s.push_back(std::move(a));
    }
    return s;
}

// Plays the lifecycle; on a failure, `failing` gets the activations up to the
// one that failed.
std::string checkLifecycle(const Context &c, std::string &seen, Session &failing) {
    const int runs = c.options.lifecycleRuns;
    Session s = lifecycleSession(c.options.seed, runs);
    size_t failedAt = 0;
    const std::string problem = checkSession(c.options.plugin, s, &failedAt);
    if (!problem.empty()) {
        s.resize(std::min(s.size(), failedAt + 1));
        failing = std::move(s);
        return problem + (failedAt == 0 ? " (cold)" : " (warm)");
    }
    int okCount = 0, pastes = 0;
    for (const Activation &a : s) {
        okCount += a.ok;
        for (const sim::Action &e : a.events) pastes += e == sim::Action::press(sim::Button::Paste);
    }
    seen = std::to_string(runs) + " activations of one library (" + std::to_string(okCount) + " OK, " +
           std::to_string(runs - okCount) + " Cancel, " + std::to_string(pastes) +
           " pastes), no panel or raster left alive, " +
           (c.probed ? "copy buffer carried over, prefix empty at each start, "
                     : "prefix field empty at each start, ") +
           "commands on OK match the model, every light no event edited comes back as reported";
    return {};
}

// Prints the shortest failing session found from `failing`: as a session
// script and its scene when one replays it, else as text with the reason.
// The first failure of a validation is kept for the caller.
void printShrunk(const Context &c, const Session &failing) {
    const Options &o = c.options;
    std::ostream &out = c.report.out();
    int replays = 0;
    const Session small = shrink(o.plugin, failing, o.shrinkBudget, &replays);
    // Only the first failure goes to the files; the others name stand-ins.
    const bool written = c.first && !*c.first && !o.replayNames.script.empty();
    ReplayNames names = written ? o.replayNames : ReplayNames{o.replayNames.plugin, "F.vts", "F.lws"};
    if (names.plugin.empty()) names.plugin = o.plugin;
    const std::string command = o.replayCommand ? o.replayCommand(names) : std::string();
    const ReplayFinding found = findReplay(o.plugin, small, o.shrinkBudget, command);
    FirstFailure f;
    if (found.replay) {
        const Replay &r = *found.replay;
        out << "  shortest reproduction found (" << replays + found.replays << " replays): " << r.problem
            << "\n  its scene" << (written ? ", written to " + names.scene : std::string()) << ", "
            << r.activation.scene.lights.size() << " light(s):\n"
            << describeScene(r.activation.scene)
            << (written               ? "  its session script, written to " + names.script + ":\n"
                : o.filesNote.empty() ? std::string("  its session script:\n")
                                      : "  its session script (" + o.filesNote + "):\n");
        for (size_t at = 0, end; at < r.script.size(); at = end + 1) {
            end = r.script.find('\n', at);
            out << "    " << r.script.substr(at, end - at) << "\n";
        }
        f.replay = r;
    } else {
        f.description = describe(small);
        f.whyNot = found.whyNot;
        out << "  shortest reproduction found (" << replays << " replays): " << checkSession(o.plugin, small)
            << "\n"
            << f.description << "  no session script replays it: " << found.whyNot << "\n";
    }
    if (c.first && !*c.first) *c.first = std::move(f);
}

struct Fault {
    std::string name;
    std::function<void(sim::HostConditions &)> set;
    int result;
    const char *error;  // the error box expected, or null for none
    bool stateUntouched;
};

std::vector<Fault> faults() {
    std::vector<Fault> f;
    for (const char *g :
         {MESSAGES_NAME, PANEL_SERVICES_NAME, RASTER_SERVICES_NAME, ITEM_INFO_NAME, LIGHT_INFO_NAME})
        f.push_back({std::string("lookup \"") + g + "\" answers null",
                     [g](sim::HostConditions &c) { c.missingGlobals.insert(g); }, 2, nullptr, true});
    f.push_back(
        {"interface version 1", [](sim::HostConditions &c) { c.interfaceVersion = 1; }, 1, nullptr, true});
    f.push_back(
        {"panel create fails", [](sim::HostConditions &c) { c.failPanelCreate = true; }, 0, nullptr, false});
    f.push_back(
        {"toolkit version 17", [](sim::HostConditions &c) { c.toolkitVersion = 17; }, 0, kOldToolkit, false});
    f.push_back({"raster create fails", [](sim::HostConditions &c) { c.failRasterCreate = true; }, 0,
                 kOpenFailed, false});
    // The panel adds one control of each role the host recognises; any of them may fail.
    constexpr int kPanelControls = sim::kRoleCount;
    for (int k = 1; k <= kPanelControls; ++k)
        f.push_back({"addControl " + std::to_string(k) + " of " + std::to_string(kPanelControls) + " fails",
                     [k](sim::HostConditions &c) { c.failControl = k; }, 0, kOpenFailed, false});
    return f;
}

// A first, normal run: it leaves a copied row behind and sets the record up.
std::string normalRunWithCopy(const sim::PluginLibrary &lib, const scene::Scene &scene) {
    bool opened = false;
    std::string notCopied;
    sim::Host host(scene);
    host.activate(lib, [&](sim::Host &h) {
        opened = true;
        if (const sim::Delivery d = deliver(h, sim::Action::press(sim::Button::Copy)); !d) notCopied = d.why;
        return sim::Close::Cancel;
    });
    if (!opened) return "the first, normal run did not open the panel";
    if (!notCopied.empty()) return "the first, normal run could not copy: " + notCopied;
    return {};
}

// What the host saw of a start with the fault: the result, the error box,
// and nothing opened, sent or left alive.
std::string faultedRunProblem(const sim::Host &host, const Fault &fault, int result, bool opened,
                              std::string &seen) {
    seen = "result " + std::to_string(result);
    if (result != fault.result) return seen + ", expected " + std::to_string(fault.result);
    const std::vector<std::string> errors = host.errors();
    if (fault.error) {
        if (errors.size() != 1 || errors[0] != fault.error || host.errorBoxes()[0].secondLine)
            return "expected the one error box \"" + std::string(fault.error) + "\", saw " +
                   std::to_string(errors.size()) + (errors.empty() ? "" : " first \"" + errors[0] + "\"");
        seen += ", error box \"" + std::string(fault.error) + "\"";
    } else if (!errors.empty()) {
        return "unexpected error box \"" + errors[0] + "\"";
    }
    if (opened) return "the panel opened";
    if (!host.commands().empty()) return std::to_string(host.commands().size()) + " command(s) sent";
    if (host.livePanels() || host.liveRasters())
        return "left " + std::to_string(host.livePanels()) + " panel(s) and " +
               std::to_string(host.liveRasters()) + " raster(s) alive";
    if (!host.faults().empty()) return "host fault: " + host.faults().front();
    return {};
}

std::string checkFault(const std::string &plugin, const Fault &fault, Random &rnd, std::string &seen) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(plugin);
    const RecordProbe probe = RecordProbe::of(lib);
    Hostility h;
    h.maxLights = 20;
    if (std::string p = normalRunWithCopy(lib, randomScene(rnd, h)); !p.empty()) return p;
    VantorelEditorView record{};
    const bool watched = fault.stateUntouched && probe.look(record);
    if (fault.stateUntouched && probe.available() && !watched)
        return "the probe shows no editor record after a normal run";
    const std::string before =
        watched ? std::string(static_cast<const char *>(record.record), record.recordSize) : std::string();

    scene::Scene scene = randomScene(rnd, h);
    sim::HostConditions conditions;
    fault.set(conditions);
    sim::Host host(scene, conditions);
    bool opened = false;
    const int result = host.activate(lib, [&](sim::Host &) {
        opened = true;
        return sim::Close::Ok;
    });
    if (std::string p = faultedRunProblem(host, fault, result, opened, seen); !p.empty()) return p;
    if (watched) {
        // Byte for byte on purpose: any write into the record counts, and a NaN
        // that was left alone must compare equal.
        if (before.size() != record.recordSize ||
            std::memcmp(before.data(), record.record, before.size()) != 0)
            return "the editor record was changed";
        seen += ", editor record untouched";
    }
    seen += ", nothing sent, nothing left alive";
    // The library must still work afterwards.
    sim::Host after(scene);
    const int again = after.activate(lib, [](sim::Host &) { return sim::Close::Ok; });
    const std::vector<std::string> sent = after.commands();
    if (again != 0 || sent.empty() || sent.back() != "SelectItem 0" || !after.faults().empty())
        return "the next normal run failed (result " + std::to_string(again) + ", " +
               std::to_string(sent.size()) + " commands)";
    seen += ", next run fine";
    return {};
}

int checkFaults(const Context &c) {
    Random faultRnd(c.options.seed ^ 0x6661756c7473ull);
    int injected = 0;
    for (const Fault &f : faults()) {
        std::string seen;
        const std::string problem = checkFault(c.options.plugin, f, faultRnd, seen);
        ++injected;
        c.report.check("host fault: " + f.name, problem, seen);
    }
    return injected;
}

// Seeded random sessions with hostile values, each checked against the model.
void checkRandomSessions(const Context &c) {
    const Options &o = c.options;
    const Hostility hostile;
    int events = 0, activations = 0;
    for (int r = 0; r < o.runs; ++r) {
        Random rnd(o.seed * 0x100000001b3ull + static_cast<uint64_t>(r));
        Session s = randomSession(rnd, hostile);
        for (const Activation &a : s) events += static_cast<int>(a.events.size());
        activations += static_cast<int>(s.size());
        const std::string p = checkSession(o.plugin, s);
        if (!p.empty()) {
            c.report.check("random sessions",
                           "seed " + std::to_string(o.seed) + ", session " + std::to_string(r + 1) + ": " + p,
                           "");
            printShrunk(c, s);
            return;
        }
    }
    c.report.check("random sessions", "",
                   std::to_string(o.runs) + " sessions (" + std::to_string(activations) + " activations, " +
                       std::to_string(events) +
                       " events with hostile values): every command parses back, no " + "nan/inf, " +
                       (c.probed ? "prefix within 255, no row past the filled ones written, " : "") +
                       "commands on OK match the model, every light no event edited comes back as reported");
}

}  // namespace

Status run(const Options &options, std::ostream &out, std::optional<FirstFailure> *first) {
    Report report(out);
    Context c{options, report, false, first};
    std::optional<sim::PluginLibrary> lib;
    try {
        lib.emplace(sim::PluginLibrary::load(options.plugin));
    } catch (const sim::LoadError &e) {
        out << "FAIL load: " << e.what() << "\n";
        out << "validate: the plug-in could not be loaded; no check ran\n";
        return kNotLoadable;
    }
    const auto start = std::chrono::steady_clock::now();
    std::string seen;
    std::string problem = checkDescriptor(*lib, seen);
    report.check("descriptor", problem, seen);
    c.probed = RecordProbe::of(*lib).available();
    lib.reset();
    if (!c.probed)
        report.note("record", "the plug-in has no test hook (" VANTOREL_EDITOR_PROBE_SYMBOL
                              "), so these checks were not made: " +
                                  std::string(kRecordChecks) +
                                  ". The probe build vantorel_probe.p, built beside vantorel.p, has it: "
                                  "validate that file for them");

    seen.clear();
    Session failingLifecycle;
    problem = checkLifecycle(c, seen, failingLifecycle);
    report.check("lifecycle", problem, seen);
    if (!problem.empty()) printShrunk(c, failingLifecycle);

    const int injected = checkFaults(c);
    checkRandomSessions(c);

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char buf[200];
    std::snprintf(buf, sizeof buf,
                  "%d checks, %d failed; seed %llu, %d random sessions, %d faults injected, %.1f s",
                  report.checks(), report.failed(), static_cast<unsigned long long>(options.seed),
                  options.runs, injected, seconds);
    out << (report.failed() ? "validate: FAILED: " : "validate: all passed: ") << buf
        << (c.probed ? "" : "; the record's checks not made (no probe)") << "\n";
    return report.failed() ? kSomeFailed : kAllPassed;
}

}  // namespace validate
