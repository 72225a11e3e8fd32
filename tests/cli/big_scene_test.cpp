// vantorel-host on generated scenes of more than 10,000 lights, of which the
// plug-in sees the first 510: every light is carried through to the saved file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scene_gen.h"
#include "tests/support/temp_dir.h"

namespace {

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Lines with their line ends.
std::vector<std::string> linesOf(const std::string &bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        if (bytes[i] == '\n' || bytes[i] == '\r') {
            out.push_back(bytes.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < bytes.size()) out.push_back(bytes.substr(start));
    return out;
}

class BigScene : public ::testing::Test {
protected:
    std::string dir = testsupport::privateTempDir();
    std::string scene, saved, script;

    void SetUp() override {
        const std::string tag = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        scene = dir + "big-" + tag + ".lws";
        saved = dir + "big-" + tag + "-saved.lws";
        script = dir + "big-" + tag + ".vts";
        (void)std::remove(saved.c_str());  // left by an earlier run, or (usually) not there
    }
    void TearDown() override {
        for (const std::string &f : {scene, saved, script, saved + ".out", saved + ".err"})
            (void)std::remove(f.c_str());
    }

    std::string generate(size_t lights, bool crlf) {
        scenegen::Options o;
        o.lights = lights;
        o.crlf = crlf;
        size_t written = 0;
        std::string bytes = scenegen::makeScene(o, written);
        EXPECT_EQ(written, lights);
        writeFile(scene, bytes);
        return bytes;
    }

    // Runs vantorel-host on the scene with the script, saving to `saved`.
    int host(const std::string &lines) {
        writeFile(script, lines);
        const std::string cmd = "\"" VANTOREL_HOST_PATH "\" --scene \"" + scene + "\" --script \"" + script +
                                "\" --save \"" + saved + "\" >\"" + saved + ".out\" 2>\"" + saved + ".err\"";
        return std::system(cmd.c_str());
    }
};

TEST_F(BigScene, OkWithoutEditsWritesEveryByteBack) {
    for (bool crlf : {false, true}) {
        const std::string original = generate(crlf ? 10001 : 12000, crlf);
        ASSERT_EQ(host("ok\n"), 0) << readFile(saved + ".err");
        const std::string out = readFile(saved);
        EXPECT_EQ(out.size(), original.size()) << (crlf ? "CR LF" : "LF");
        EXPECT_TRUE(out == original) << (crlf ? "CR LF" : "LF") << ": the saved scene differs";
        // The plug-in edited the first 510 lights only; it still sent them all.
        EXPECT_NE(readFile(saved + ".out").find("SelectItem 200001fd"), std::string::npos);
    }
}

TEST_F(BigScene, OneEditedLightChangesOnlyItsOwnLine) {
    const std::string original = generate(12000, false);
    ASSERT_EQ(host("prefix \"Light 400\"\nintensity 50\nok\n"), 0) << readFile(saved + ".err");
    const std::vector<std::string> before = linesOf(original), after = linesOf(readFile(saved));
    ASSERT_EQ(after.size(), before.size());
    std::vector<size_t> changed;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) changed.push_back(i);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(after[changed[0]], "LightIntensity 0.5\n");
    EXPECT_EQ(before[changed[0]].rfind("LightIntensity ", 0), 0u);
    // ... and it is a line of light 400's section.
    size_t owner = changed[0];
    while (owner > 0 && before[owner].rfind("AddLight", 0) != 0) --owner;
    EXPECT_EQ(before[owner + 1], "LightName Light 400\n");
}

TEST_F(BigScene, CancelWritesNothing) {
    generate(10500, false);
    ASSERT_EQ(host("prefix \"Light 4\"\nintensity 10\ncancel\n"), 0) << readFile(saved + ".err");
    EXPECT_FALSE(std::ifstream(saved).good());
    EXPECT_NE(readFile(saved + ".err").find("was not written"), std::string::npos);
}

}  // namespace
