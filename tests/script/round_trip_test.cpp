// Reader and writer together. What the writer writes, the reader reads back
// as the same steps, over random hostile actions and expectations; and over
// the committed scripts, the writer's canonical form is a fixed point: the
// steps read from a script are the steps read from its canonical text, and
// writing those gives the canonical text again.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "script/writer.h"
#include "session_decoder.h"
#include "tests/script/read_text.h"

namespace {

using script::Expectation;
using sim::Action;

class Hostile {
public:
    explicit Hostile(unsigned seed) : rnd_(seed) {}

    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(rnd_() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }

    std::int32_t int32() {
        static const std::int32_t edges[] = {INT32_MIN, INT32_MIN + 1, -1,       0, 1,
                                             255,       INT32_MAX - 1, INT32_MAX};
        if (chance(40)) return edges[below(sizeof edges / sizeof edges[0])];
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(rnd_()));
    }

    // Finite doubles: edges, subnormals, huge ones, and any bit pattern.
    double number() {
        static const double edges[] = {0.0,
                                       -0.0,
                                       4.9e-324,
                                       -4.9e-324,
                                       DBL_MIN,
                                       DBL_MAX,
                                       -DBL_MAX,
                                       1e21,
                                       1e-7,
                                       1e-6,
                                       999999999999999999999.0,
                                       2147483647.0,
                                       -2147483648.0,
                                       0.1,
                                       60,
                                       1.0 / 3.0};
        if (chance(30)) return edges[below(sizeof edges / sizeof edges[0])];
        for (;;) {
            const std::uint64_t bits = rnd_();
            double v;
            std::memcpy(&v, &bits, sizeof v);
            if (std::isfinite(v)) return v;
        }
    }

    // Quotes, backslashes, '#', blanks of every kind, bytes 0x80 to 0xFF,
    // empty texts; never a line break or a NUL, which no script line holds.
    std::string text() {
        static const char *const specials[] = {"", "\"", "\\", "#", " ", "\\\"", "\"\"", "# x", "a b"};
        if (chance(15)) return specials[below(sizeof specials / sizeof specials[0])];
        static const char alphabet[] = "aZ9 \t\v\f\r\"\\#-.'";
        std::string s;
        for (std::uint32_t n = below(20); n > 0; --n) {
            if (chance(25)) s += static_cast<char>(0x80 + below(0x80));
            else s += alphabet[below(sizeof alphabet - 1)];
        }
        return s;
    }

    // Every kind of the vocabulary, so that a kind added there is generated
    // here (the switch has no default: the compiler names a missing one).
    Action action() {
        using sim::ActionKind;
        switch (static_cast<ActionKind>(below(sim::kActionKindCount))) {
        case ActionKind::ClickY: return Action::clickY(int32(), chance(30) ? 0 : int32());
        case ActionKind::ClickName:
            return Action::clickName(text(),
                                     chance(50) ? 1 : 1 + static_cast<std::int32_t>(below(INT32_MAX)));
        case ActionKind::Scroll: return Action::scroll(int32());
        case ActionKind::Key: return Action::key(static_cast<std::int32_t>(below(0x10000)));
        case ActionKind::Type: return Action::type(text());
        case ActionKind::Prefix: return Action::prefix(text());
        case ActionKind::Intensity: return Action::intensity(number());
        case ActionKind::Range: return Action::range(number());
        case ActionKind::Color: return Action::color(int32(), int32(), int32());
        case ActionKind::LightType:
            return Action::lightType(chance(50) ? static_cast<std::int32_t>(below(5)) : int32());
        case ActionKind::Shadow:
            return Action::shadow(chance(50) ? static_cast<std::int32_t>(below(3)) : int32());
        case ActionKind::Drag: {
            std::vector<std::int32_t> d(below(5));
            for (std::int32_t &x : d) x = int32();
            return Action::drag(d);
        }
        case ActionKind::DragEvent: return Action::dragEvent(int32(), int32());
        case ActionKind::Press:
        // ok and cancel close the panel: script() puts one last.
        case ActionKind::Ok:
        case ActionKind::Cancel: return Action::press(static_cast<sim::Button>(below(sim::kButtonCount)));
        }
        return Action::cancel();
    }

    Expectation expectation() {
        switch (below(11)) {
        case 0: {
            std::vector<std::string> names(below(4));
            for (std::string &n : names) n = text();
            return Expectation::selected(names);
        }
        case 1:
            return Expectation::fieldNumber(chance(50) ? sim::Role::Intensity : sim::Role::Range, number());
        case 2: return Expectation::fieldColor(int32(), int32(), int32());
        case 3:
            return Expectation::fieldChoice(chance(50) ? sim::Role::LightType : sim::Role::Shadow, int32());
        case 4: return Expectation::ghostedState(chance(50));
        case 5: return Expectation::info(text());
        case 6: return Expectation::error(text());
        case 7: return Expectation::prefix(text());
        case 8: return Expectation::command(1 + static_cast<std::int32_t>(below(INT32_MAX)), text());
        case 9: return Expectation::commands(static_cast<std::int32_t>(below(INT32_MAX)));
        default: return Expectation::result(int32());
        }
    }

    // Steps as a script may hold them: ok or cancel last, only expectations after.
    script::Script script() {
        script::Script s;
        for (std::uint32_t n = below(30); n > 0; --n) {
            script::Step step;
            const std::uint32_t k = below(10);
            if (k < 6) step.what = action();
            else if (k < 9) step.what = expectation();
            else step.what = script::Snapshot{text() + "p.png"};
            s.steps.push_back(step);
        }
        if (chance(80)) {
            s.steps.push_back({0, "", chance(50) ? Action::ok() : Action::cancel()});
            for (std::uint32_t n = below(3); n > 0; --n) s.steps.push_back({0, "", expectation()});
        }
        return s;
    }

private:
    std::mt19937_64 rnd_;
};

std::string shown(const std::string &text) {
    std::ostringstream o;
    for (unsigned char c : text)
        if (c >= 32 && c < 127) o << c;
        else o << "\\x" << std::hex << static_cast<int>(c) << std::dec;
    return o.str();
}

std::string fileText(const std::filesystem::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ScriptRoundTrip, EachActionReadsBackFromItsLine) {
    Hostile rnd(20240611);
    for (int i = 0; i < 20000; ++i) {
        const Action a = rnd.action();
        const std::string line = script::writeAction(a);
        ASSERT_EQ(script::unwritable(a), "") << shown(line);
        const script::Script s = testsupport::readOrFail(line + "\n");
        ASSERT_EQ(s.steps.size(), 1u) << shown(line);
        ASSERT_NE(s.steps[0].action(), nullptr) << shown(line);
        ASSERT_EQ(*s.steps[0].action(), a) << shown(line);
        ASSERT_EQ(s.steps[0].source, line) << "the canonical line is its own source";
    }
}

TEST(ScriptRoundTrip, WholeScriptsReadBackStepForStep) {
    Hostile rnd(7);
    for (int i = 0; i < 2000; ++i) {
        const script::Script made = rnd.script();
        const std::string text = script::writeScript(made);
        const script::Script read = testsupport::readOrFail(text);
        ASSERT_EQ(read.steps.size(), made.steps.size()) << shown(text);
        for (size_t k = 0; k < made.steps.size(); ++k) {
            ASSERT_EQ(read.steps[k].what, made.steps[k].what) << shown(read.steps[k].source);
            ASSERT_EQ(read.steps[k].line, static_cast<int>(k + 1));
        }
        ASSERT_EQ(script::writeScript(read), text);
    }
}

// The session fuzzer's corpus, decoded to actions: each one the writer can
// write reads back from its line, the rest (a text with a line break, a
// number that is not finite) are named as such, and the written scripts are
// fixed points of reading and writing.
TEST(ScriptRoundTrip, TheFuzzCorpusDecodedToActionsReadsBack) {
    const std::filesystem::path corpus = std::filesystem::path(VANTOREL_SOURCE_DIR) / "fuzz/corpus/session";
    int inputs = 0, written = 0, unwritable = 0;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        const std::string bytes = fileText(entry.path());
        const validate::Session session =
            fuzz::decodeSession(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        ++inputs;
        for (const validate::Activation &a : session) {
            script::Script s;
            for (const Action &e : a.events) {
                const std::string line = script::writeAction(e);
                if (!script::unwritable(e).empty()) {
                    ++unwritable;
                    EXPECT_NE(testsupport::readError(line + "\n"), "") << shown(line);
                    continue;
                }
                s.steps.push_back({0, "", e});
                ++written;
            }
            const std::string text = script::writeScript(s);
            const script::Script read = testsupport::readOrFail(text, entry.path().filename().string());
            ASSERT_EQ(read.steps.size(), s.steps.size()) << entry.path();
            for (size_t k = 0; k < s.steps.size(); ++k)
                EXPECT_EQ(read.steps[k].what, s.steps[k].what) << shown(read.steps[k].source);
            EXPECT_EQ(script::writeScript(read), text);
        }
    }
    EXPECT_GT(inputs, 50) << "the corpus was not found in " << corpus;
    EXPECT_GT(written, 10 * unwritable) << "most decoded actions can be written";
}

// The canonical form of a committed script reads back as the same steps and
// is a fixed point of writing.
void expectCanonicalFixedPoint(const std::string &name, const std::string &text) {
    const script::Script first = testsupport::readOrFail(text, name);
    const std::string canonical = script::writeScript(first);
    const script::Script second = testsupport::readOrFail(canonical, name + " (canonical)");
    ASSERT_EQ(second.steps.size(), first.steps.size()) << name;
    for (size_t k = 0; k < first.steps.size(); ++k)
        EXPECT_EQ(second.steps[k].what, first.steps[k].what)
            << name << ":" << first.steps[k].line << ": " << first.steps[k].source;
    EXPECT_EQ(script::writeScript(second), canonical) << name;
}

TEST(ScriptRoundTrip, CommittedScriptsAreTheirCanonicalFormsSteps) {
    const std::filesystem::path root = VANTOREL_SOURCE_DIR;
    int scripts = 0;
    for (const char *dir : {"tests/e2e/scripts", "tests/e2e/click", "docs/examples"})
        for (const auto &entry : std::filesystem::directory_iterator(root / dir))
            if (entry.path().extension() == ".vts") {
                expectCanonicalFixedPoint(entry.path().filename().string(), fileText(entry.path()));
                ++scripts;
            }
    expectCanonicalFixedPoint("demo session", script::demoScript());
    EXPECT_GT(scripts, 20) << "the committed scripts were not found under " << root;
}

}  // namespace
