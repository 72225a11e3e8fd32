// vantorel-host --list [--json] on every real scene file, checked against a
// small reading of the file done here, and the listing of awkward names.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "scene_list.h"
#include "tests/support/real_scenes.h"

namespace {

const std::string kSceneDir = VANTOREL_SHARED_SCENES;

struct HostRun {
    int exit = -1;
    std::string out;
};

// Runs vantorel-host with the arguments (already quoted for the shell).
HostRun host(const std::string &args) {
    HostRun r;
    FILE *p = popen(("'" VANTOREL_HOST "' " + args + " 2>/dev/null").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int status = pclose(p);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// What a scene file says about one light, read without the project's reader.
struct FileLight {
    uint32_t id = 0;
    std::string name;
    double color[3] = {255, 255, 255};  // 0-255
    double intensity = 1, range = 1;
    int type = 1, shadow = 0, falloff = 0;
    bool intensityEnvelope = false;
};

// Enough of the format for the real files: settings at the top level of each
// light, and envelopes whose first key is at time 0 (checked).
std::vector<FileLight> readLights(const std::string &path, int &version) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    version = lines.size() > 1 ? std::stoi(lines[1]) : 0;
    std::vector<FileLight> lights;
    bool inLight = false;
    int depth = 0;
    for (size_t i = 2; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string kw;
        words >> kw;
        if (kw.rfind('{', 0) == 0) ++depth;
        if (kw == "}") --depth;
        if (depth > 0) continue;
        if (kw == "AddLight") {
            FileLight l;
            std::string hex;
            if (version >= 4 && words >> hex) l.id = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
            else l.id = 0x20000000u + static_cast<uint32_t>(lights.size());
            lights.push_back(l);
            inLight = true;
            continue;
        }
        if (kw == "AddCamera" || kw == "ShowCamera" || kw.rfind("LoadObject", 0) == 0 ||
            kw == "AddNullObject")
            inLight = false;
        if (!inLight) continue;
        FileLight &l = lights.back();
        if (kw == "LightName") {
            l.name = lines[i].substr(lines[i].find(' ') + 1);
        } else if (kw == "LightColor") {
            for (double &c : l.color) words >> c;
            if (version >= 3)
                for (double &c : l.color) c = std::round(c * 255);
        } else if (kw == "LightIntensity" || kw == "LgtIntensity") {
            std::string v;
            words >> v;
            if (v != "(envelope)") {
                l.intensity = std::stod(v);
                continue;
            }
            l.intensityEnvelope = true;
            double value = 0, frame = -1;
            if (lines[i + 1].find("{ Envelope") != std::string::npos) {
                std::istringstream key(lines[i + 3]);  // "Key value time ..."
                std::string word;
                key >> word >> value >> frame;
            } else {  // channels, key count, then the first key's value and frame
                value = std::stod(lines[i + 3]);
                frame = std::stod(lines[i + 4]);
            }
            EXPECT_EQ(frame, 0) << path << ": the first key of line " << i + 1 << " is not at time 0";
            l.intensity = value;
        } else if (kw == "LightType") {
            words >> l.type;
        } else if (kw == "ShadowType") {
            words >> l.shadow;
        } else if (kw == "LightFalloffType" || kw == "LightFalloff") {
            words >> l.falloff;
        } else if (kw == "LightRange") {
            words >> l.range;
        }
    }
    return lights;
}

const char *const kTypes[] = {"Distant", "Point", "Spot", "Linear", "Area"};
const char *const kShadows[] = {"Off", "Raytrace", "ShadowMap"};

TEST(SceneList, EveryRealSceneAsJsonAndText) {
    const std::vector<std::string> names = testsupport::realSceneFiles(kSceneDir);
    if (names.empty()) GTEST_SKIP() << "no scene files in " << kSceneDir;
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string path = kSceneDir + "/" + name;
        int version = 0;
        const std::vector<FileLight> want = readLights(path, version);
        ASSERT_FALSE(want.empty());

        const HostRun json = host("--scene '" + path + "' --list --json");
        ASSERT_EQ(json.exit, 0);
        const nlohmann::json doc = nlohmann::json::parse(json.out);
        EXPECT_EQ(doc["file"], path);
        EXPECT_EQ(doc["version"], version);
        ASSERT_EQ(doc["lights"].size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE("light " + std::to_string(i + 1));
            const FileLight &w = want[i];
            const nlohmann::json &l = doc["lights"][i];
            EXPECT_EQ(l["id"], w.id);
            EXPECT_EQ(l["name"], w.name);
            EXPECT_EQ(l["typeCode"], w.type);
            EXPECT_EQ(l["type"], kTypes[w.type]);
            EXPECT_NEAR(l["intensityPercent"].get<double>(), w.intensity * 100, 1e-6);
            EXPECT_EQ(l["color"], nlohmann::json({w.color[0], w.color[1], w.color[2]}));
            EXPECT_TRUE(l["color"][0].is_number_integer());
            EXPECT_EQ(l["shadowCode"], w.shadow);
            EXPECT_EQ(l["shadow"], kShadows[w.shadow]);
            EXPECT_NEAR(l["range"].get<double>(), w.range, 1e-6);
            EXPECT_EQ(l["rangeLimited"], w.falloff != 0);
            EXPECT_EQ(l["animated"],
                      w.intensityEnvelope ? nlohmann::json({"intensity"}) : nlohmann::json::array());
        }

        // The plain listing: title, header, then one line per light in order.
        const HostRun text = host("--scene '" + path + "' --list");
        ASSERT_EQ(text.exit, 0);
        std::istringstream lines(text.out);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, path + ": LWSC " + std::to_string(version) + ", " + std::to_string(want.size()) +
                            (want.size() == 1 ? " light" : " lights"));
        std::getline(lines, line);
        EXPECT_EQ(line.rfind("ID ", 0), 0u) << line;
        bool anyEnvelope = false;
        for (const FileLight &w : want) {
            ASSERT_TRUE(std::getline(lines, line));
            char id[16];
            std::snprintf(id, sizeof id, "%08x", w.id);
            const std::string head = std::string(id) + "  \"" + w.name + "\"";
            ASSERT_EQ(line.rfind(head, 0), 0u) << line;
            std::istringstream rest(line.substr(head.size()));
            std::string type, intensity, shadow, range, limited;
            double r = 0, g = 0, b = 0;
            rest >> type >> intensity >> r >> g >> b >> shadow >> range >> limited;
            EXPECT_EQ(type, kTypes[w.type]);
            const std::string mark = w.intensityEnvelope ? "%*" : "%";
            ASSERT_GT(intensity.size(), mark.size());
            EXPECT_EQ(intensity.substr(intensity.size() - mark.size()), mark);
            EXPECT_NEAR(std::stod(intensity), w.intensity * 100, 1e-6);
            EXPECT_EQ(r, w.color[0]);
            EXPECT_EQ(g, w.color[1]);
            EXPECT_EQ(b, w.color[2]);
            EXPECT_EQ(shadow, kShadows[w.shadow]);
            EXPECT_NEAR(std::stod(range), w.range, 1e-6);
            EXPECT_EQ(limited, w.falloff ? "yes" : "no");
            anyEnvelope = anyEnvelope || w.intensityEnvelope;
        }
        EXPECT_EQ(static_cast<bool>(std::getline(lines, line)), anyEnvelope);
        EXPECT_FALSE(std::getline(lines, line)) << "unexpected line: " << line;
    }
}

scenefile::LwsDocument sceneWithNames(const std::vector<std::string> &names) {
    std::string bytes = "LWSC\n3\n";
    for (const std::string &n : names) bytes += "AddLight\nLightName " + n + "\n";
    scenefile::LwsDocument doc;
    scenefile::LoadError err;
    EXPECT_TRUE(scenefile::LwsDocument::parse(bytes, "names.lws", doc, err)) << err.toString();
    return doc;
}

std::vector<std::string> jsonNames(const scenefile::LwsDocument &doc) {
    std::vector<std::string> out;
    const nlohmann::json parsed = nlohmann::json::parse(vhost::listSceneJson(doc, doc.fileName()));
    for (const auto &l : parsed["lights"]) out.push_back(l["name"]);
    return out;
}

// Quotes, backslashes and control characters survive the JSON round trip and
// are escaped in the text, so that each light stays on one line.
TEST(SceneList, NamesWithQuotesBackslashesAndControls) {
    const std::string awkward = "a \"b\" c\\d\te\x01\x1f\x7f";
    const scenefile::LwsDocument doc = sceneWithNames({awkward});
    EXPECT_EQ(jsonNames(doc), std::vector<std::string>{awkward});
    const std::string text = vhost::listScene(doc, "names.lws");
    EXPECT_NE(text.find("  \"a \\\"b\\\" c\\\\d\\u0009e\\u0001\\u001f\\u007f\"  Point"), std::string::npos)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

// A file whose names are not all UTF-8 is read as cp1252, every byte kept.
TEST(SceneList, Cp1252NamesBecomeUtf8) {
    const scenefile::LwsDocument doc = sceneWithNames({"Caf\xE9", "\x80\x93q\x94\x81\x9D", "\xC3\xA9"});
    EXPECT_EQ(jsonNames(doc),
              (std::vector<std::string>{"Caf\u00E9", "\u20AC\u201Cq\u201D\u0081\u009D", "\u00C3\u00A9"}));
    const std::string text = vhost::listScene(doc, "names.lws");
    EXPECT_NE(text.find("\"Caf\u00E9\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"\u20AC\u201Cq\u201D\\u0081\\u009d\""), std::string::npos) << text;

    // A file of UTF-8 names keeps them as they are.
    const scenefile::LwsDocument utf8 = sceneWithNames({"Caf\u00E9", "\u5149"});
    EXPECT_EQ(jsonNames(utf8), (std::vector<std::string>{"Caf\u00E9", "\u5149"}));
}

// Every byte but the line ends, as one name: each becomes one character.
TEST(SceneList, EveryByteIsOneCharacter) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') all += static_cast<char>(b);
    const std::string utf8 = vhost::cp1252ToUtf8(all);
    EXPECT_TRUE(vhost::isUtf8(utf8));
    size_t characters = 0;
    for (char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    EXPECT_EQ(characters, all.size());
    // Through the whole listing too.
    const std::vector<std::string> names = jsonNames(sceneWithNames({all}));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], utf8);
}

TEST(SceneList, Utf8Check) {
    for (const char *good :
         {"", "plain", "\xC2\x80", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(vhost::isUtf8(good)) << good;
    for (const char *bad : {"\x80", "\xC0\x80", "\xC1\xBF", "\xC2", "\xE0\x9F\x80", "\xED\xA0\x80",
                            "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE2\x82", "a\xFF"})
        EXPECT_FALSE(vhost::isUtf8(bad)) << bad;
}

// Wide and combining characters: every column starts at the same screen
// column on every line, counting East Asian wide characters as two and
// combining marks as none.
TEST(SceneList, WideCharactersKeepTheColumnsAligned) {
    const scenefile::LwsDocument doc =
        sceneWithNames({"Key", "\u5149\u6E90", "\uFF21\uFF22\uFF23", "Cafe\u0301", "\uD55C\uAE00 light"});
    EXPECT_EQ(vhost::displayWidth("\u5149\u6E90"), 4u);
    EXPECT_EQ(vhost::displayWidth("Cafe\u0301"), 4u);
    EXPECT_EQ(vhost::displayWidth("\U0001F600 \u00E9"), 4u);
    std::istringstream lines(vhost::listScene(doc, "names.lws"));
    std::string line;
    std::getline(lines, line);  // the title
    std::vector<std::size_t> typeColumn;
    while (std::getline(lines, line)) {
        const std::size_t at = line.find("  Point");
        const std::size_t header = line.find("  TYPE");
        const std::size_t cut = at != std::string::npos ? at : header;
        ASSERT_NE(cut, std::string::npos) << line;
        typeColumn.push_back(vhost::displayWidth(line.substr(0, cut)));
    }
    ASSERT_EQ(typeColumn.size(), 6u);
    for (std::size_t w : typeColumn) EXPECT_EQ(w, typeColumn[0]);
}

// A huge intensity and a tiny range: exact in JSON, short in the table.
TEST(SceneList, HugeAndTinyNumbers) {
    const std::string bytes =
        "LWSC\n3\nAddLight\nLightName Big\nLightColor 1 1 1\nLightIntensity 1e300\n"
        "LightRange 1e-7\nAddLight\nLightName Usual\nLightIntensity 0.15\n"
        "LightRange 0.123456789\nAddLight\nLightName Wide\nLightColor 1e12 0 0\n";
    scenefile::LwsDocument doc;
    scenefile::LoadError err;
    ASSERT_TRUE(scenefile::LwsDocument::parse(bytes, "big.lws", doc, err)) << err.toString();
    const nlohmann::json json = nlohmann::json::parse(vhost::listSceneJson(doc, "big.lws"));
    EXPECT_EQ(json["lights"][0]["intensityPercent"].get<double>(), 1e302);
    EXPECT_EQ(json["lights"][0]["range"].get<double>(), 1e-7);
    EXPECT_EQ(json["lights"][1]["intensityPercent"].get<double>(), 15.0);  // not 15.000000000000002
    EXPECT_EQ(json["lights"][1]["range"].get<double>(), 0.123456789);
    EXPECT_EQ(json["lights"][2]["color"][0].get<double>(), 255e12);

    const std::string text = vhost::listScene(doc, "big.lws");
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) EXPECT_LT(line.size(), 100u) << line;
    EXPECT_NE(text.find("  1e+302%  "), std::string::npos) << text;
    EXPECT_NE(text.find("  1e-07  "), std::string::npos) << text;
    EXPECT_NE(text.find("  15%  "), std::string::npos) << text;
    EXPECT_NE(text.find("  0.123457  "), std::string::npos) << text;
    EXPECT_NE(text.find("  2.55e+14 0 0  "), std::string::npos) << text;
}

}  // namespace
