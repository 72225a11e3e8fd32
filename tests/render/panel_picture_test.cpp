// Pictures of the plug-in's panel: what must be where, and stable bytes.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "render/panel_render.h"
#include "sim/font.h"
#include "sim/host.h"
#include "tests/support/deliver.h"

#ifdef VANTOREL_HAVE_STB_IMAGE
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
#endif

namespace {

using sim::Action;
using sim::Close;
using sim::Host;
using sim::Picture;
using sim::Rect;
using sim::Rgb;

constexpr Rgb kBar{30, 30, 128};  // the plug-in's selection bar

// Pixels of ink the panel font puts down for a text.
int inkOf(const std::string &text) {
    int n = 0;
    for (unsigned char ch : text) {
        const uint8_t *rows = sim::font::cellRows(ch);
        for (int r = 0; r < sim::font::kCellHeight; ++r)
            for (int c = 0; c < sim::font::kGlyphWidth; ++c) n += (rows[r] >> (4 - c)) & 1;
    }
    return n;
}

// The control's body, in picture coordinates: the panel's (0, 0) is below the
// title bar, and right of it by as much as labels reach out.
Rect body(const sim::PanelModel &p, const sim::ControlModel &c) {
    return {sim::panelBodyX(p) + c.hotX(), sim::kTitleHeight + c.y, c.bodyWidth, c.bodyHeight};
}
// Its label, in picture coordinates.
Rect label(const sim::PanelModel &p, const sim::ControlModel &c) {
    return {sim::panelBodyX(p) + c.x, sim::kTitleHeight + c.y, c.labelWidth, c.bodyHeight};
}
int count(const Picture &pic, Rgb colour, Rect b) { return pic.countColour(colour, b.x, b.y, b.w, b.h); }

class PanelPicture : public ::testing::Test {
protected:
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);

    // Runs one session on a scene and returns the picture of the closed panel.
    Picture run(Host &host, const Host::Driver &driver) {
        host.activate(lib, driver);
        const sim::PanelModel *p = host.lastPanel();
        EXPECT_TRUE(p && p->opened);
        return p ? render::drawPanel(*p) : Picture();
    }
};

TEST_F(PanelPicture, TitleIsWrittenInTheTitleBar) {
    Host host(scene::makeDemoScene());
    Picture pic = run(host, [](Host &) { return Close::Cancel; });
    const std::string &title = host.lastPanel()->title;
    ASSERT_FALSE(title.empty());
    // Every ink pixel of the title, and nothing else white, in the bar.
    EXPECT_EQ(count(pic, render::kTitleInk, {0, 0, pic.width(), sim::kTitleHeight}), inkOf(title));
    EXPECT_EQ(count(pic, render::kTitleInk, {8, 0, sim::font::textWidth(title), sim::kTitleHeight}),
              inkOf(title));
}

TEST_F(PanelPicture, ListAreaIsTheRasterAsPaintedWithItsSelectionBar) {
    Host host(scene::makeDemoScene());
    Picture pic = run(host, [](Host &h) {
        DELIVER(h, Action::clickName("Rim"));
        return Close::Ok;
    });
    const sim::PanelModel &p = *host.lastPanel();
    const sim::ControlModel *list = host.control("list");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->lastPaint.barTops.size(), 1u);
    Rect b = body(p, *list);
    Picture raster = host.listPicture();
    ASSERT_GE(raster.width(), b.w);
    int differ = 0;
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x) differ += pic.at(b.x + x, b.y + y) != raster.at(x, y);
    EXPECT_EQ(differ, 0);

    // The bar stands behind the third row (Rim), and only there.
    const int barTop = list->lastPaint.barTops[0];
    EXPECT_EQ(pic.at(b.x + 150, b.y + barTop + 1), kBar);
    EXPECT_GT(count(pic, kBar, {b.x, b.y + barTop, b.w, 14}), 150 * 14 / 2);
    EXPECT_EQ(count(pic, kBar, b), count(pic, kBar, {b.x, b.y + barTop, b.w, 14}));
}

TEST_F(PanelPicture, GhostedControlsAreDimmedAndEnabledOnesAreNot) {
    Host ghosted(scene::makeDemoScene());
    Picture g = run(ghosted, [](Host &) { return Close::Cancel; });
    Host enabled(scene::makeDemoScene());
    Picture e = run(enabled, [](Host &h) {
        DELIVER(h, Action::clickName("Key"));
        return Close::Ok;
    });
    ASSERT_EQ(ghosted.propertyGhosted(), std::optional<bool>(true));
    ASSERT_EQ(enabled.propertyGhosted(), std::optional<bool>(false));
    for (const char *key : {"Intensity", "Range"}) {
        SCOPED_TRACE(key);
        Rect gl = label(*ghosted.lastPanel(), *ghosted.control(key));
        Rect el = label(*enabled.lastPanel(), *enabled.control(key));
        EXPECT_EQ(count(g, render::kInk, gl), 0);
        EXPECT_EQ(count(g, render::kGhostInk, gl), inkOf(key));
        EXPECT_EQ(count(e, render::kInk, el), inkOf(key));
        EXPECT_EQ(count(e, render::kGhostInk, el), 0);
        // The field is filled dimmer too.
        Rect gb = body(*ghosted.lastPanel(), *ghosted.control(key));
        EXPECT_GT(count(g, render::kGhostFieldFill, gb), gb.w * gb.h / 2);
        EXPECT_EQ(count(e, render::kGhostFieldFill, body(*enabled.lastPanel(), *enabled.control(key))), 0);
    }
    // "Clear selection" is a button: its label is inside it.
    Rect clear = body(*enabled.lastPanel(), *enabled.control("Clear selection"));
    EXPECT_EQ(count(e, render::kInk, clear), inkOf("Clear selection"));
}

TEST_F(PanelPicture, ValuesAreShownInTheirControls) {
    Host host(scene::makeDemoScene());
    Picture pic = run(host, [](Host &h) {
        DELIVER(h, Action::clickName("Key"));
        DELIVER(h, Action::color(255, 128, 0));
        DELIVER(h, Action::lightType(3));
        return Close::Ok;
    });
    const sim::PanelModel &p = *host.lastPanel();
    // Colour: the swatch holds the colour, the three fields its numbers.
    const sim::ControlModel *colour = host.control("color");
    ASSERT_NE(colour, nullptr);
    Rect cb = body(p, *colour);
    EXPECT_EQ(pic.at(cb.x + 9, cb.y + 10), (Rgb{255, 128, 0}));
    EXPECT_EQ(count(pic, render::kInk, cb), inkOf("255") + inkOf("128") + inkOf("0"));

    // Choice: the chosen item (Linear) is drawn pressed, with white text; no other is.
    const sim::ControlModel *type = host.control("lighttype");
    ASSERT_NE(type, nullptr);
    ASSERT_EQ(type->intValue, 3);
    Rect tb = body(p, *type);
    int x = tb.x;
    for (size_t i = 0; i < type->items.size(); ++i) {
        const int w = sim::font::textWidth(type->items[i]) + 12;
        SCOPED_TRACE(type->items[i]);
        Rect item{x + 1, tb.y + 1, w - 2, tb.h - 2};
        if (i == 3) EXPECT_EQ(count(pic, render::kTitleInk, item), inkOf("Linear"));
        else EXPECT_EQ(count(pic, render::kPressedFill, item), 0);
        x += w;
    }

    // Float field: the number as text.
    const sim::ControlModel *intensity = host.control("Intensity");
    Rect ib = body(p, *intensity);
    EXPECT_EQ(count(pic, render::kInk, ib), inkOf(sim::fieldNumberText(intensity->floatValue)));

    // The panel closed with OK: that button is pressed, Cancel is not.
    const int by = pic.height() - sim::kButtonRow;
    const int cancelX = pic.width() - 8 - sim::kOkCancelWidth;
    EXPECT_GT(count(pic, render::kPressedFill,
                    {cancelX - 8 - sim::kOkCancelWidth, by, sim::kOkCancelWidth, sim::kButtonRow}),
              0);
    EXPECT_EQ(count(pic, render::kPressedFill, {cancelX, by, sim::kOkCancelWidth, sim::kButtonRow}), 0);
}

// The plug-in passes names as bytes; the list and the fields show each byte
// as its cp1252 character, accents included, as Layout on Windows does.
TEST_F(PanelPicture, Cp1252LettersAreDrawnInTheListAndInTheFields) {
    scene::Scene scene = scene::makeUniformScene(2);
    scene.lights[0].name = "\xD1\xE9";  // Ñé
    Host host(scene);
    Picture pic = run(host, [](Host &h) {
        DELIVER(h, Action::prefix("\x8A\xF1"));  // Šñ
        return Close::Cancel;
    });
    const sim::PanelModel &p = *host.lastPanel();
    Rect list = body(p, *host.control("list"));
    EXPECT_EQ(count(pic, sim::kTextColour, {list.x, list.y, 12, sim::font::kCellHeight}), inkOf("\xD1\xE9"));
    EXPECT_GT(count(pic, sim::kTextColour, {list.x, list.y, 6, 2}), 0) << "the tilde above the N";
    EXPECT_NE(inkOf("\xD1"), inkOf("\x01")) << "not the box of an unknown byte";

    Rect prefix = body(p, *host.control("prefix"));
    ASSERT_EQ(host.prefixText(), "\x8A\xF1");
    EXPECT_EQ(count(pic, render::kInk, prefix), inkOf("\x8A\xF1"));
    EXPECT_GT(count(pic, render::kInk, {prefix.x, prefix.y, prefix.w, prefix.h / 2}), inkOf("\x8A\xF1") / 3)
        << "the caron stands above the S";
}

TEST_F(PanelPicture, SliderKnobFollowsTheValue) {
    Host top(scene::makeUniformScene(200));
    Picture a = run(top, [](Host &) { return Close::Cancel; });
    Host bottom(scene::makeUniformScene(200));
    Picture b = run(bottom, [](Host &h) {
        const sim::ControlModel *s = h.control("slider");
        DELIVER(h, Action::scroll(s->desc.range.max));
        return Close::Cancel;
    });
    const sim::ControlModel *s = bottom.control("slider");
    ASSERT_GT(s->desc.range.max, 0);
    Rect sb = body(*bottom.lastPanel(), *s);
    Rect upper{sb.x, sb.y, sb.w, sb.h / 2}, lower{sb.x, sb.y + sb.h / 2, sb.w, sb.h / 2};
    EXPECT_GT(count(a, render::kPressedFill, upper), 0);
    EXPECT_EQ(count(a, render::kPressedFill, lower), 0);
    EXPECT_EQ(count(b, render::kPressedFill, upper), 0);
    EXPECT_GT(count(b, render::kPressedFill, lower), 0);
}

TEST_F(PanelPicture, LabelsReachingLeftOfThePanelAreShownWhole) {
    Host host(scene::makeDemoScene());
    Picture pic = run(host, [](Host &) { return Close::Cancel; });
    const sim::ControlModel *prefix = host.control("prefix");
    ASSERT_NE(prefix, nullptr);
    Rect l = label(*host.lastPanel(), *prefix);
    EXPECT_GE(l.x, 1);
    EXPECT_EQ(count(pic, render::kInk, l), inkOf("prefix"));
}

TEST_F(PanelPicture, SameSessionGivesTheSameBytes) {
    auto session = [](Host &h) {
        DELIVER(h, Action::prefix("Sp"));
        DELIVER(h, Action::intensity(40));
        return Close::Ok;
    };
    Host one(scene::makeDemoScene());
    std::string a = render::encodePng(run(one, session));
    sim::PluginLibrary other = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    Host two(scene::makeDemoScene());
    testsupport::runOpened(two, other, session);
    std::string b = render::encodePng(render::drawPanel(*two.lastPanel()));
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
    EXPECT_EQ(a, b);
}

#ifdef VANTOREL_HAVE_STB_IMAGE
TEST_F(PanelPicture, PngDecodesToThePicture) {
    Host host(scene::makeDemoScene());
    Picture pic = run(host, [](Host &h) {
        DELIVER(h, Action::clickName("Sun"));
        return Close::Ok;
    });
    std::string png = render::encodePng(pic);
    int w = 0, h = 0, n = 0;
    // Freed on every way out, a failed assertion included.
    const std::unique_ptr<unsigned char, void (*)(void *)> px(
        stbi_load_from_memory(reinterpret_cast<const unsigned char *>(png.data()),
                              static_cast<int>(png.size()), &w, &h, &n, 3),
        stbi_image_free);
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(w, pic.width());
    EXPECT_EQ(h, pic.height());
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(std::equal(pic.rgb().begin(), pic.rgb().end(), px.get()));
}
#endif

TEST(PanelPictureUnits, EmptyPictureEncodesToNothing) {
    EXPECT_TRUE(render::encodePng(Picture()).empty());
    EXPECT_TRUE(render::encodePng(Picture(0, 10)).empty());
}

TEST(PanelPictureUnits, FieldNumbers) {
    EXPECT_EQ(sim::fieldNumberText(100), "100.0");
    EXPECT_EQ(sim::fieldNumberText(2.5), "2.5");
    EXPECT_EQ(sim::fieldNumberText(0.125), "0.125");
    EXPECT_EQ(sim::fieldNumberText(0.0004), "0.0");
    EXPECT_EQ(sim::fieldNumberText(-0.0001), "0.0");
    EXPECT_EQ(sim::fieldNumberText(-12.75), "-12.75");
    EXPECT_EQ(sim::fieldNumberText(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(sim::fieldNumberText(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(sim::fieldNumberText(1e12), "1e+12");
    EXPECT_EQ(sim::fieldNumberText(-1e300), "-1e+300");
}

TEST(PanelPictureUnits, PanelWithoutControlsStillHasTitleAndButtons) {
    sim::PanelModel p;
    p.title = "A";
    p.picture = Picture(10, 10, sim::kPanelBackground);
    Picture pic = render::drawPanel(p);
    EXPECT_GE(pic.width(), 2 * sim::kOkCancelWidth + 24);
    EXPECT_EQ(pic.height(), sim::kTitleHeight + 10 + sim::kButtonRow);
    EXPECT_EQ(count(pic, render::kTitleInk, {0, 0, pic.width(), sim::kTitleHeight}), inkOf("A"));
    EXPECT_EQ(count(pic, render::kPressedFill, {0, 0, pic.width(), pic.height()}), 0);  // no outcome yet
}

}  // namespace
