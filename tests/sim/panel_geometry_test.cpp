// The panel picture's geometry: where the plug-in's controls land, and the
// slider's value and knob in both directions.
#include <gtest/gtest.h>

#include <memory>

#include "panel_geometry.h"
#include "tests/support/deliver.h"

namespace {

using sim::Rect;

// The geometry of the plug-in's panel, taken while it is open. The geometry
// points at the host's controls, so the host is kept alive beside it.
struct PluginPanel {
    sim::PluginLibrary lib;
    std::unique_ptr<sim::Host> host;
    sim::PanelGeometry geometry;
};
PluginPanel pluginPanel(int lights) {
    PluginPanel p{sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH),
                  std::make_unique<sim::Host>(scene::makeUniformScene(lights)),
                  {}};
    testsupport::runOpened(*p.host, p.lib, [&](sim::Host &h) {
        p.geometry = sim::panelGeometry(*h.openPanel());
        return sim::Close::Cancel;
    });
    return p;
}

bool overlap(const Rect &a, const Rect &b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

TEST(PanelGeometry, PluginPanelControlsLieInsideThePictureAndApart) {
    const PluginPanel panel = pluginPanel(30);
    const sim::PanelGeometry &g = panel.geometry;
    ASSERT_EQ(g.controls.size(), 13u);
    EXPECT_EQ(g.bodyY, sim::kTitleHeight);
    const Rect picture{0, 0, g.width, g.height};
    for (const Rect &r : {g.ok, g.cancel}) {
        EXPECT_TRUE(picture.contains(r.x, r.y) && picture.contains(r.x + r.w - 1, r.y + r.h - 1));
        EXPECT_GE(r.y, g.height - sim::kButtonRow);
    }
    EXPECT_FALSE(overlap(g.ok, g.cancel));
    // A point must never hit two controls, or a click would be ambiguous.
    for (size_t i = 0; i < g.controls.size(); ++i) {
        const auto &a = g.controls[i];
        EXPECT_TRUE(picture.contains(a.field.x, a.field.y) &&
                    picture.contains(a.field.x + a.field.w - 1, a.field.y + a.field.h - 1))
            << a.control->key;
        EXPECT_EQ(a.field.x, g.bodyX + a.control->hotX()) << a.control->key;
        EXPECT_EQ(a.label.x + a.label.w, a.field.x) << a.control->key;
        for (size_t j = i + 1; j < g.controls.size(); ++j)
            EXPECT_FALSE(overlap(a.field, g.controls[j].field))
                << a.control->key << " / " << g.controls[j].control->key;
    }
}

TEST(PanelGeometry, ChoiceItemsAndColourNumbersSplitTheirControl) {
    const PluginPanel panel = pluginPanel(3);
    const sim::PanelGeometry &g = panel.geometry;
    for (const auto &c : g.controls) {
        if (c.control->key == "lighttype" || c.control->key == "shadow") {
            ASSERT_EQ(c.items.size(), c.control->items.size());
            int x = c.field.x;
            for (const Rect &it : c.items) {
                EXPECT_EQ(it.x, x) << "items follow each other without a gap";
                EXPECT_EQ(it.y, c.field.y);
                x += it.w;
            }
            EXPECT_EQ(x, c.field.x + c.field.w) << "and fill the control";
        } else if (c.control->key == "color") {
            ASSERT_EQ(c.items.size(), 3u);
            EXPECT_GE(c.items[0].x, c.field.x + sim::kSwatchWidth) << "the numbers come after the swatch";
            EXPECT_FALSE(overlap(c.items[0], c.items[1]));
            EXPECT_FALSE(overlap(c.items[1], c.items[2]));
            EXPECT_LE(c.items[2].x + c.items[2].w, c.field.x + c.field.w);
        } else {
            EXPECT_TRUE(c.items.empty()) << c.control->key;
        }
    }
}

TEST(PanelGeometry, SliderValueAndKnobAgree) {
    sim::ControlModel s;
    s.typeName = "VSlideControl";
    s.desc.range = {CD_RANGE, 400, 0, 7904};
    const Rect field{100, 50, 16, 400};
    // The value under the knob's middle is the knob's value, to within one
    // pixel's worth of range.
    const int valuesPerPixel = 7904 / (400 - 12);
    for (int v : {0, 1, 16, 3950, 7888, 7904}) {
        s.intValue = v;
        const Rect k = sim::sliderKnob(s, field);
        EXPECT_TRUE(field.contains(k.x, k.y) && field.contains(k.x, k.y + k.h - 1)) << v;
        EXPECT_NEAR(sim::sliderValueAt(s, field, k.y + k.h / 2), v, valuesPerPixel + 1) << v;
    }
    EXPECT_EQ(sim::sliderValueAt(s, field, -1000), 0) << "held at the top";
    EXPECT_EQ(sim::sliderValueAt(s, field, 100000), 7904) << "held at the bottom";
    s.desc.range = {CD_RANGE, 400, 0, 0};  // a list that needs no scrolling
    EXPECT_EQ(sim::sliderValueAt(s, field, 300), 0);
    s.desc.range = {CD_RANGE, 400, INT32_MIN, INT32_MAX};
    EXPECT_EQ(sim::sliderValueAt(s, field, 100000), INT32_MAX) << "no overflow across the whole 32-bit range";
    EXPECT_EQ(sim::sliderValueAt(s, field, -100000), INT32_MIN);
}

}  // namespace
