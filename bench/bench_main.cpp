// bench_main.cpp - vantorel-bench: host calls per event on the simulated
// Layout, and the plug-in's own CPU time per event on a host that does nothing.
//
// Usage: vantorel-bench [--plugin=PATH] [--counts-only] [--events=N --case=NAME]
//                       [Google Benchmark flags]
//
// The timed loops run inside the null host's modal open: the plug-in is
// activated once, builds its panel, and every case calls its registered
// handlers directly, as the host would for a user action.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "call_counts.h"
#include "host.h"
#include "null_host.h"

namespace {

constexpr uint16_t kBackspace = 8;
constexpr int kListHeight = 400;
constexpr int kScrollMax = benchcounts::kSceneLights * 16 - kListHeight;

// The panel's controls on the null host, found once the panel is built.
struct Panel {
    nullhost::Host *host = nullptr;
    nullhost::Control *list = nullptr, *slider = nullptr, *prefix = nullptr, *intensity = nullptr,
                      *drag = nullptr, *colour = nullptr, *type = nullptr, *shadow = nullptr,
                      *range = nullptr, *copy = nullptr, *paste = nullptr, *clear = nullptr;
    int32_t dragCounter = 0;
};
Panel panel;

// ---- states the cases start from (not timed) --------------------------------

// Empty prefix, nothing selected, list at the top.
void resetPanel() {
    for (int i = 0; i < 256; ++i) panel.host->key(kBackspace);
    panel.clear->event();
    panel.slider->intValue = 0;
    panel.slider->event();
}

// Prefix "L": all 510 lights selected, the last one current.
void selectAll() {
    resetPanel();
    panel.host->key('L');
}

void typeText(const char *text) {
    for (; *text; ++text) panel.host->key(static_cast<uint16_t>(*text));
}

// ---- the cases ------------------------------------------------------------

struct Case {
    const char *name;
    const char *what;
    int eventsPerStep;
    void (*setup)();
    void (*step)(int64_t i);
};

const Case cases[] = {
    {"key_L+backspace", "prefix key 'L' (510 match), then backspace to the empty prefix", 2, resetPanel,
     [](int64_t) {
         panel.host->key('L');
         panel.host->key(kBackspace);
     }},
    {"key_0+backspace", "on \"Light 5\": key '0' (11 match), then backspace (111 match)", 2,
     [] {
         resetPanel();
         typeText("Light 5");
     },
     [](int64_t) {
         panel.host->key('0');
         panel.host->key(kBackspace);
     }},
    {"key_x+backspace", "prefix key 'x' (no match), then backspace to the empty prefix", 2, resetPanel,
     [](int64_t) {
         panel.host->key('x');
         panel.host->key(kBackspace);
     }},
    {"prefix_edit", "prefix field event with the text \"Light 5\" (111 match)", 1,
     [] {
         resetPanel();
         panel.prefix->text = "Light 5";
     },
     [](int64_t) { panel.prefix->event(); }},
    {"list_click", "list click at mouse y 0..399 in steps of 37: toggles rows 0..24", 1, resetPanel,
     [](int64_t i) {
         panel.list->mouseY = static_cast<int32_t>((i * 37) % kListHeight);
         panel.list->event();
     }},
    {"scroll", "slider event at 0..7760 in steps of 97, 510 selected", 1, selectAll,
     [](int64_t i) {
         panel.slider->intValue = static_cast<intptr_t>((i * 97) % (kScrollMax + 1));
         panel.slider->event();
     }},
    {"intensity", "intensity field event (50 percent), 510 selected", 1,
     [] {
         selectAll();
         panel.intensity->floatValue = 50.0;
     },
     [](int64_t) { panel.intensity->event(); }},
    {"drag", "drag event continuing a drag (distance 0..99), 510 selected", 1, selectAll,
     [](int64_t i) {
         panel.drag->vec[0] = static_cast<int32_t>(i % 100);
         panel.drag->vec[2] = ++panel.dragCounter;
         panel.drag->event();
     }},
    {"colour", "colour control event (255, 128, 0), 510 selected", 1,
     [] {
         selectAll();
         panel.colour->vec[0] = 255;
         panel.colour->vec[1] = 128;
         panel.colour->vec[2] = 0;
     },
     [](int64_t) { panel.colour->event(); }},
    {"type", "light type choice event (Spot), 510 selected", 1,
     [] {
         selectAll();
         panel.type->intValue = 2;
     },
     [](int64_t) { panel.type->event(); }},
    {"shadow", "shadow choice event (Raytrace), 510 selected", 1,
     [] {
         selectAll();
         panel.shadow->intValue = 1;
     },
     [](int64_t) { panel.shadow->event(); }},
    {"range", "range field event (4.5), 510 selected", 1,
     [] {
         selectAll();
         panel.range->floatValue = 4.5;
     },
     [](int64_t) { panel.range->event(); }},
    {"copy", "copy button", 1, selectAll, [](int64_t) { panel.copy->event(); }},
    {"paste", "paste button, 510 selected", 1,
     [] {
         selectAll();
         panel.copy->event();
     },
     [](int64_t) { panel.paste->event(); }},
    {"clear", "\"Clear selection\" (nothing selected after the first)", 1, selectAll,
     [](int64_t) { panel.clear->event(); }},
    {"list_repaint", "the list's draw handler, 510 rows, 510 selected", 1, selectAll,
     [](int64_t) { panel.list->paint(DR_REFRESH); }},
};

void runCase(benchmark::State &state, const Case *c) {
    c->setup();
    int64_t i = 0;
    for ([[maybe_unused]] auto _ : state) c->step(i++);
    state.SetItemsProcessed(state.iterations() * c->eventsPerStep);
    state.SetLabel(c->what);
}

// The loop an instruction count measures: callgrind's --toggle-collect names it.
__attribute__((noinline)) void countedSteps(const Case *c, int64_t n) {
    for (int64_t i = 0; i < n; ++i) c->step(i);
}

bool findControls(nullhost::Host &h) {
    panel.host = &h;
    panel.list = h.find("AreaControl", "");
    panel.slider = h.find("VSlideControl", "");
    panel.prefix = h.find("EditControl", "prefix");
    panel.intensity = h.find("FloatControl", "Intensity");
    panel.drag = h.find("DragButtonControl", "");
    panel.colour = h.find("MiniRGBControl", "");
    panel.type = h.find("ChoiceControl", "", 0);  // the light type choice is created first
    panel.shadow = h.find("ChoiceControl", "", 1);
    panel.range = h.find("FloatControl", "Range");
    panel.copy = h.find("ButtonControl", "copy");
    panel.paste = h.find("ButtonControl", "paste");
    panel.clear = h.find("ButtonControl", "Clear selection");
    nullhost::Control *all[] = {panel.list,  panel.slider, panel.prefix, panel.intensity,
                                panel.drag,  panel.colour, panel.type,   panel.shadow,
                                panel.range, panel.copy,   panel.paste,  panel.clear};
    for (nullhost::Control *c : all)
        if (!c || !c->eventHandler) return false;
    return panel.list->drawHandler != nullptr;
}

void usage(FILE *to) {
    (void)std::fprintf(to,
                       "usage: vantorel-bench [--plugin=PATH] [--counts-only] [--events=N --case=NAME]\n"
                       "                      [Google Benchmark flags, e.g. --benchmark_filter=key]\n"
                       "\n"
                       "Prints the host calls per event on the simulated Layout (510 lights), then times\n"
                       "every event kind on a host that does nothing.\n"
                       "  --plugin=PATH   the plug-in to load (default: vantorel.p of this build)\n"
                       "  --counts-only   print the host call table and stop\n"
                       "  --events=N      no timing: run case NAME N times in countedSteps(), for\n"
                       "  --case=NAME     valgrind --tool=callgrind --toggle-collect='*countedSteps*'\n"
                       "  --list-cases    print the case names\n"
                       "Exit status: 0 success, 1 a failure, 2 bad usage.\n");
}

}  // namespace

int main(int argc, char **argv) {
    std::string pluginPath = VANTOREL_PLUGIN_PATH;
    bool countsOnly = false, listCases = false;
    long long events = 0;
    std::string caseName;
    std::vector<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            usage(stdout);
            return 0;
        } else if (a.rfind("--plugin=", 0) == 0) {
            pluginPath = a.substr(9);
        } else if (a == "--counts-only") {
            countsOnly = true;
        } else if (a == "--list-cases") {
            listCases = true;
        } else if (a.rfind("--events=", 0) == 0) {
            char *end = nullptr;
            events = std::strtoll(a.c_str() + 9, &end, 10);
            if (*end || events <= 0) {
                (void)std::fprintf(stderr, "vantorel-bench: --events needs a positive number\n");
                return 2;
            }
        } else if (a.rfind("--case=", 0) == 0) {
            caseName = a.substr(7);
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (listCases) {
        for (const Case &c : cases) std::printf("%-18s %s\n", c.name, c.what);
        return 0;
    }
    const Case *chosen = nullptr;
    if (events > 0) {
        for (const Case &c : cases)
            if (caseName == c.name) chosen = &c;
        if (!chosen) {
            (void)std::fprintf(stderr, "vantorel-bench: --events needs --case=NAME (see --list-cases)\n");
            return 2;
        }
    }
    int restCount = static_cast<int>(rest.size());
    rest.push_back(nullptr);
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data())) return 2;

    try {
        if (!chosen) {
            const auto counts = benchcounts::countEvents(pluginPath);
            std::printf("Host calls per event, %d lights (simulated Layout; deterministic)\n",
                        benchcounts::kSceneLights);
            std::printf(
                "  host: calls outside the list paint = prefix + values + gets + draws + redraw + other\n");
            std::printf("  paint: the list repaint a redraw triggers = gets + boxes + texts + blit\n\n");
            (void)std::fputs(benchcounts::formatTable(counts).c_str(), stdout);
            std::printf("\n");
            for (const auto &e : counts) std::printf("  %-20s %s\n", e.key.c_str(), e.description.c_str());
            std::printf("\n");
            // The figures are the output: failing to write them is a failure.
            if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
                (void)std::fprintf(stderr,
                                   "vantorel-bench: cannot write the call counts to standard output\n");
                return 1;
            }
            if (countsOnly) return 0;
        }

        sim::PluginLibrary lib = sim::PluginLibrary::load(pluginPath);
        nullhost::Host host(benchcounts::kSceneLights);
        bool ready = false;
        const int rc = host.activate(lib.activation(), lib.startupData(), [&](nullhost::Host &h) {
            ready = findControls(h);
            if (!ready) return;
            if (chosen) {
                chosen->setup();
                countedSteps(chosen, events);
                return;
            }
            for (const Case &c : cases) benchmark::RegisterBenchmark(c.name, runCase, &c);
            benchmark::RunSpecifiedBenchmarks();
        });
        benchmark::Shutdown();
        if (rc != AFUNC_OK || !ready) {
            (void)std::fprintf(
                stderr, "vantorel-bench: the plug-in did not build its panel on the null host (result %d)\n",
                rc);
            return 1;
        }
    } catch (const sim::LoadError &e) {
        (void)std::fprintf(stderr, "vantorel-bench: %s; give another with --plugin=FILE\n", e.what());
        return 1;
    } catch (const std::exception &e) {
        (void)std::fprintf(stderr, "vantorel-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
