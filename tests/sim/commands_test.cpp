// Tests of the command interpreter: what it applies and what it rejects.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "commands.h"

namespace {

scene::Scene twoLights() {
    scene::Scene s = scene::makeUniformScene(2);
    s.lights[1].id = 0xff;  // an ID whose hexadecimal form has letters
    return s;
}

TEST(Commands, AppliesEveryEditToTheSelectedLight) {
    scene::Scene scene = twoLights();
    sim::CommandInterpreter cmd(scene);
    const char *good[] = {
        "EditLights", "SelectItem ff", "LightIntensity -0.500000", "LightColor 1.000000 0.500000 0.000000",
        "Spotlight",  "ShadowType 2",  "LightRange 5.000000"};
    for (const char *c : good) EXPECT_TRUE(cmd.run(c).accepted) << c;
    const scene::Light &l = scene.lights[1];
    EXPECT_DOUBLE_EQ(l.intensity, -0.5);
    EXPECT_DOUBLE_EQ(l.color[1], 0.5);
    EXPECT_EQ(l.lightType, 2);
    EXPECT_EQ(l.shadowType, 2);
    EXPECT_DOUBLE_EQ(l.range, 5.0);
    // The other light is untouched.
    EXPECT_DOUBLE_EQ(scene.lights[0].intensity, 1.0);
    EXPECT_EQ(scene.lights[0].lightType, 1);
}

TEST(Commands, TypeWordsMapToTypeCodes) {
    scene::Scene scene = twoLights();
    sim::CommandInterpreter cmd(scene);
    ASSERT_TRUE(cmd.run("SelectItem 20000000").accepted);
    const char *words[] = {"DistantLight", "PointLight", "Spotlight", "LinearLight", "AreaLight"};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(cmd.run(words[i]).accepted);
        EXPECT_EQ(scene.lights[0].lightType, i);
    }
    EXPECT_TRUE(cmd.run("  pointlight  ").accepted) << "words match without regard to case and blanks";
}

TEST(Commands, RejectsWithoutChangingAnything) {
    scene::Scene scene = twoLights();
    sim::CommandInterpreter cmd(scene);
    // No light selected yet.
    EXPECT_FALSE(cmd.run("LightIntensity 0.5").accepted);
    ASSERT_TRUE(cmd.run("SelectItem 20000000").accepted);
    const char *bad[] = {"",
                         "Bogus 1",
                         "LightIntensity",
                         "LightIntensity abc",
                         "LightIntensity 0.5 0.6",
                         "LightIntensity nan",
                         "LightIntensity inf",
                         "LightIntensity 1e999",
                         "LightColor 1 2",
                         "LightColor 1 2 x",
                         "ShadowType 3",
                         "ShadowType -1",
                         "ShadowType 1.5",
                         "Spotlight now",
                         "SelectItem 12345678",
                         "SelectItem 0x20000000",
                         "SelectItem 123456789",
                         "EditLights please"};
    scene::Scene before = scene;
    for (const char *c : bad) {
        sim::CommandOutcome out = cmd.run(c);
        EXPECT_FALSE(out.accepted) << '"' << c << '"';
        EXPECT_FALSE(out.reason.empty()) << c;
    }
    EXPECT_DOUBLE_EQ(scene.lights[0].intensity, before.lights[0].intensity);
    EXPECT_EQ(scene.lights[0].shadowType, before.lights[0].shadowType);
    // Still working after the rejections, on the same light.
    EXPECT_TRUE(cmd.run("LightRange 2").accepted);
    EXPECT_DOUBLE_EQ(scene.lights[0].range, 2.0);
}

TEST(Commands, SelectItemZeroSelectsNothing) {
    scene::Scene scene = twoLights();
    sim::CommandInterpreter cmd(scene);
    ASSERT_TRUE(cmd.run("SelectItem 20000000").accepted);
    EXPECT_EQ(cmd.selectedLight(), 0);
    ASSERT_TRUE(cmd.run("SelectItem 0").accepted);
    EXPECT_EQ(cmd.selectedLight(), -1);
    EXPECT_FALSE(cmd.run("AreaLight").accepted);
}

TEST(Scenes, UniformAndDemoScenes) {
    scene::Scene u = scene::makeUniformScene(3);
    ASSERT_EQ(u.lights.size(), 3u);
    EXPECT_EQ(u.lights[2].name, "Light 3");
    EXPECT_EQ(u.lights[2].id, scene::kLightIdBase + 2);
    EXPECT_EQ(u.lights[2].flags, 0u);
    EXPECT_TRUE(scene::makeUniformScene(-4).lights.empty());

    scene::Scene d = scene::makeDemoScene();
    EXPECT_GE(d.lights.size(), 8u);
    std::set<int> types;
    for (size_t i = 0; i < d.lights.size(); ++i) {
        EXPECT_EQ(d.lights[i].id, scene::kLightIdBase + i);
        types.insert(d.lights[i].lightType);
    }
    EXPECT_EQ(types.size(), 5u) << "the demo scene has every light type";
}

}  // namespace

namespace {

// SelectItem finds lights through an index by ID: it must agree with the list
// as the list is now, whatever was looked up before.
TEST(Commands, SelectItemFollowsTheLightListAsItChanges) {
    scene::Scene scene = scene::makeUniformScene(3);
    scene.lights[2].id = scene.lights[1].id;  // a repeated ID: the first light holding it counts
    sim::CommandInterpreter cmd(scene);
    ASSERT_TRUE(cmd.run("SelectItem 20000001").accepted);
    ASSERT_TRUE(cmd.run("LightRange 7").accepted);
    EXPECT_DOUBLE_EQ(scene.lights[1].range, 7.0);
    EXPECT_DOUBLE_EQ(scene.lights[2].range, 1.0);

    // A light added after the first lookup is found; an ID no light has is not.
    scene::Light extra;
    extra.id = 0x30000000u;
    scene.lights.push_back(extra);
    ASSERT_TRUE(cmd.run("SelectItem 30000000").accepted);
    ASSERT_TRUE(cmd.run("LightRange 9").accepted);
    EXPECT_DOUBLE_EQ(scene.lights[3].range, 9.0);
    EXPECT_FALSE(cmd.run("SelectItem 20000002").accepted);

    // Lights reordered in place: the light now at the position is the one edited.
    std::swap(scene.lights[0], scene.lights[3]);
    ASSERT_TRUE(cmd.run("SelectItem 30000000").accepted);
    ASSERT_TRUE(cmd.run("LightRange 11").accepted);
    EXPECT_DOUBLE_EQ(scene.lights[0].range, 11.0);
    ASSERT_TRUE(cmd.run("SelectItem 20000000").accepted);
    ASSERT_TRUE(cmd.run("LightRange 12").accepted);
    EXPECT_DOUBLE_EQ(scene.lights[3].range, 12.0);
}

}  // namespace

TEST(Commands, WordCountsAndLongNumbersAreJudgedOnTheWholeCommand) {
    scene::Scene scene = twoLights();
    sim::CommandInterpreter cmd(scene);
    ASSERT_TRUE(cmd.run("SelectItem\t20000000").accepted) << "any blank separates words";
    // More words than any command takes, past the ones the parser looks at.
    EXPECT_FALSE(cmd.run("LightColor 1 2 3 4").accepted);
    EXPECT_FALSE(cmd.run("LightColor 1 2 3 4 5 6 7 8").accepted);
    EXPECT_FALSE(cmd.run("EditLights a b c d e f").accepted);
    // "%f" of the largest double is 317 characters; it is still one number.
    char big[400];
    std::snprintf(big, sizeof big, "LightRange %f", 1.7976931348623157e308);
    ASSERT_TRUE(cmd.run(big).accepted);
    EXPECT_DOUBLE_EQ(scene.lights[0].range, 1.7976931348623157e308);
    // Zero-padded past any fixed buffer, and a shadow type written the same way.
    const std::string zeros(100, '0');
    ASSERT_TRUE(cmd.run("LightIntensity " + zeros + "2.5").accepted);
    EXPECT_DOUBLE_EQ(scene.lights[0].intensity, 2.5);
    ASSERT_TRUE(cmd.run("ShadowType " + zeros + "2").accepted);
    EXPECT_EQ(scene.lights[0].shadowType, 2);
    EXPECT_FALSE(cmd.run("LightIntensity " + zeros + "2.5x").accepted);
}
