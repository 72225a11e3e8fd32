// Clicking a light's row by name on the real plug-in: the n-th row of a name,
// rows scrolled out of view, rows the list does not have, and names read as
// UTF-8 the way the scene listing reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "host.h"
#include "loader.h"
#include "tests/support/deliver.h"

using sim::Action;

#ifdef VANTOREL_PLUGIN_PATH

namespace {

scene::Scene named(const std::vector<std::string> &names) {
    scene::Scene s = scene::makeUniformScene(static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) s.lights[i].name = names[i];
    return s;
}

// One activation on a fresh plug-in; the body runs inside the open panel.
void run(sim::Host &host, const std::function<void(sim::Host &)> &body,
         sim::Close close = sim::Close::Cancel) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    testsupport::runOpened(host, lib, [&](sim::Host &h) {
        body(h);
        return close;
    });
}

int sliderValue(const sim::Host &h) { return static_cast<int>(h.control("slider")->intValue); }
std::vector<int> barTops(const sim::Host &h) { return h.control("list")->lastPaint.barTops; }
size_t eventsTo(const sim::Host &h, const std::string &key) {
    return static_cast<size_t>(std::count_if(h.calls().begin(), h.calls().end(), [&](const sim::Call &c) {
        return c.callback && c.name == "plugin.event" && c.args.at(0) == key;
    }));
}

size_t lastEventTo(const sim::Host &h, const std::string &key) {
    size_t at = 0;
    for (size_t i = 0; i < h.calls().size(); ++i)
        if (h.calls()[i].callback && h.calls()[i].name == "plugin.event" && h.calls()[i].args.at(0) == key)
            at = i;
    return at;
}

// Lights that OK sent the intensity 0.5 to.
std::vector<size_t> halved(const sim::Host &h) {
    std::vector<size_t> out;
    for (size_t i = 0; i < h.scene().lights.size(); ++i)
        if (h.scene().lights[i].intensity == 0.5) out.push_back(i);
    return out;
}

TEST(ClickByName, CountsRowsOfOneNameAndScrollsOutOfViewRowsIn) {
    std::vector<std::string> names(16, "Blue");
    names.resize(29, "Bounce");
    names.push_back("Last");  // row 29: below the 400 pixels at first
    sim::Host host(named(names));
    run(
        host,
        [](sim::Host &h) {
            DELIVER(h, Action::clickName("Blue", 3));
            EXPECT_EQ(barTops(h), std::vector<int>{32});
            EXPECT_EQ(eventsTo(h, "slider"), 0u) << "in view: no scrolling";

            // The least scroll that shows the whole row: to the end here.
            DELIVER(h, Action::clickName("Last"));
            EXPECT_EQ(sliderValue(h), 80);
            EXPECT_EQ(eventsTo(h, "slider"), 1u);
            EXPECT_LT(lastEventTo(h, "slider"), lastEventTo(h, "list")) << "the scroll, then the click";
            EXPECT_EQ(barTops(h), (std::vector<int>{32 - 80, 384}));

            DELIVER(h, Action::clickName("Blue"));  // row 0 is above the view now
            EXPECT_EQ(sliderValue(h), 0);
            DELIVER(h, Action::clickName("Bounce", 13));  // row 28
            EXPECT_EQ(sliderValue(h), 28 * 16 + 16 - 400);
            DELIVER(h, Action::clickName("Bounce", 13));  // in view now: deselects it
            DELIVER(h, Action::clickName("Bounce", 13));
            EXPECT_EQ(eventsTo(h, "slider"), 3u);
            DELIVER(h, Action::intensity(50));
        },
        sim::Close::Ok);
    EXPECT_EQ(halved(host), (std::vector<size_t>{0, 2, 28, 29}));
}

TEST(ClickByName, FailsWithoutAnEventForMissingFewerAndUnlistedRows) {
    sim::Host host(scene::makeUniformScene(600));
    run(host, [](sim::Host &h) {
        EXPECT_EQ(testsupport::refusal(h, Action::clickName("Light 600")),
                  "\"Light 600\" is light 600 of the scene, but the list shows only 510 rows; it cannot be "
                  "clicked");
        EXPECT_EQ(testsupport::refusal(h, Action::clickName("Light 5", 2)),
                  "the scene has 1 light named \"Light 5\", so there is no row \"Light 5\" 2");
        EXPECT_EQ(testsupport::refusal(h, Action::clickName("light 5"))
                      .rfind("the scene has no light named \"light 5\" (names match exactly", 0),
                  0u);
        EXPECT_FALSE(deliver(h, Action::clickName("Light 5", 0)));
        EXPECT_EQ(eventsTo(h, "list") + eventsTo(h, "slider"), 0u);
        EXPECT_EQ(sliderValue(h), 0);
        DELIVER(h, Action::clickName("Light 510"));  // the last listed row, scrolled to
        EXPECT_EQ(sliderValue(h), 510 * 16 - 400);
    });
}

// Old scenes hold cp1252 names: a UTF-8 name matches them once the scene's
// names are read as cp1252, as the scene listing reads them; a name written
// in Latin-1 still matches too. Messages show the UTF-8 reading.
TEST(ClickByName, MatchesNamesAsTheSceneListingReadsThem) {
    sim::Host cp1252(named({"Ni\xF1o", "Key", "Ni\xF1o",
                            "\x8A"
                            "arka"}));
    run(cp1252, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Niño", 2));
        EXPECT_EQ(barTops(h), std::vector<int>{32});
        DELIVER(h, Action::clickName("Ni\xF1o"));
        DELIVER(h, Action::clickName("Šarka"));
        EXPECT_EQ(barTops(h), (std::vector<int>{0, 32, 48}));
        EXPECT_EQ(testsupport::refusal(h, Action::clickName("Niño", 3)),
                  "the scene has 2 lights named \"Niño\", so there is no row \"Niño\" 3");
        const std::optional<sim::ListRow> row = h.listRowAt(40);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->name, "Niño");
        EXPECT_EQ(row->occurrence, 2);
    });

    // One name that is not UTF-8 makes the whole scene cp1252, so a UTF-8
    // looking name beside it reads as its cp1252 letters.
    sim::Host mixed(named({"Ni\xC3\xB1o", "Ni\xF1o"}));
    run(mixed, [](sim::Host &h) {
        EXPECT_FALSE(h.nameReading().utf8);
        DELIVER(h, Action::clickName("NiÃ±o"));
        DELIVER(h, Action::clickName("Niño"));
        EXPECT_EQ(barTops(h), (std::vector<int>{0, 16}));
    });
    sim::Host utf8(named({"Ni\xC3\xB1o"}));
    run(utf8, [](sim::Host &h) {
        DELIVER(h, Action::clickName("Niño"));
        EXPECT_EQ(h.listRowAt(3)->name, "Niño");
    });
}

}  // namespace

#endif
