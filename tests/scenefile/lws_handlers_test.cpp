// LWSC 6 to 8: light handler blocks name a light's kind; a type change must
// match the block, which is never rewritten; everything else edits as in 5.
#include <gtest/gtest.h>

#include "lws_test_util.h"

using lwstest::changedLines;
using lwstest::mentions;
using lwstest::renderAgainstUnedited;
using lwstest::RenderedEdit;
using scenefile::LwsDocument;
using scenefile::LwsSetting;

namespace {

std::size_t indexOf(const scene::Scene &s, const std::string &name) {
    for (std::size_t i = 0; i < s.lights.size(); ++i) {
        if (s.lights[i].name == name) return i;
    }
    ADD_FAILURE() << "no light " << name;
    return 0;
}

}  // namespace

TEST(LwsHandlers, Version8KindsComeFromTheHandlerBlock) {
    const LwsDocument doc = lwstest::parseOrFail(lwstest::fixture("v8.lws"), "v8.lws");
    EXPECT_EQ(doc.version(), 8);
    const scene::Scene s = doc.scene();
    ASSERT_EQ(s.lights.size(), 11u);
    struct Want {
        const char *name;
        const char *handler;  // nullptr: no block
        int32_t type;
    };
    const Want want[] = {
        {"Sun", "DistantLight", 0},      {"Bulb", "PointLight", 1},     {"Key", "SpotLight", 2},
        {"Panel", "AreaLight", 4},       {"Tube", "LinearLight", 3},    {"Sky", "DomeLight", -1},
        {"IES", "PhotometricLight", -1}, {"Window", "PortalLight", -1}, {"Custom", "FancyLight", -1},
        {"Legacy", nullptr, 3},          {"Odd", "SpotLight", 1},
    };
    for (std::size_t i = 0; i < 11; ++i) {
        SCOPED_TRACE(want[i].name);
        EXPECT_EQ(s.lights[i].name, want[i].name);
        EXPECT_EQ(s.lights[i].id, 0x20000000u + i);
        EXPECT_EQ(doc.hasLightHandler(i), want[i].handler != nullptr);
        EXPECT_EQ(doc.lightHandler(i), want[i].handler ? want[i].handler : "");
        // A dome light without a LightType line, a photometric one with
        // "LightType 1": the block decides; "Odd" says Point beside a spot
        // block, and its LightType line is what Layout reports.
        EXPECT_EQ(s.lights[i].lightType, want[i].type);
        // A kind outside the five types is named, so that a front end can show it.
        const char *other = i == 5   ? "Dome"
                            : i == 6 ? "Photometric"
                            : i == 7 ? "Portal"
                            : i == 8 ? "FancyLight"
                                     : "";
        EXPECT_EQ(s.lights[i].otherKind, other);
    }
    // Settings-like lines inside the handler and shader blocks are not read.
    const scene::Light &key = s.lights[2];
    EXPECT_DOUBLE_EQ(key.intensity, 1.5);
    EXPECT_EQ(key.shadowType, 2);
    EXPECT_TRUE(s.lights[4].intensityAnimated);
    EXPECT_DOUBLE_EQ(s.lights[4].intensity, 0.5);
    EXPECT_EQ(s.lights[1].flags, 1u);
    EXPECT_DOUBLE_EQ(s.lights[1].range, 5.0);
}

TEST(LwsHandlers, HandlerBlocksAreFoundOnlyWhereTheyNameTheLight) {
    const std::string light = "AddLight 20000000\nLightName A\nLightType 2\n";
    struct Case {
        const char *what;
        std::string bytes;
        bool handler;
        int32_t type;
    };
    const Case cases[] = {
        {"LWSC 5 has no handlers", "LWSC\n5\n" + light + "Plugin LightHandler 1 DomeLight\nEndPlugin\n",
         false, 2},
        {"inside another block",
         "LWSC\n8\n" + light + "{ Outer\n  Plugin LightHandler 1 DomeLight\n  EndPlugin\n}\n", false, 2},
        {"another plug-in class", "LWSC\n8\n" + light + "Plugin LightFilter 1 DomeLight\nEndPlugin\n", false,
         2},
        {"no name", "LWSC\n8\n" + light + "Plugin LightHandler\nEndPlugin\n", true, -1},
        {"the later of two",
         "LWSC\n7\n" + light + "Plugin LightHandler 1 DomeLight\nEndPlugin\n" +
             "Plugin LightHandler 1 SpotLight\nEndPlugin\n",
         true, 2},
        {"no LightType line", "LWSC\n6\nAddLight 20000000\nPlugin LightHandler 1 AreaLight\nEndPlugin\n",
         true, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const LwsDocument doc = lwstest::parseOrFail(c.bytes, "h.lws");
        ASSERT_EQ(doc.lightCount(), 1u);
        EXPECT_EQ(doc.hasLightHandler(0), c.handler);
        EXPECT_EQ(doc.scene().lights[0].lightType, c.type);
        std::vector<std::string> warnings;
        EXPECT_EQ(doc.render(doc.scene(), warnings), c.bytes);
        EXPECT_TRUE(warnings.empty());
    }
}

TEST(LwsHandlers, AnUneditedOkWritesVersions6To8BackByteForByte) {
    for (const char *name : {"v6.lws", "v7.lws", "v8.lws", "v8-crlf.lws"}) {
        SCOPED_TRACE(name);
        const std::string bytes = lwstest::fixture(name);
        const LwsDocument doc = lwstest::parseOrFail(bytes, name);
        const scene::Scene unedited = lwstest::asPluginSendsBack(doc.scene());
        const RenderedEdit r = renderAgainstUnedited(doc, unedited);
        EXPECT_EQ(r.bytes, bytes);
        EXPECT_TRUE(r.notes.errors.empty());
        // Each light of a kind outside the five is named, with the type that
        // was sent for it and not written.
        const scene::Scene s = doc.scene();
        std::size_t others = 0;
        for (const scene::Light &l : s.lights) {
            if (l.lightType != scenefile::kOtherLightKind) continue;
            ++others;
            EXPECT_TRUE(mentions(r.notes.warnings, "\"" + l.name + "\"", "light type Distant")) << l.name;
        }
        EXPECT_EQ(r.notes.warnings.size(), others);
    }
}

TEST(LwsHandlers, IntensityColourShadowAndRangeEditInPlace) {
    const std::string bytes = lwstest::fixture("v8-crlf.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v8-crlf.lws");
    scene::Scene s = lwstest::asPluginSendsBack(doc.scene());
    scene::Light &fill = s.lights[indexOf(s, "Fill")];
    fill.intensity = 0.25;
    fill.color[1] = 0.25;
    fill.shadowType = 2;
    s.lights[indexOf(s, "Sky")].intensity = 1.5;  // a dome light edits like any other
    RenderedEdit r = renderAgainstUnedited(doc, s);
    EXPECT_TRUE(r.notes.errors.empty());
    EXPECT_EQ(changedLines(bytes, r.bytes),
              (std::vector<std::string>{"LightColor 0.4 0.25 1\r\n", "LightIntensity 0.25\r\n",
                                        "ShadowType 2\r\n", "LightIntensity 1.5\r\n"}));

    const std::string eight = lwstest::fixture("v8.lws");
    const LwsDocument v8 = lwstest::parseOrFail(eight, "v8.lws");
    s = lwstest::asPluginSendsBack(v8.scene());
    s.lights[indexOf(s, "Bulb")].range = 8.5;
    r = renderAgainstUnedited(v8, s);
    EXPECT_EQ(changedLines(eight, r.bytes), std::vector<std::string>{"LightRange 8.5\n"});
}

TEST(LwsHandlers, ATypeChangeIsWrittenOnlyWhereTheBlockAlreadyNamesTheNewKind) {
    const std::string bytes = lwstest::fixture("v8.lws");
    const LwsDocument doc = lwstest::parseOrFail(bytes, "v8.lws");
    const scene::Scene unedited = lwstest::asPluginSendsBack(doc.scene());

    // "Odd" is LightType 1 beside a SpotLight block; "Legacy" has no block.
    scene::Scene s = unedited;
    s.lights[indexOf(s, "Odd")].lightType = 2;
    s.lights[indexOf(s, "Legacy")].lightType = 4;
    RenderedEdit r = renderAgainstUnedited(doc, s);
    EXPECT_TRUE(r.notes.errors.empty());
    const std::vector<std::string> changed = changedLines(bytes, r.bytes);
    EXPECT_EQ(changed, (std::vector<std::string>{"LightType 4\n", "LightType 2\n"}));

    // Any other change is refused, naming the light, the new type and the block.
    struct Refused {
        const char *light;
        int32_t type;
        const char *handler;
    };
    for (const Refused &c : {Refused{"Sun", 2, "DistantLight"}, Refused{"Odd", 0, "SpotLight"},
                             Refused{"Sky", 1, "DomeLight"}, Refused{"Custom", 4, "FancyLight"}}) {
        SCOPED_TRACE(c.light);
        s = unedited;
        s.lights[indexOf(s, c.light)].lightType = c.type;
        r = renderAgainstUnedited(doc, s);
        ASSERT_EQ(r.notes.errors.size(), 1u);
        EXPECT_TRUE(mentions(r.notes.errors, std::string("\"") + c.light + "\"", c.handler))
            << r.notes.errors[0];
        EXPECT_NE(r.notes.errors[0].find("cannot be changed"), std::string::npos);
    }

    // Without the unedited scene the writer cannot tell an edit from what an
    // OK sends; a type the block does not allow is refused (here a warning,
    // as the two-argument render reports everything as warnings).
    std::vector<std::string> warnings;
    s = unedited;
    EXPECT_EQ(doc.render(s, warnings), bytes);
    EXPECT_TRUE(mentions(warnings, "\"Sky\"", "cannot be changed"));
}

TEST(LwsHandlers, Versions6And7AreReadLike5And8) {
    const std::string six = lwstest::fixture("v6.lws");
    const LwsDocument v6 = lwstest::parseOrFail(six, "v6.lws");
    ASSERT_EQ(v6.lightCount(), 2u);
    EXPECT_EQ(v6.scene().lights[0].id, 0x20000010u);
    EXPECT_FALSE(v6.hasLightHandler(0));
    EXPECT_EQ(v6.lightHandler(1), "DistantLight");
    scene::Scene s = lwstest::asPluginSendsBack(v6.scene());
    s.lights[0].lightType = 2;  // no block: the LightType line, as in LWSC 5
    s.lights[1].lightType = 1;  // a distant block: refused
    const scene::Scene unedited = lwstest::asPluginSendsBack(v6.scene());
    LwsDocument::Notes notes;
    const std::string out = v6.render(s, &unedited, notes);
    EXPECT_TRUE(mentions(notes.errors, "\"Sun\"", "DistantLight"));
    EXPECT_EQ(changedLines(six, out), std::vector<std::string>{"LightType 2\n"});

    const LwsDocument v7 = lwstest::parseOrFail(lwstest::fixture("v7.lws"), "v7.lws");
    EXPECT_EQ(v7.scene().lights[1].lightType, scenefile::kOtherLightKind);
    EXPECT_EQ(v7.lightHandler(1), "DomeLight");
}
