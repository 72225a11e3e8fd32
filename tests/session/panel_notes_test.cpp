// The status line's note on Range edits that the plug-in will not send, worked out
// from the list's paint and the scene, on the real plug-in.
#include "session/panel_notes.h"

#include <gtest/gtest.h>

#include "sim/host.h"
#include "tests/support/deliver.h"

using sim::Action;

namespace {

scene::Scene lights(const std::vector<std::pair<std::string, bool>> &namesAndLimited) {
    scene::Scene s;
    for (const auto &[name, limited] : namesAndLimited) {
        scene::Light l;
        l.id = scene::kLightIdBase + static_cast<uint32_t>(s.lights.size());
        l.name = name;
        l.flags = limited ? 1u : 0u;
        s.lights.push_back(l);
    }
    return s;
}

TEST(RangeNote, NamesTheSelectedLightsWhoseRangeIsNotLimited) {
    const sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    sim::Host host(lights({{"Key", true}, {"Fill", false}, {"Rim", false}, {"Back", false}, {"Top", false}}));
    std::vector<std::string> seen;
    testsupport::runOpened(host, lib, [&](sim::Host &h) {
        seen.push_back(session::rangeNotSentNote(h));  // nothing selected
        DELIVER(h, Action::clickName("Key"));
        seen.push_back(session::rangeNotSentNote(h));  // limited: sent
        DELIVER(h, Action::clickName("Fill"));
        seen.push_back(session::rangeNotSentNote(h));
        DELIVER(h, Action::clickName("Rim"));
        seen.push_back(session::rangeNotSentNote(h));
        DELIVER(h, Action::clickName("Back"));
        seen.push_back(session::rangeNotSentNote(h));
        DELIVER(h, Action::clickName("Top"));
        seen.push_back(session::rangeNotSentNote(h));
        DELIVER(h, Action::clickName("Key"));  // deselected: only the lights on a selection bar count
        DELIVER(h, Action::clickName("Fill"));
        DELIVER(h, Action::clickName("Rim"));
        DELIVER(h, Action::clickName("Back"));
        seen.push_back(session::rangeNotSentNote(h));
        return sim::Close::Cancel;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "",
                        "",
                        "Range is not sent for Fill: its range is not limited",
                        "Range is not sent for Fill and Rim: their range is not limited",
                        "Range is not sent for Fill, Rim and Back: their range is not limited",
                        "Range is not sent for Fill, Rim and 2 more: their range is not limited",
                        "Range is not sent for Top: its range is not limited",
                    }));
}

TEST(RangeNote, GoesByListPositionNotByName) {
    // Two lights of the same name: the flags of the one drawn selected count.
    const sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    sim::Host host(lights({{"Twin", true}, {"Twin", false}}));
    std::string first, second;
    testsupport::runOpened(host, lib, [&](sim::Host &h) {
        DELIVER(h, Action::clickY(2));  // row 0
        first = session::rangeNotSentNote(h);
        DELIVER(h, Action::clickY(2));
        DELIVER(h, Action::clickY(18));  // row 1
        second = session::rangeNotSentNote(h);
        return sim::Close::Cancel;
    });
    EXPECT_EQ(first, "");
    EXPECT_EQ(second, "Range is not sent for Twin: its range is not limited");
}

}  // namespace
