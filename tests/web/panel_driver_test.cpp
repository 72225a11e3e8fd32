// The page's driver of the panel on the real plug-in: batches of browser
// events in, frames out, and the session's commands and recording as a
// script run would have them.
#include "web/panel_driver.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "render/window_render.h"
#include "script/recording.h"
#include "sim/host.h"
#include "sim/panel_geometry.h"

namespace {

using Kind = web::BrowserEvent::Kind;

web::BrowserEvent pointer(Kind kind, int x, int y) {
    web::BrowserEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    return e;
}

web::BrowserEvent keyDown(std::string key, bool ctrl = false) {
    web::BrowserEvent e;
    e.kind = Kind::KeyDown;
    e.key.key = std::move(key);
    e.key.ctrl = ctrl;
    return e;
}

// A click: down and up at the middle of r.
std::vector<web::BrowserEvent> click(const sim::Rect &r) {
    return {pointer(Kind::PointerDown, r.x + r.w / 2, r.y + r.h / 2),
            pointer(Kind::PointerUp, r.x + r.w / 2, r.y + r.h / 2)};
}

const sim::ControlGeometry &part(const sim::PanelGeometry &g, const std::string &key) {
    for (const sim::ControlGeometry &c : g.controls)
        if (c.control->key == key) return c;
    throw std::runtime_error("the panel has no " + key);
}

// The row of the list that shows name, in picture pixels.
sim::Rect row(const sim::PanelGeometry &g, const std::string &name) {
    const sim::ControlGeometry &list = part(g, "list");
    for (const sim::PaintedText &t : list.control->lastPaint.texts)
        if (t.text == name) return {list.field.x + 4, list.field.y + t.y, 40, sim::kListRow};
    throw std::runtime_error("the list shows no " + name);
}

using Batch = std::function<std::vector<web::BrowserEvent>(const sim::PanelGeometry &g)>;

// Hands over one batch per wait, made from the panel as it is then. When the
// batches run out the panel is closed (a test that needs that fails).
struct Batches : web::EventSource {
    sim::Host &host;
    std::deque<Batch> batches;
    std::deque<web::BrowserEvent> queued;
    int waits = 0;
    bool ranOut = false;

    Batches(sim::Host &h, std::deque<Batch> b) : host(h), batches(std::move(b)) {}
    void wait() override {
        ++waits;
        if (batches.empty()) {
            ranOut = true;
            queued.push_back(pointer(Kind::Close, 0, 0));
            return;
        }
        for (const web::BrowserEvent &e : batches.front()(sim::panelGeometry(*host.openPanel())))
            queued.push_back(e);
        batches.pop_front();
    }
    std::optional<web::BrowserEvent> take() override {
        if (queued.empty()) return std::nullopt;
        web::BrowserEvent e = queued.front();
        queued.pop_front();
        return e;
    }
};

struct Frames : web::Presenter {
    std::vector<sim::Picture> frames;
    std::string title;
    void present(const sim::Picture &frame, const std::string &t) override {
        frames.push_back(frame);
        title = t;
    }
};

struct Outcome {
    int result = 0;
    sim::Close outcome = sim::Close::Cancel;
    std::vector<std::string> commands, recorded;
    Frames frames;
    int waits = 0;
    bool ranOut = false;
    size_t leftInQueue = 0;
    sim::Picture closingFrame;  // panelFrame of the panel as it closed, with no overlay
};

Outcome runWith(std::deque<Batch> batches, scene::Scene scene = scene::makeDemoScene()) {
    static const sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    sim::Host host(std::move(scene));
    Outcome r;
    Batches events(host, std::move(batches));
    r.result = host.activate(lib, [&](sim::Host &h) {
        sim::Recorder recording;
        r.outcome = web::runPanel(h, events, r.frames, &recording);
        r.recorded = script::recordingLines(recording);
        r.closingFrame = render::panelFrame(*h.openPanel(), {});
        return r.outcome;
    });
    r.commands = host.commands();
    r.waits = events.waits;
    r.ranOut = events.ranOut;
    r.leftInQueue = events.queued.size();
    return r;
}

TEST(PanelDriver, PresentsTheWindowsFrameThenClicksByTheMouseAndClosesWithOk) {
    const Outcome r = runWith({
        [](const sim::PanelGeometry &g) { return click(row(g, "Key")); },
        [](const sim::PanelGeometry &g) { return click(g.ok); },
    });
    EXPECT_FALSE(r.ranOut);
    EXPECT_EQ(r.outcome, sim::Close::Ok);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.recorded, (std::vector<std::string>{"click Key", "ok"}));
    ASSERT_FALSE(r.commands.empty());
    EXPECT_EQ(r.commands.front(), "EditLights");
    // A first frame before any event, then one per batch that changed
    // something and left the panel open: the click. The frame is the
    // window's, the panel picture with the status line below it, pixel for
    // pixel (no overlay is left after a click).
    ASSERT_EQ(r.frames.frames.size(), 2u);
    EXPECT_EQ(r.frames.title, "Vantorel for 6.5 ver.2.0   by Ulvarn");
    const sim::Picture &last = r.frames.frames.back();
    EXPECT_EQ(last.width(), r.closingFrame.width());
    EXPECT_EQ(last.height(), r.closingFrame.height());
    EXPECT_TRUE(last.rgb() == r.closingFrame.rgb());
    EXPECT_FALSE(r.frames.frames.front().rgb() == last.rgb()) << "the click shows";
}

TEST(PanelDriver, TypesIntoAFieldWithTheKeysAndLeavesShortcutsAlone) {
    const Outcome r = runWith({
        [](const sim::PanelGeometry &g) { return click(row(g, "Fill")); },
        [](const sim::PanelGeometry &g) { return click(part(g, "Intensity").field); },
        [](const sim::PanelGeometry &) {
            // Emptied with Backspace, a Ctrl+A that types nothing, then "25".
            std::vector<web::BrowserEvent> keys;
            keys.push_back(keyDown("End"));
            for (int i = 0; i < 8; ++i) keys.push_back(keyDown("Backspace"));
            keys.push_back(keyDown("a", true));
            for (const char *k : {"2", "5", "Enter"}) keys.push_back(keyDown(k));
            return keys;
        },
        [](const sim::PanelGeometry &g) { return click(g.ok); },
    });
    EXPECT_FALSE(r.ranOut);
    EXPECT_EQ(r.recorded, (std::vector<std::string>{"click Fill", "intensity 25", "ok"}));
    bool found = false;
    for (const std::string &c : r.commands) found = found || c == "LightIntensity 0.250000";
    EXPECT_TRUE(found) << "no LightIntensity 0.250000 among the commands";
}

TEST(PanelDriver, EscapeCancelsAndWhatCameAfterStaysQueued) {
    const Outcome r = runWith({
        [](const sim::PanelGeometry &g) {
            std::vector<web::BrowserEvent> b = click(row(g, "Key"));
            b.push_back(keyDown("Escape"));
            b.push_back(keyDown("x"));  // after the panel closed: not taken
            return b;
        },
    });
    EXPECT_FALSE(r.ranOut);
    EXPECT_EQ(r.outcome, sim::Close::Cancel);
    EXPECT_TRUE(r.commands.empty());
    EXPECT_EQ(r.recorded, (std::vector<std::string>{"click Key", "cancel"}));
    EXPECT_EQ(r.leftInQueue, 1u);
}

TEST(PanelDriver, WheelNotchesScrollTheListAndACancelledPointerActsOnNothing) {
    const Outcome r = runWith({
                                  [](const sim::PanelGeometry &g) {
                                      const sim::Rect list = part(g, "list").field;
                                      web::BrowserEvent wheel =
                                          pointer(Kind::Wheel, list.x + 10, list.y + 10);
                                      wheel.deltaY = 30;  // a touchpad: not a notch yet
                                      web::BrowserEvent more = wheel;
                                      more.deltaY = 170;  // two notches down with it
                                      return std::vector<web::BrowserEvent>{wheel, more};
                                  },
                                  [](const sim::PanelGeometry &g) {
                                      // OK pressed, then the browser takes the pointer away: no OK.
                                      return std::vector<web::BrowserEvent>{
                                          pointer(Kind::PointerDown, g.ok.x + 4, g.ok.y + 4),
                                          pointer(Kind::PointerCancel, -1, -1),
                                      };
                                  },
                              },
                              scene::makeUniformScene(60));
    EXPECT_TRUE(r.ranOut) << "only the Close after the batches may end the panel";
    EXPECT_EQ(r.outcome, sim::Close::Cancel);
    EXPECT_EQ(r.recorded, (std::vector<std::string>{"scroll 32", "cancel"}));
}

}  // namespace
