// validate.cpp - the checks of vantorel-host --validate.
#include "validate.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "host.h"
#include "light_model.h"
#include "loader.h"
#include "model/editor_state.h"
#include "session.h"

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
    std::ostream &out() { return out_; }
    int checks() const { return checks_; }
    int failed() const { return failed_; }

private:
    std::ostream &out_;
    int checks_ = 0, failed_ = 0;
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
std::string checkLifecycle(const std::string &plugin, uint64_t seed, int runs, std::string &seen,
                           Session &failing) {
    Session s = lifecycleSession(seed, runs);
    size_t failedAt = 0;
    const std::string problem = checkSession(plugin, s, &failedAt);
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
           " pastes), no panel or raster left alive, copy buffer carried over, prefix empty at each start, "
           "commands on OK match the model, every light no event edited comes back as reported";
    return {};
}

// Prints the shortest failing session found from `failing`.
void printShrunk(const std::string &plugin, const Session &failing, int budget, std::ostream &out) {
    int replays = 0;
    Session small = shrink(plugin, failing, budget, &replays);
    out << "  shortest reproduction found (" << replays << " replays): " << checkSession(plugin, small)
        << "\n"
        << describe(small);
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

std::string checkFault(const std::string &plugin, const Fault &fault, Random &rnd, std::string &seen) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(plugin);
    Hostility h;
    h.maxLights = 20;
    // A first, normal run leaves a copied row behind and tells where the record is.
    scene::Scene first = randomScene(rnd, h);
    const EditorState *state = nullptr;
    std::string notCopied;
    {
        sim::Host host(first);
        host.activate(lib, [&](sim::Host &hh) {
            state = editorStateOf(hh);
            if (const sim::Delivery d = deliver(hh, sim::Action::press(sim::Button::Copy)); !d)
                notCopied = d.why;
            return sim::Close::Cancel;
        });
    }
    if (!state) return "the first, normal run did not open the panel";
    if (!notCopied.empty()) return "the first, normal run could not copy: " + notCopied;
    const std::string before(reinterpret_cast<const char *>(state), sizeof(EditorState));

    scene::Scene scene = randomScene(rnd, h);
    sim::HostConditions conditions;
    fault.set(conditions);
    sim::Host host(scene, conditions);
    bool opened = false;
    const int result = host.activate(lib, [&](sim::Host &) {
        opened = true;
        return sim::Close::Ok;
    });
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
    if (fault.stateUntouched) {
        // Byte for byte on purpose: any write into the record counts, and a NaN
        // that was left alone must compare equal.
        // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
        if (std::memcmp(before.data(), state, sizeof(EditorState)) != 0)
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

}  // namespace

Status run(const Options &options, std::ostream &out) {
    Report report(out);
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
    lib.reset();

    seen.clear();
    {
        Session failingLifecycle;
        problem = checkLifecycle(options.plugin, options.seed, options.lifecycleRuns, seen, failingLifecycle);
        report.check("lifecycle", problem, seen);
        if (!problem.empty()) printShrunk(options.plugin, failingLifecycle, options.shrinkBudget, out);
    }

    Random faultRnd(options.seed ^ 0x6661756c7473ull);
    int injected = 0;
    for (const Fault &f : faults()) {
        seen.clear();
        problem = checkFault(options.plugin, f, faultRnd, seen);
        ++injected;
        report.check("host fault: " + f.name, problem, seen);
    }

    // Seeded random sessions with hostile values, each checked against the model.
    Hostility hostile;
    int events = 0, activations = 0, failedRun = -1;
    std::string firstProblem;
    Session failing;
    for (int r = 0; r < options.runs; ++r) {
        Random rnd(options.seed * 0x100000001b3ull + static_cast<uint64_t>(r));
        Session s = randomSession(rnd, hostile);
        for (const Activation &a : s) events += static_cast<int>(a.events.size());
        activations += static_cast<int>(s.size());
        std::string p = checkSession(options.plugin, s);
        if (!p.empty()) {
            failedRun = r;
            firstProblem = p;
            failing = std::move(s);
            break;
        }
    }
    if (failedRun < 0) {
        report.check(
            "random sessions", "",
            std::to_string(options.runs) + " sessions (" + std::to_string(activations) + " activations, " +
                std::to_string(events) +
                " events with hostile values): every command parses back, no nan/inf, "
                "prefix within 255, no row past the filled ones written, commands on OK match the model, "
                "every light no event edited comes back as reported");
    } else {
        report.check("random sessions",
                     "seed " + std::to_string(options.seed) + ", session " + std::to_string(failedRun + 1) +
                         ": " + firstProblem,
                     "");
        printShrunk(options.plugin, failing, options.shrinkBudget, out);
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char buf[200];
    std::snprintf(buf, sizeof buf,
                  "%d checks, %d failed; seed %llu, %d random sessions, %d faults injected, %.1f s",
                  report.checks(), report.failed(), static_cast<unsigned long long>(options.seed),
                  options.runs, injected, seconds);
    out << (report.failed() ? "validate: FAILED: " : "validate: all passed: ") << buf << "\n";
    return report.failed() ? kSomeFailed : kAllPassed;
}

}  // namespace validate
