// Every command the plug-in sends reaches the saved file or a warning: random
// sessions of the real plug-in on generated scenes of every LWSC version, with
// fixed and animated intensities that are zero or not at time 0. (The reader
// takes no envelope for a colour, so colours are fixed.)
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>

#include "session/scene_bytes.h"
#include "sim/host.h"
#include "tests/support/deliver.h"
#include "tests/support/temp_dir.h"

namespace {

using scenefile::LwsDocument;
using sim::Action;
using sim::Button;

std::string num(double v, int version) {
    char buf[64];
    std::snprintf(buf, sizeof buf, version <= 2 ? "%f" : "%.6g", v);
    return buf;
}

// One light of a generated scene; every combination comes up.
std::string lightText(std::mt19937 &rng, int version, int index, bool &animated) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int type = pick(5);
    std::ostringstream o;
    o << "AddLight";
    if (version >= 4) o << ' ' << std::hex << 0x20000000 + index << std::dec;
    o << "\nLightName L" << index + 1 << "\nLightColor ";
    for (int c = 0; c < 3; ++c) {
        const int byte = pick(4) == 0 ? 0 : pick(256);  // black lights too
        o << (c ? " " : "") << (version <= 2 ? std::to_string(byte) : num(byte / 255.0 + pick(3) * 1e-4, 3));
    }
    const double value = pick(3) == 0 ? 0.0 : (pick(5) == 0 ? -0.5 : 0.05 * (1 + pick(40)));
    const char *kw = version <= 2 ? "LgtIntensity" : "LightIntensity";
    animated = pick(2) == 0;
    if (!animated) {
        o << '\n' << kw << ' ' << num(value, version);
    } else if (version <= 2) {  // value at time 0 first, then a key later on
        o << '\n'
          << kw << " (envelope)\n  1\n  2\n  " << num(value, 2)
          << "\n  0 0 0 0 0\n  1.5\n  30 0 0 0 0\nEndBehavior 1";
    } else {
        o << '\n'
          << kw << " (envelope)\n{ Envelope\n  2\n  Key " << num(value, 3)
          << " 0 0 0 0 0 0 0 0\n  Key 1.5 1 0 0 0 0 0 0 0\n  Behaviors 1 1\n}";
    }
    o << "\nLightType " << type;
    const bool limited = pick(2) == 0;
    o << '\n' << (version <= 2 ? "LightFalloff " : "LightFalloffType ") << (limited ? 1 : 0);
    if (pick(3)) o << "\nLightRange " << num(0.5 * (1 + pick(20)), version);  // else inserted when edited
    o << "\nShadowType " << pick(3);
    if (scenefile::versionRules(version)->lightHandlers) {
        static const char *const kOthers[] = {"DomeLight", "PortalLight", "UnknownLight"};
        switch (pick(4)) {
        case 0: break;  // no block: the LightType line alone
        case 1: o << "\nPlugin LightHandler 1 " << kOthers[pick(3)] << "\nEndPlugin"; break;
        default:
            o << "\nPlugin LightHandler 1 " << scenefile::kLightKinds[type].handler
              << "\n  { Data\n    LightType 0\n  }\nEndPlugin\n{ LightShader\n  { Nodes\n  }\n}";
        }
    }
    o << "\n\n";
    return o.str();
}

std::string sceneText(std::mt19937 &rng, int version, int lights) {
    std::string s = "LWSC\n" + std::to_string(version) + "\n\nFirstFrame 0\n\n";
    for (int i = 0; i < lights; ++i) {
        bool animated = false;
        s += lightText(rng, version, i, animated);
    }
    s += "AddCamera\nCameraName Camera\n";
    if (rng() % 2) {  // CRLF
        std::string crlf;
        for (char c : s) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        s = crlf;
    }
    return s;
}

// Random edits of random selections; `log` says what was done.
sim::Close randomSession(sim::Host &h, std::mt19937 &rng, int lights, bool types, std::string &log) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int steps = 1 + pick(6);
    for (int k = 0; k < steps; ++k) {
        const int row = pick(lights);
        DELIVER(h, Action::clickY(row * 16 + 8));
        log += " click" + std::to_string(row + 1);
        switch (pick(types ? 7 : 6)) {
        case 0:
            DELIVER(h, Action::intensity(pick(3) == 0 ? 0 : pick(300) - 50));
            log += " intensity";
            break;
        case 1:
            DELIVER(h, Action::color(pick(256), pick(256), pick(256)));
            log += " colour";
            break;
        case 2:
            DELIVER(h, Action::shadow(pick(3)));
            log += " shadow";
            break;
        case 3:
            DELIVER(h, Action::range(0.25 * pick(40)));
            log += " range";
            break;
        case 4:
            DELIVER(h, Action::drag({pick(200) - 100}));
            log += " drag";
            break;
        case 5:
            DELIVER(h, Action::press(Button::Copy));
            DELIVER(h, Action::clickY(pick(lights) * 16 + 8));
            DELIVER(h, Action::press(Button::Paste));
            log += " copy-paste";
            break;
        default:
            DELIVER(h, Action::lightType(pick(5)));
            log += " type";
            break;
        }
        if (pick(3) == 0) {
            DELIVER(h, Action::press(Button::Clear));
            log += " clear";
        }
    }
    return sim::Close::Ok;
}

// The value-carrying commands one light received, by command word.
using Sent = std::map<std::string, std::vector<double>>;
std::map<uint32_t, Sent> commandsByLight(const std::vector<std::string> &commands) {
    std::map<uint32_t, Sent> out;
    uint32_t id = 0;
    for (const std::string &c : commands) {
        std::istringstream words(c);
        std::string verb;
        words >> verb;
        if (verb == "SelectItem") {
            words >> std::hex >> id;
            continue;
        }
        std::vector<double> args;
        for (double v; words >> v;) args.push_back(v);
        static const char *const kTypeWords[] = {"DistantLight", "PointLight", "Spotlight", "LinearLight",
                                                 "AreaLight"};
        for (int t = 0; t < 5; ++t) {
            if (verb != kTypeWords[t]) continue;
            verb = "type";
            args = {static_cast<double>(t)};
        }
        if (id) out[id][verb] = args;
    }
    return out;
}

bool named(const std::vector<std::string> &notes, const std::string &light, const std::string &setting) {
    for (const std::string &n : notes)
        if (n.find("\"" + light + "\"") != std::string::npos && n.find(setting) != std::string::npos)
            return true;
    return false;
}

// A value as the file holds it: colour bytes in LWSC 1 and 2, six decimals otherwise.
bool sameInFile(double a, double b, int version, bool colour) {
    if (colour && version <= 2)
        return std::round(a * 255) == std::round(std::min(1.0, std::max(0.0, b)) * 255);
    return std::fabs(a - b) <= 6e-7 * std::max(1.0, std::fabs(b));
}

}  // namespace

TEST(SceneEdits, EverySentCommandIsSavedOrNamed) {
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    std::mt19937 rng(20240615u);
    int saved = 0, refused = 0;
    for (int round = 0; round < 240; ++round) {
        const int version = 1 + round % 8;
        const int lights = 4 + static_cast<int>(rng() % 8u);
        const bool types = rng() % 2;  // sessions that change light types, in half the runs
        const std::string bytes = sceneText(rng, version, lights);
        std::string log;
        LwsDocument doc;
        scenefile::LoadError err;
        ASSERT_TRUE(LwsDocument::parse(bytes, "gen.lws", doc, err)) << err.toString() << "\n" << bytes;

        sim::Host host(doc.scene());
        host.setLogging(false);
        testsupport::runOpened(host, lib,
                               [&](sim::Host &h) { return randomSession(h, rng, lights, types, log); });
        SCOPED_TRACE("round " + std::to_string(round) + ", LWSC " + std::to_string(version) + ":" + log);
        sim::Host plain(doc.scene());  // what an OK without edits sends, command by command
        plain.setLogging(false);
        testsupport::runOpened(plain, lib, [](sim::Host &) { return sim::Close::Ok; });
        const std::optional<scene::Scene> unedited = session::uneditedScene(doc, lib);
        ASSERT_TRUE(unedited);

        LwsDocument::Notes notes;
        const std::string written = doc.render(host.scene(), &*unedited, notes);
        const auto sent = commandsByLight(host.commands());
        const auto usual = commandsByLight(plain.commands());
        const scene::Scene before = doc.scene();
        if (!notes.errors.empty()) {
            // Refused: only a light type edit a handler block does not allow.
            ++refused;
            for (const std::string &e : notes.errors)
                EXPECT_NE(e.find("light type cannot be changed"), std::string::npos) << e;
            continue;
        }
        ++saved;
        LwsDocument back;
        ASSERT_TRUE(LwsDocument::parse(written, "out.lws", back, err)) << err.toString();
        const scene::Scene after = back.scene();
        ASSERT_EQ(after.lights.size(), before.lights.size());
        for (std::size_t i = 0; i < after.lights.size(); ++i) {
            const scene::Light &a = after.lights[i], &e = host.scene().lights[i];
            const std::string name = a.name;
            const Sent &got = sent.at(a.id), &plainly = usual.at(a.id);
            SCOPED_TRACE(name);
            auto edited = [&](const char *verb) { return got.at(verb) != plainly.at(verb); };
            const auto &notesOf = notes.warnings;
            // Type, shadow, range: in the file, or named.
            EXPECT_TRUE(a.lightType == got.at("type")[0] || named(notesOf, name, "light type"));
            EXPECT_TRUE(a.shadowType == got.at("ShadowType")[0] || named(notesOf, name, "shadow"));
            EXPECT_TRUE(!got.count("LightRange") ||
                        sameInFile(a.range, got.at("LightRange")[0], version, false) ||
                        named(notesOf, name, "range"));
            // An edited colour or intensity: as sent, or named.
            const std::vector<double> &colour = got.at("LightColor");
            bool colourKept = true;
            for (int c = 0; c < 3; ++c)
                colourKept = colourKept && sameInFile(a.color[c], colour[c], version, true);
            EXPECT_TRUE(!edited("LightColor") || colourKept || named(notesOf, name, "colour"));
            EXPECT_TRUE(!edited("LightIntensity") ||
                        sameInFile(a.intensity, got.at("LightIntensity")[0], version, false) ||
                        named(notesOf, name, "intensity"));
            // Neither edited: colour x intensity at time 0 as after the commands, or named.
            if (!edited("LightColor") && !edited("LightIntensity")) {
                const double tol = (version <= 2 ? 1.0 / 255 : 2e-6) * std::max(1.0, std::fabs(e.intensity));
                for (int c = 0; c < 3; ++c) {
                    const double want = e.color[c] * e.intensity, have = a.color[c] * a.intensity;
                    EXPECT_TRUE(std::fabs(want - have) <= tol || named(notesOf, name, "colour"))
                        << have << " vs " << want;
                }
            }
            EXPECT_EQ(a.intensityAnimated, before.lights[i].intensityAnimated);
        }
    }
    // Both outcomes came up often enough to mean something.
    EXPECT_GT(saved, 150);
    EXPECT_GT(refused, 10);
}

namespace {

struct HostRun {
    int exit = -1;
    std::string err;
};

std::string slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void spit(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    EXPECT_TRUE(out.flush()) << "cannot write " << path;
}

// vantorel-host on a fixture with a script, saving to `save`.
HostRun saveSession(const std::string &fixture, const std::string &script, const std::string &save) {
    const std::string &dir = testsupport::privateTempDir();
    const std::string scriptFile = dir + "/edit.vts", errFile = dir + "/stderr.txt";
    spit(scriptFile, script);
    const std::string cmd = "'" VANTOREL_HOST "' --scene '" + fixture + "' --script '" + scriptFile +
                            "' --save '" + save + "' >/dev/null 2>'" + errFile + "'";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(errFile)};
}

const std::string kFixtures = VANTOREL_SCENEFILE_FIXTURES;

}  // namespace

TEST(SceneEdits, AColourForLightsDarkAtTimeZeroIsSaved) {
    const std::string out = testsupport::privateTempDir() + "gates.lws";
    const HostRun r = saveSession(kFixtures + "/gate-v1.lws", "prefix NGate\ncolor 255 0 0\nok\n", out);
    EXPECT_EQ(r.exit, 0) << r.err;
    const std::string saved = slurp(out);
    std::size_t red = 0;
    for (std::size_t at = 0; (at = saved.find("LightColor 255 0 0\r\n", at)) != std::string::npos; ++at)
        ++red;
    EXPECT_EQ(red, 10u);
    EXPECT_EQ(r.err.find("NGate"), std::string::npos) << r.err;
}

TEST(SceneEdits, ATypeChangeTheHandlerBlockForbidsWritesNothing) {
    // Saved over a copy of the scene itself: the copy keeps its bytes.
    const std::string scene = testsupport::privateTempDir() + "v8.lws",
                      original = slurp(kFixtures + "/v8.lws");
    spit(scene, original);
    const HostRun r = saveSession(scene, "click Sun\nlighttype Spot\nclick Bulb\nintensity 10\nok\n", scene);
    EXPECT_EQ(r.exit, 3);
    EXPECT_NE(r.err.find("error: light 1 \"Sun\": the light type cannot be changed to Spot"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("was not written"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(scene), original);
}
