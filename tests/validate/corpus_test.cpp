// The session fuzzer's committed corpus, replayed without libFuzzer: every
// input decodes to sessions that pass every check of the validator on the
// real plug-in, so the corpus stays readable as the decoder changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "check.h"
#include "session.h"
#include "session_decoder.h"

namespace {

TEST(FuzzCorpus, EverySessionPassesTheChecks) {
    const std::filesystem::path corpus = std::filesystem::path(VANTOREL_SOURCE_DIR) / "fuzz/corpus/session";
    int inputs = 0;
    size_t actions = 0;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string b = bytes.str();
        const validate::Session s =
            fuzz::decodeSession(reinterpret_cast<const std::uint8_t *>(b.data()), b.size());
        for (const validate::Activation &a : s) actions += a.events.size();
        EXPECT_EQ(validate::checkSession(VANTOREL_PLUGIN_PATH, s), "") << entry.path().filename() << "\n"
                                                                       << validate::describe(s);
        ++inputs;
    }
    EXPECT_GT(inputs, 50) << "the corpus was not found in " << corpus;
    EXPECT_GT(actions, 500u);
}

// The kinds a random session does not make, beside the model: a drag
// gesture (played as its raw events), a typed text, a prefix typed in UTF-8
// on a scene of cp1252 names, and a cancel among the events that closes the
// panel there.
TEST(FuzzCorpus, GesturesTypedTextsAndAClosingCancelAreChecked) {
    validate::Activation a;
    a.scene = scene::makeUniformScene(30);
    a.scene.lights[3].name = "Ni\xF1o";
    a.scene.lights[7].name =
        "Ni\xF1"
        "a";
    a.events = {sim::Action::clickY(40),    sim::Action::drag({100, -30, 7}),
                sim::Action::type("Ni"),    sim::Action::prefix("Ni\xC3\xB1"),
                sim::Action::intensity(25), sim::Action::press(sim::Button::Copy)};
    validate::Activation cancelled = a;
    cancelled.events.push_back(sim::Action::cancel());
    cancelled.events.push_back(sim::Action::intensity(0));  // never played
    EXPECT_EQ(validate::checkSession(VANTOREL_PLUGIN_PATH, {a, cancelled}), "");
    validate::Activation wrong = a;
    wrong.events.push_back(sim::Action::clickName("Light 1"));
    EXPECT_NE(validate::checkSession(VANTOREL_PLUGIN_PATH, {wrong}).find("could not be delivered"),
              std::string::npos)
        << "a click by name needs the paints the validator's host does not keep";
}

// A typed text whose keys take characters off a prefix and put the same ones
// back ends where it began, yet each of those keys showed the prefix in the
// field: the check expects what the field then shows, the cut prefix, not the
// longer text the field held before.
TEST(FuzzCorpus, KeysThatChangeThePrefixAndChangeItBackStillShowIt) {
    validate::Activation a;
    a.scene = scene::makeUniformScene(2);
    a.events = {sim::Action::prefix(std::string(300, 'A')), sim::Action::type("\bA"),
                sim::Action::type("\x06")};
    EXPECT_EQ(validate::checkSession(VANTOREL_PLUGIN_PATH, {a}), "");
}

}  // namespace
