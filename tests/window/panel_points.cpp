// panel-points: where to click on the panel, for the window tests. Opens the
// plug-in's panel on a scene in the simulated host (no window) and prints one
// line per place, "NAME X Y", the middle of it in picture pixels at zoom 1:
//   size W H            the panel picture's size (not a place)
//   ok, cancel          the buttons
//   KEY                 each control's field ("Intensity", "prefix", "drag", ...;
//                       spaces as _), and KEY.N for its items (choices; the
//                       colour's red, green and blue numbers)
//   row:NAME            each visible row of the list, by the name drawn in it
// Usage: panel-points PLUGIN [--lights N | --scene FILE.lws]
//        panel-points --shell    the shell window's places: the buttons run, save, changes,
//                                quit; a question's yes, middle, no and field; the page of
//                                changes and its close button; the status lines
#include <cstdlib>
#include <iostream>
#include <string>

#include "render/window_render.h"
#include "scenefile/lws_document.h"
#include "sim/host.h"
#include "sim/panel_geometry.h"

namespace {

std::string word(std::string s) {
    for (char &c : s)
        if (c == ' ') c = '_';
    return s;
}

void print(const std::string &name, const sim::Rect &r) {
    std::cout << word(name) << ' ' << r.x + r.w / 2 << ' ' << r.y + r.h / 2 << '\n';
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 2 && std::string(argv[1]) == "--shell") {
        const render::ShellLayout l = render::shellLayout();
        const std::pair<const char *, sim::Rect> places[] = {
            {"run", l.run},       {"save", l.save},         {"changes", l.changes},
            {"quit", l.quit},     {"yes", l.dialogYes},     {"middle", l.dialogMiddle},
            {"no", l.dialogNo},   {"field", l.dialogField}, {"close", l.pageClose},
            {"status", l.status}, {"page", l.page}};
        std::cout << "size " << l.width << ' ' << l.height << '\n';
        for (const auto &[name, r] : places) print(name, r);
        return 0;
    }
    if (argc < 2) {
        std::cerr << "usage: panel-points PLUGIN [--lights N | --scene FILE.lws]\n";
        return 2;
    }
    scene::Scene scene = scene::makeDemoScene();
    if (argc == 4 && std::string(argv[2]) == "--lights") {
        scene = scene::makeUniformScene(std::atoi(argv[3]));
    } else if (argc == 4 && std::string(argv[2]) == "--scene") {
        scenefile::LwsDocument doc;
        scenefile::LoadError error;
        if (!scenefile::LwsDocument::load(argv[3], doc, error)) {
            std::cerr << "panel-points: " << error.toString() << '\n';
            return 2;
        }
        scene = doc.scene();
    } else if (argc != 2) {
        std::cerr << "usage: panel-points PLUGIN [--lights N | --scene FILE.lws]\n";
        return 2;
    }
    sim::PluginLibrary lib = sim::PluginLibrary::load(argv[1]);
    sim::Host host(std::move(scene));
    host.activate(lib, [](sim::Host &h) {
        const sim::PanelModel &panel = *h.openPanel();
        const sim::PanelGeometry g = sim::panelGeometry(panel);
        std::cout << "size " << g.width << ' ' << g.height << '\n';
        print("ok", g.ok);
        print("cancel", g.cancel);
        for (const sim::ControlGeometry &c : g.controls) {
            print(c.control->key, c.field);
            for (size_t i = 0; i < c.items.size(); ++i)
                print(c.control->key + "." + std::to_string(i), c.items[i]);
            if (c.control->key != "list") continue;
            for (const sim::PaintedText &t : c.control->lastPaint.texts) {
                const int mid = t.y + 7;  // the middle of a row's selection bar
                if (mid < 0 || mid >= c.field.h) continue;
                std::cout << "row:" << word(t.text) << ' ' << c.field.x + 20 << ' ' << c.field.y + mid
                          << '\n';
            }
        }
        return sim::Close::Cancel;
    });
    return 0;
}
