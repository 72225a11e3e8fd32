// A drag step writes the current row only while that row holds a light: the
// current row carries over between runs, and a run on a smaller scene must not
// change rows past its filled ones (found by vantorel-host --validate).
#include "plugin_fixture.h"

using namespace plugintest;
using sim::Close;

class DragCurrentRow : public PluginTest {};

TEST_F(DragCurrentRow, StepAfterRunOnLargerSceneLeavesRowsPastTheSceneAlone) {
    // Run 1: three lights, the third (intensity 0.8) becomes the current row.
    sim::Host first(sceneOf({light("A"), light("B"), light("C", 1, 0.8)}));
    run(first, [](sim::Host &h) {
        DELIVER(h, Action::clickName("C"));
        return Close::Cancel;
    });

    // Run 2: one light. The current row is still row 2, which has no light now.
    // A drag step and then a copy of that row, pasted onto the one light.
    sim::Host second(namedScene({"X"}));
    run(second, [](sim::Host &h) {
        DELIVER(h, Action::drag({500}));
        DELIVER(h, Action::press(Button::Copy));
        DELIVER(h, Action::clickName("X"));
        DELIVER(h, Action::press(Button::Paste));
        return Close::Ok;
    });
    const auto sent = second.commands();
    ASSERT_GE(sent.size(), 3u);
    // Row 2 kept the intensity its scan gave it; the drag did not lower it to 0.3.
    EXPECT_EQ(sent[2], "LightIntensity 0.800000");
}

TEST_F(DragCurrentRow, StepStillSetsAFilledCurrentRow) {
    sim::Host host(sceneOf({light("A", 1, 0.6), light("B", 1, 0.4)}));
    run(host, [](sim::Host &h) {
        DELIVER(h, Action::clickName("B"));
        DELIVER(h, Action::clickName("B"));  // deselected, still current
        DELIVER(h, Action::drag({100}));
        return Close::Ok;
    });
    const auto sent = host.commands();
    ASSERT_GE(sent.size(), 8u);
    EXPECT_EQ(sent[2], "LightIntensity 0.600000");
    EXPECT_EQ(sent[7], "LightIntensity 0.300000");
}
