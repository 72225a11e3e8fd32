// call_counts.cpp - counting the plug-in's host calls per event on the simulated Layout.

#include "call_counts.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace benchcounts {

namespace {

bool isPaintCall(const sim::Call &c) {
    if (c.name.rfind("raster.", 0) == 0) return true;
    return c.name == "control.get" && !c.args.empty() && c.args[0] == "list";
}

void countPaintCall(CallBreakdown &b, const sim::Call &c) {
    if (c.name == "raster.drawRGBBox") ++b.drawRGBBox;
    else if (c.name == "raster.drawText") ++b.drawText;
    else if (c.name == "raster.blitPanel") ++b.blit;
    else if (c.name == "control.get") ++b.paintGets;
    else ++b.other;  // a raster create or destroy inside a paint would be odd; keep it visible
}

void countCall(CallBreakdown &b, const sim::Call &c) {
    const std::string control = c.args.empty() ? std::string() : c.args[0];
    if (c.name == "control.set") {
        if (control == "prefix") ++b.prefixField;
        else ++b.valueSets;
    } else if (c.name == "control.get") {
        ++b.gets;
    } else if (c.name == "control.draw") {
        if (control == "list") ++b.listRedraws;
        else ++b.draws;
    } else {
        ++b.other;
    }
}

}  // namespace

CallBreakdown breakdown(const std::vector<sim::Call> &calls) {
    CallBreakdown b;
    bool painting = false;
    for (const sim::Call &c : calls) {
        if (c.callback) {
            painting = c.name == "plugin.draw" && !c.args.empty() && c.args[0] == "list";
            continue;
        }
        if (painting && isPaintCall(c)) {
            countPaintCall(b, c);
            continue;
        }
        painting = false;
        countCall(b, c);
    }
    return b;
}

std::vector<EventCount> countEvents(const std::string &pluginPath) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(pluginPath);
    sim::Host host(scene::makeUniformScene(kSceneLights));
    std::vector<EventCount> out;
    std::string failure;

    using sim::Action;
    using sim::Button;
    using Actions = std::vector<Action>;
    // Nothing selected, empty prefix, the list at its top.
    auto reset = [](sim::Host &h) {
        if (sim::Delivery d = deliver(h, Action::press(Button::Clear)); !d) return d;
        while (!h.prefixText().empty())
            if (sim::Delivery d = deliver(h, Action::key(8)); !d) return d;
        return deliver(h, Action::scroll(0));
    };
    // Brings the panel into a state (not counted): a reset, then the actions
    // of prepare; then counts one event.
    auto measure = [&](sim::Host &h, const char *key, const char *description, const Actions &prepare,
                       const Action &event) {
        if (!failure.empty()) return;
        sim::Delivery d = reset(h);
        for (size_t i = 0; i < prepare.size() && d; ++i) d = deliver(h, prepare[i]);
        if (!d) {
            failure = std::string("preparing ") + key + ": " + d.why;
            return;
        }
        h.clearCalls();
        if (d = deliver(h, event); !d) {
            failure = std::string(key) + ": " + d.why;
            return;
        }
        out.push_back({key, description, breakdown(h.calls())});
    };
    const Actions selectAll{Action::key('L')};
    auto selectAllThen = [&](Action a) {
        Actions all = selectAll;
        all.push_back(std::move(a));
        return all;
    };

    host.activate(lib, [&](sim::Host &h) {
        measure(h, "key_L", "prefix key 'L' on an empty prefix: all 510 lights match", {}, Action::key('L'));
        measure(h, "key_backspace", "backspace on the prefix \"L\": the prefix becomes empty", selectAll,
                Action::key(8));
        measure(h, "key_narrowing", "prefix key '0' on \"Light 5\": 11 of 510 match",
                {Action::type("Light 5")}, Action::key('0'));
        measure(h, "key_no_match", "prefix key 'x' on an empty prefix: no light matches", {},
                Action::key('x'));
        measure(h, "key_other", "key 4193 (leaves prefix and selection alone)", {}, Action::key(4193));
        measure(h, "click_select", "list click on an unselected row, nothing selected", {},
                Action::clickY(5));
        measure(h, "click_deselect", "list click on a selected row, another one stays selected",
                {Action::clickY(5), Action::clickY(21)}, Action::clickY(5));
        measure(h, "click_deselect_last", "list click on the only selected row", {Action::clickY(5)},
                Action::clickY(5));
        measure(h, "scroll", "slider moved, 510 lights selected", selectAll, Action::scroll(160));
        measure(h, "intensity", "intensity field event, 510 lights selected", selectAll,
                Action::intensity(50));
        measure(h, "drag_start", "drag event that starts a drag, 510 lights selected", selectAll,
                Action::dragEvent(0, 1000));
        measure(h, "drag_continue", "drag event that continues a drag, 510 lights selected",
                selectAllThen(Action::dragEvent(0, 2000)), Action::dragEvent(25, 2001));
        measure(h, "colour", "colour control event, 510 lights selected", selectAll,
                Action::color(255, 128, 0));
        measure(h, "type", "light type choice event, 510 lights selected", selectAll, Action::lightType(2));
        measure(h, "shadow", "shadow choice event, 510 lights selected", selectAll, Action::shadow(1));
        measure(h, "range", "range field event, 510 lights selected", selectAll, Action::range(4.5));
        measure(h, "copy", "copy button", selectAll, Action::press(Button::Copy));
        measure(h, "paste", "paste button, 510 lights selected", selectAllThen(Action::press(Button::Copy)),
                Action::press(Button::Paste));
        measure(h, "clear", "\"Clear selection\", 510 lights selected", selectAll,
                Action::press(Button::Clear));
        return sim::Close::Cancel;
    });
    if (!failure.empty()) throw std::runtime_error("counting host calls: " + failure);
    if (!host.faults().empty())
        throw std::runtime_error("counting host calls: host fault: " + host.faults()[0]);
    return out;
}

std::string formatTable(const std::vector<EventCount> &events) {
    std::string s;
    char line[256];
    std::snprintf(line, sizeof line, "%-20s %6s | %6s %6s %5s %5s %6s %5s | %6s %5s %5s %8s %5s | %6s\n",
                  "event", "host", "prefix", "values", "gets", "draws", "redraw", "other", "paint", "gets",
                  "boxes", "texts", "blit", "total");
    s += line;
    for (const EventCount &e : events) {
        const CallBreakdown &b = e.calls;
        std::snprintf(line, sizeof line, "%-20s %6d | %6d %6d %5d %5d %6d %5d | %6d %5d %5d %8d %5d | %6d\n",
                      e.key.c_str(), b.outsidePaint(), b.prefixField, b.valueSets, b.gets, b.draws,
                      b.listRedraws, b.other, b.paint(), b.paintGets, b.drawRGBBox, b.drawText, b.blit,
                      b.total());
        s += line;
    }
    return s;
}

}  // namespace benchcounts
