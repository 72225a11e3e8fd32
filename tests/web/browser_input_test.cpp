// Browser keys and wheels as the panel gets them: a KeyboardEvent's key and
// code through web::keyInput and sim's own rules down to the Layout key
// code the panel's key handler would receive, or the text a field is typed.
#include "web/browser_input.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "sim/layout_keys.h"

namespace {

web::BrowserKey key(std::string k, std::string code = {}) {
    web::BrowserKey b;
    b.key = std::move(k);
    b.code = std::move(code);
    return b;
}

// The Layout code the panel's key handler gets for the key going down (-1:
// none), as PanelInput hands it on while no field is edited.
int codeOfDown(const web::BrowserKey &k) {
    const std::optional<sim::KeyPress> down = sim::keyDown(web::keyInput(k).down);
    return down ? sim::panelKeyCode(*down) : -1;
}

TEST(BrowserKeys, NamedKeysReachThePanelWithLayoutsCodes) {
    const std::pair<const char *, int> named[] = {
        {"Backspace", 8},
        {"Tab", 9},
        {"Enter", 13},
        {"F1", 0x1030},
        {"F10", 0x1039},
        {"ArrowLeft", 0x1040},
        {"ArrowRight", 0x1041},
        {"ArrowUp", 0x1042},
        {"ArrowDown", 0x1043},
        {"Home", 0x1044},
        {"End", 0x1045},
        {"PageUp", 0x1046},
        {"PageDown", 0x1047},
        {"Insert", 0x1048},
        {"Delete", 0x1049},
        {"Shift", 0x1061},
        {"Control", 0x1062},
        // Escape is Cancel, and these have no code: none reaches the key handler.
        {"Escape", -1},
        {"F11", -1},
        {"F12", -1},
        {"F13", -1},
        {"F0", -1},
        {"Alt", -1},
        {"AltGraph", -1},
        {"Meta", -1},
        {"Dead", -1},
        {"Unidentified", -1},
        {"CapsLock", -1},
    };
    for (const auto &[name, code] : named) {
        EXPECT_EQ(codeOfDown(key(name)), code) << name;
        EXPECT_EQ(web::keyInput(key(name)).text, "") << name << " types nothing";
    }
    EXPECT_EQ(web::keyInput(key("Escape")).down.key, sim::Key::Escape);
    EXPECT_EQ(web::keyInput(key("F12")).down.key, sim::Key::F12);
}

TEST(BrowserKeys, ACharacterComesOnceAsTypedTextNotAsTheKeyGoingDown) {
    // As with a desktop's text input: the key going down counts for nothing,
    // its text is typed (PanelInput turns that into key codes or field text).
    for (const char *k : {"a", "A", "1", " ", "/", "\xC3\xB1" /* ñ */, "\xE2\x82\xAC" /* € */}) {
        const web::KeyInput in = web::keyInput(key(k));
        EXPECT_EQ(in.down.key, sim::Key::Char) << k;
        EXPECT_EQ(sim::keyDown(in.down), std::nullopt) << k;
        EXPECT_EQ(in.text, k);
    }
    // A shifted letter is the letter key unshifted, with its capital as text.
    web::BrowserKey shifted = key("K", "KeyK");
    shifted.shift = true;
    EXPECT_EQ(web::keyInput(shifted).down.ch, static_cast<uint32_t>('k'));
    EXPECT_EQ(web::keyInput(shifted).text, "K");
}

TEST(BrowserKeys, ShortcutsTypeNothingButAltGrDoes) {
    web::BrowserKey ctrlC = key("c", "KeyC");
    ctrlC.ctrl = true;
    web::BrowserKey cmdV = key("v", "KeyV");
    cmdV.meta = true;  // Command on a Mac
    web::BrowserKey altX = key("x", "KeyX");
    altX.alt = true;
    for (const web::BrowserKey &k : {ctrlC, cmdV, altX}) {
        const web::KeyInput in = web::keyInput(k);
        EXPECT_EQ(in.text, "") << k.key;
        // The key itself goes down with Ctrl or Alt, which the panel leaves alone.
        ASSERT_TRUE(sim::keyDown(in.down).has_value()) << k.key;
        EXPECT_EQ(sim::panelKeyCode(*sim::keyDown(in.down)), -1) << k.key;
    }
    // AltGr arrives as Ctrl and Alt held, and types.
    web::BrowserKey at = key("@", "KeyQ");
    at.ctrl = at.alt = at.altGraph = true;
    const web::KeyInput in = web::keyInput(at);
    EXPECT_EQ(in.text, "@");
    EXPECT_FALSE(in.down.ctrl || in.down.alt);
    // Shift with a named key stays on it (Shift+Tab goes to the field before).
    web::BrowserKey back = key("Tab");
    back.shift = true;
    EXPECT_TRUE(web::keyInput(back).down.shift);
}

TEST(BrowserKeys, ControlCharactersAndLongValuesTypeNothing) {
    EXPECT_EQ(web::keyInput(key("\x7f")).text, "");
    EXPECT_EQ(web::keyInput(key("\x01")).text, "");
    EXPECT_EQ(web::keyInput(key("")).down.key, sim::Key::Other);
    // A value of two characters is no character key.
    EXPECT_EQ(web::keyInput(key("ab")).down.key, sim::Key::Other);
    EXPECT_EQ(web::keyInput(key("ab")).text, "");
}

TEST(WheelNotches, OneNotchPerWheelStepAndTouchpadDeltasAddUp) {
    web::WheelNotches w;
    EXPECT_EQ(w.add(-100, web::WheelNotches::kPixels), 1);  // away from the user: up
    EXPECT_EQ(w.add(100, web::WheelNotches::kPixels), -1);
    EXPECT_EQ(w.add(300, web::WheelNotches::kPixels), -3);
    EXPECT_EQ(w.add(3, web::WheelNotches::kLines), -1);  // Firefox's lines
    EXPECT_EQ(w.add(-1, web::WheelNotches::kPages), 5);
    // A touchpad's small deltas: nothing until they make a notch.
    int total = 0;
    for (int i = 0; i < 10; ++i) total += w.add(-25, web::WheelNotches::kPixels);
    EXPECT_EQ(total, 2);
    // Half a notch up, then turning round: what had added up is dropped.
    EXPECT_EQ(w.add(-50, web::WheelNotches::kPixels), 1);  // 0.5 left from before, plus 0.5
    EXPECT_EQ(w.add(-75, web::WheelNotches::kPixels), 0);
    EXPECT_EQ(w.add(75, web::WheelNotches::kPixels), 0);
    EXPECT_EQ(w.add(25, web::WheelNotches::kPixels), -1);
    // Whatever a page hands over stays bounded and numeric.
    EXPECT_EQ(w.add(std::numeric_limits<double>::quiet_NaN(), web::WheelNotches::kPixels), 0);
    EXPECT_EQ(w.add(std::numeric_limits<double>::infinity(), web::WheelNotches::kPixels), 0);
    EXPECT_EQ(w.add(-1e300, web::WheelNotches::kPixels), 1000);
}

}  // namespace
