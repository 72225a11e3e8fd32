// vantorel-window-bench: CPU time from an input event to the presented frame,
// on the real plug-in in a real window (run it on a display, e.g. under
// xvfb-run; scripts/window-bench.sh does). For each kind of event it feeds
// the event to the input mapping, draws the panel with its decoration,
// scales it and hands it to the window system, and reads this thread's CPU
// clock before and after. Prints the median and 90th percentile per kind.
//
//   vantorel-window-bench [--plugin FILE] [--lights N] [--zoom Z] [--events N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/window_render.h"
#include "sim/host.h"
#include "sim/panel_geometry.h"
#include "sim/panel_input.h"
#include "view.h"

namespace {

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
double wallMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0
                     : v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char **argv) {
    std::string plugin = VANTOREL_PLUGIN_PATH;
    int lights = 510, zoom = 2, events = 300;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--plugin")) plugin = argv[i + 1];
        else if (!std::strcmp(argv[i], "--lights")) lights = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--zoom")) zoom = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--events")) events = std::atoi(argv[i + 1]);
    }
    if (argc % 2 == 0 || zoom < 1 || zoom > window::kMaxZoom || events < 1) {
        (void)std::fprintf(
            stderr, "usage: vantorel-window-bench [--plugin FILE] [--lights N] [--zoom 1..4] [--events N]\n");
        return 2;
    }
    std::optional<sim::PluginLibrary> lib;
    try {
        lib.emplace(sim::PluginLibrary::load(plugin));
    } catch (const sim::LoadError &e) {
        (void)std::fprintf(stderr, "vantorel-window-bench: %s; give another with --plugin FILE\n", e.what());
        return 2;
    }
    std::string error;
    if (!window::start(error)) {
        (void)std::fprintf(stderr, "vantorel-window-bench: %s\n", error.c_str());
        return 2;
    }
    sim::Host host(scene::makeUniformScene(lights));
    host.setLogging(false);
    int frames = 0;
    window::Settings settings;
    settings.presented = [&](unsigned) { ++frames; };
    host.activate(*lib, [&](sim::Host &h) {
        const sim::PanelModel &panel = *h.openPanel();
        sim::PanelInput in(h);
        window::View view(panel.title, render::panelFrame(panel, in.overlay()), zoom, settings);
        const sim::PanelGeometry g = sim::panelGeometry(panel);
        sim::Rect list{}, drag{};
        for (const sim::ControlGeometry &c : g.controls) {
            if (c.control->role == sim::Role::List) list = c.field;
            if (c.control->role == sim::Role::Drag) drag = c.field;
        }
        // One event, then the frame it asks for, timed.
        auto timed = [&](const char *name, const std::function<void(int)> &event) {
            std::vector<double> cpu, wall;
            for (int i = 0; i < events; ++i) {
                SDL_PumpEvents();
                const double c0 = cpuMs(), w0 = wallMs();
                event(i);
                if (in.takeChanged()) view.show(render::panelFrame(panel, in.overlay()));
                cpu.push_back(cpuMs() - c0);
                wall.push_back(wallMs() - w0);
            }
            std::printf("%-16s CPU median %6.2f ms, p90 %6.2f ms; wall median %6.2f ms  (%d events)\n", name,
                        percentile(cpu, 0.5), percentile(cpu, 0.9), percentile(wall, 0.5), events);
        };
        const int frames0 = frames;
        timed("list click", [&](int i) {
            const int y = list.y + 7 + 16 * (i % (list.h / 16));
            in.pointerDown(list.x + 20, y);
            in.pointerUp(list.x + 20, y);
        });
        timed("prefix key", [&](int i) {
            sim::KeyPress k;
            if (i % 2 == 0) {
                k.key = sim::Key::Char;
                k.ch = 'L';
            } else {
                k.key = sim::Key::Backspace;
            }
            in.keyPress(k);
        });
        in.pointerDown(drag.x + drag.w / 2, drag.y + drag.h / 2);
        timed("drag step",
              [&](int i) { in.pointerMove(drag.x + drag.w / 2 + 1 + i % 50, drag.y + drag.h / 2); });
        in.pointerUp(drag.x + drag.w / 2, drag.y + drag.h / 2);
        std::printf("%d frames presented for %d events; %d lights, zoom %d, picture %dx%d\n",
                    frames - frames0, 3 * events, lights, zoom, g.width, g.height);
        in.requestClose();
        return in.outcome();
    });
    window::stop();
    return 0;
}
