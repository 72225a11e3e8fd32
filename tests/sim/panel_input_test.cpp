// The panel used by hand: points to events, the field editor, keys, and the
// recording, replayed as a session script, doing exactly what the hand did.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "panel_geometry.h"
#include "panel_input.h"
#include "script/reader.h"
#include "script/recording.h"
#include "script/runner.h"
#include "tests/support/deliver.h"

namespace {

using sim::Action;
using sim::Close;
using sim::Host;
using sim::Key;
using sim::KeyPress;
using sim::PanelInput;
using sim::Rect;

KeyPress key(Key k, bool shift = false) {
    KeyPress p;
    p.key = k;
    p.shift = shift;
    return p;
}
KeyPress ch(char c) {
    KeyPress p;
    p.ch = static_cast<unsigned char>(c);
    return p;
}

// Where a control (or one of its items) is in the picture.
Rect where(const Host &h, const std::string &controlKey, int item = -1) {
    for (const auto &g : sim::panelGeometry(*h.openPanel()).controls)
        if (g.control->key == controlKey) return item < 0 ? g.field : g.items.at(static_cast<size_t>(item));
    ADD_FAILURE() << "no control " << controlKey;
    return {};
}
int midX(const Rect &r) { return r.x + r.w / 2; }
int midY(const Rect &r) { return r.y + r.h / 2; }

void click(PanelInput &in, const Rect &r) {
    in.pointerDown(midX(r), midY(r));
    in.pointerUp(midX(r), midY(r));
}
void type(PanelInput &in, const std::string &text) {
    for (char c : text) in.keyPress(ch(c));
}

// Event callbacks the plug-in received for one control.
size_t eventsTo(const Host &h, const std::string &controlKey) {
    size_t n = 0;
    for (const auto &c : h.calls())
        if (c.callback && c.name == "plugin.event" && c.args.at(0) == controlKey) ++n;
    return n;
}

class PanelInputTest : public ::testing::Test {
protected:
    // One activation on a fresh instance of the plug-in; the body drives the
    // open panel by hand; the panel is cancelled if the body leaves it open.
    std::vector<std::string> session(Host &host, const std::function<void(Host &, PanelInput &)> &body) {
        sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
        std::vector<std::string> recorded;
        testsupport::runOpened(host, lib, [&](Host &h) {
            PanelInput in(h);
            body(h, in);
            if (!in.finished()) in.requestClose();
            recorded = script::recordingLines(in.recording());
            return in.outcome();
        });
        return recorded;
    }
};

// ---- pointer to event ----------------------------------------------------------

TEST_F(PanelInputTest, ListClickSetsTheMousePositionAndSelectsTheRowUnderIt) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        const Rect list = where(h, "list");
        in.pointerDown(list.x + 30, list.y + 2 * 16 + 5);  // third row
        in.pointerUp(list.x + 30, list.y + 2 * 16 + 5);
        EXPECT_EQ(h.selectedNames(), std::vector<std::string>{"Rim"});
        EXPECT_EQ(h.control("list")->mouseX, 30);
        EXPECT_EQ(h.control("list")->mouseY, 37);
        EXPECT_EQ(h.propertyGhosted(), false);
    });
    ASSERT_EQ(rec.size(), 2u);
    EXPECT_EQ(rec[0], "click Rim");
    EXPECT_EQ(rec[1], "cancel");
}

TEST_F(PanelInputTest, GhostedControlsIgnoreTheMouse) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        ASSERT_EQ(h.propertyGhosted(), true);  // nothing selected yet
        const intptr_t type = h.control("lighttype")->intValue;
        h.clearCalls();
        click(in, where(h, "Intensity"));
        EXPECT_FALSE(in.overlay().editField) << "a ghosted field does not start editing";
        click(in, where(h, "lighttype", 3));
        click(in, where(h, "color", 1));
        click(in, where(h, "copy"));
        in.pointerDown(midX(where(h, "drag")), midY(where(h, "drag")));
        in.pointerMove(midX(where(h, "drag")) + 40, midY(where(h, "drag")));
        in.pointerUp(midX(where(h, "drag")) + 40, midY(where(h, "drag")));
        EXPECT_TRUE(h.calls().empty()) << h.calls().front().text();
        EXPECT_EQ(h.control("lighttype")->intValue, type);
        EXPECT_FALSE(in.overlay().pressed);
    });
    EXPECT_EQ(rec, std::vector<std::string>{"cancel"});
}

TEST_F(PanelInputTest, ChoiceItemsChooseAndButtonsActOnReleaseInside) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        DELIVER(h, Action::clickName("Key"));
        click(in, where(h, "lighttype", 3));
        EXPECT_EQ(h.control("lighttype")->intValue, 3);
        click(in, where(h, "lighttype", 3));  // the chosen item again: sent again
        EXPECT_EQ(eventsTo(h, "lighttype"), 2u);
        click(in, where(h, "shadow", 2));
        EXPECT_EQ(h.control("shadow")->intValue, 2);

        const Rect copy = where(h, "copy");
        in.pointerDown(midX(copy), midY(copy));
        ASSERT_TRUE(in.overlay().pressed);
        EXPECT_EQ(*in.overlay().pressed, copy) << "shown pressed while the button is down";
        EXPECT_EQ(eventsTo(h, "copy"), 0u) << "nothing happens on the press itself";
        in.pointerMove(copy.x - 50, midY(copy));
        EXPECT_FALSE(in.overlay().pressed) << "not pressed while the pointer is off it";
        in.pointerUp(copy.x - 50, midY(copy));
        EXPECT_EQ(eventsTo(h, "copy"), 0u) << "released elsewhere: nothing";
        click(in, copy);
        EXPECT_EQ(eventsTo(h, "copy"), 1u);
        EXPECT_EQ(h.infoText(), "Copy Intensity");

        const auto g = sim::panelGeometry(*h.openPanel());
        in.pointerDown(midX(g.ok), midY(g.ok));
        in.pointerUp(midX(g.cancel), midY(g.cancel));
        EXPECT_FALSE(in.finished()) << "pressed on OK, released on Cancel: neither";
        EXPECT_TRUE(in.takeChanged());
        click(in, g.ok);
        EXPECT_TRUE(in.finished());
        EXPECT_EQ(in.outcome(), Close::Ok);
        click(in, g.cancel);  // after the end nothing more happens
        EXPECT_EQ(in.outcome(), Close::Ok);
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"lighttype Linear", "lighttype Linear", "shadow ShadowMap",
                                             "copy", "ok"}));
    EXPECT_EQ(host.lastOutcome(), Close::Ok);
}

TEST_F(PanelInputTest, WheelMovesTheSliderByRowsInsideItsRange) {
    Host host(scene::makeUniformScene(60));  // slider range 0..560
    auto rec = session(host, [](Host &h, PanelInput &in) {
        const Rect list = where(h, "list"), slider = where(h, "slider");
        h.clearCalls();
        in.wheel(midX(list), midY(list), 1);  // up at the top: nothing
        EXPECT_EQ(eventsTo(h, "slider"), 0u);
        in.wheel(midX(list), midY(list), -2);
        EXPECT_EQ(h.control("slider")->intValue, 32);
        in.wheel(midX(slider), midY(slider), 1);  // over the slider too
        EXPECT_EQ(h.control("slider")->intValue, 16);
        in.wheel(midX(list), midY(list), -1000);
        EXPECT_EQ(h.control("slider")->intValue, 560) << "held at the end of the range";
        EXPECT_EQ(h.listedNames().front(), "Light 1");
        EXPECT_EQ(eventsTo(h, "slider"), 3u);
        in.wheel(midX(list), midY(list), -1);
        in.wheel(midX(where(h, "Intensity")), midY(where(h, "Intensity")), 1);  // not over the list
        EXPECT_EQ(eventsTo(h, "slider"), 3u);
        EXPECT_EQ(h.control("slider")->intValue, 560);
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"scroll 32", "scroll 16", "scroll 560", "cancel"}));
}

TEST_F(PanelInputTest, SliderFollowsThePointerWhilePressed) {
    Host host(scene::makeUniformScene(60));
    session(host, [](Host &h, PanelInput &in) {
        const Rect s = where(h, "slider");
        h.clearCalls();
        in.pointerDown(midX(s), s.y + s.h - 1);
        EXPECT_EQ(h.control("slider")->intValue, 560);
        in.pointerMove(midX(s), s.y + s.h + 100);  // beyond the end: no change, no event
        EXPECT_EQ(eventsTo(h, "slider"), 1u);
        in.pointerMove(midX(s), midY(s));
        EXPECT_EQ(h.control("slider")->intValue, 280);
        in.pointerUp(midX(s), s.y - 30);
        EXPECT_EQ(h.control("slider")->intValue, 0);
        EXPECT_EQ(eventsTo(h, "slider"), 3u);
        in.pointerMove(midX(s), midY(s));  // released: moves do nothing
        EXPECT_EQ(eventsTo(h, "slider"), 3u);
    });
}

TEST_F(PanelInputTest, DragGestureSendsDistancesWithRisingCounters) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        DELIVER(h, Action::clickName("Key"));
        const double start = h.control("Intensity")->floatValue;
        const Rect d = where(h, "drag");
        const int x = midX(d), y = midY(d);
        in.pointerDown(x, y);
        const int first = h.control("drag")->vec[2];
        EXPECT_EQ(h.control("drag")->vec[0], 0);
        in.pointerMove(x + 100, y);  // right: a negative distance raises the intensity
        EXPECT_EQ(h.control("drag")->vec[0], -100);
        EXPECT_EQ(h.control("drag")->vec[2], first + 1);
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, start + 10.0);
        in.pointerMove(x + 100, y + 30);  // straight down: no event
        EXPECT_EQ(h.control("drag")->vec[2], first + 1);
        in.keyPress(ch('K'));  // keys wait while the gesture runs
        EXPECT_EQ(h.prefixText(), "");
        in.pointerMove(x - 50, y);
        EXPECT_EQ(h.control("drag")->vec[0], 50);
        EXPECT_EQ(h.control("drag")->vec[2], first + 2);
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, start - 5.0)
            << "from the base, not the last step";
        in.pointerUp(x - 50, y);
        in.pointerMove(x + 300, y);  // released: nothing
        EXPECT_EQ(h.control("drag")->vec[2], first + 2);

        in.pointerDown(x, y);  // a new gesture starts from the intensity now
        const int second = h.control("drag")->vec[2];
        EXPECT_NE(second, first + 3) << "a new press never continues the last gesture";
        in.pointerMove(x + 20, y);
        EXPECT_EQ(h.control("drag")->vec[2], second + 1);
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, start - 5.0 + 2.0);
        in.pointerUp(x + 20, y);
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"drag -100 50", "drag -20", "cancel"}));
}

// ---- the field editor --------------------------------------------------------------

TEST_F(PanelInputTest, FieldEditorCaretKeysAndEscape) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        DELIVER(h, Action::clickName("Key"));
        h.clearCalls();
        const Rect f = where(h, "Intensity");
        in.pointerDown(f.x + sim::kFieldTextInset + 6 + 2,
                       midY(f));  // between the first and second character
        in.pointerUp(f.x + sim::kFieldTextInset + 6 + 2, midY(f));
        ASSERT_TRUE(in.overlay().editField);
        EXPECT_EQ(*in.overlay().editField, f);
        EXPECT_EQ(in.overlay().editText, "100.0");
        EXPECT_EQ(in.overlay().caret, 1);
        in.keyPress(key(Key::Delete));
        EXPECT_EQ(in.overlay().editText, "10.0");
        in.keyPress(key(Key::Backspace));
        in.keyPress(key(Key::Backspace));  // at the start: nothing
        EXPECT_EQ(in.overlay().editText, "0.0");
        EXPECT_EQ(in.overlay().caret, 0);
        in.keyPress(key(Key::End));
        in.keyPress(key(Key::Left));
        type(in, "5");
        EXPECT_EQ(in.overlay().editText, "0.50");
        in.keyPress(key(Key::Home));
        in.keyPress(key(Key::Right));
        EXPECT_EQ(in.overlay().caret, 1);
        in.keyPress(key(Key::Up));  // no meaning in a field
        in.keyPress(key(Key::Escape));
        EXPECT_FALSE(in.overlay().editField);
        EXPECT_FALSE(in.finished()) << "Escape while editing only drops the edit";
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 100.0);
        EXPECT_TRUE(h.calls().empty()) << "nothing reached the plug-in";
        EXPECT_EQ(h.prefixText(), "") << "keys went to the field, not the panel";
    });
    EXPECT_EQ(rec, std::vector<std::string>{"cancel"});
}

TEST_F(PanelInputTest, CommitsSetTheValueThenSendTheEvent) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        DELIVER(h, Action::clickName("Key"));
        click(in, where(h, "Intensity"));
        in.keyPress(key(Key::End));
        for (int i = 0; i < 5; ++i) in.keyPress(key(Key::Backspace));
        type(in, " 42.5 ");
        in.keyPress(key(Key::Return));
        EXPECT_FALSE(in.overlay().editField);
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 42.5);

        // Clicking elsewhere commits, before the click acts.
        click(in, where(h, "Range"));
        in.keyPress(key(Key::End));
        type(in, "5");
        const Rect list = where(h, "list");
        in.pointerDown(list.x + 5, list.y + 16 + 3);  // Fill
        in.pointerUp(list.x + 5, list.y + 16 + 3);
        EXPECT_FALSE(in.overlay().editField);
        EXPECT_EQ(h.selectedNames(), (std::vector<std::string>{"Key", "Fill"}));

        // A colour number: the other two stay; beyond 255 is held at 255.
        click(in, where(h, "color", 1));
        in.keyPress(key(Key::End));
        type(in, "9999");
        in.keyPress(key(Key::Return));
        EXPECT_EQ(h.control("color")->vec[1], 255);

        // Looking into a field and leaving sends nothing.
        const size_t before = eventsTo(h, "Intensity");
        click(in, where(h, "Intensity"));
        click(in, where(h, "Range"));
        in.keyPress(key(Key::Return));
        EXPECT_EQ(eventsTo(h, "Intensity"), before);

        click(in, where(h, "prefix"));
        type(in, "Spot");
        in.keyPress(key(Key::Return));
        EXPECT_EQ(h.selectedNames(), (std::vector<std::string>{"Spot Left", "Spot Right"}));
    });
    ASSERT_EQ(rec.size(), 6u);
    EXPECT_EQ(rec[0], "intensity 42.5");
    EXPECT_EQ(rec[1].rfind("range 1", 0), 0u) << rec[1];
    EXPECT_EQ(rec[2], "click Fill");
    EXPECT_EQ(rec[3].rfind("color ", 0), 0u);
    EXPECT_NE(rec[3].find(" 255 "), std::string::npos) << rec[3];
    EXPECT_EQ(rec[4], "prefix Spot");
}

TEST_F(PanelInputTest, ANumberFieldWithoutANumberKeepsItsValueAndSaysWhy) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        DELIVER(h, Action::clickName("Key"));
        h.clearCalls();
        const int red = h.control("color")->vec[0];
        click(in, where(h, "Intensity"));
        in.keyPress(key(Key::End));
        type(in, "x");
        in.keyPress(key(Key::Return));
        EXPECT_DOUBLE_EQ(h.control("Intensity")->floatValue, 100.0);
        EXPECT_EQ(in.overlay().status, "Intensity: \"100.0x\" is not a number; it stays 100.0");
        click(in, where(h, "color", 0));
        in.keyPress(key(Key::End));
        type(in, ".5");
        in.keyPress(key(Key::Tab));  // refused, and on to the next field
        EXPECT_EQ(in.overlay().status, "Red: \"" + std::to_string(red) +
                                           ".5\" is not a whole number from 0 to 255; it stays " +
                                           std::to_string(red));
        EXPECT_EQ(h.control("color")->vec[0], red);
        EXPECT_TRUE(h.calls().empty()) << "nothing was sent: " << h.calls().front().text();
        ASSERT_TRUE(in.overlay().editField);
        EXPECT_EQ(*in.overlay().editField, where(h, "color", 1));
        in.keyPress(key(Key::Escape));
        DELIVER(h, Action::clickName("Fill"));  // an event that reaches the plug-in clears the status
        click(in, where(h, "shadow", 1));
        EXPECT_EQ(in.overlay().status, "");
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"shadow Raytrace", "cancel"}));
}

TEST_F(PanelInputTest, TabGoesThroughTheFieldsInReadingOrderSkippingGhostedOnes) {
    Host host(scene::makeDemoScene());
    session(host, [](Host &h, PanelInput &in) {
        auto editing = [&]() { return in.overlay().editField.value_or(Rect{}); };
        click(in, where(h, "prefix"));
        in.keyPress(key(Key::Tab));
        EXPECT_EQ(editing(), where(h, "prefix")) << "nothing selected: every other field is ghosted";
        DELIVER(h, Action::clickName("Key"));
        in.keyPress(key(Key::Tab));
        EXPECT_EQ(editing(), where(h, "Intensity"));
        const std::vector<Rect> order{where(h, "color", 0), where(h, "color", 1), where(h, "color", 2),
                                      where(h, "Range"),    where(h, "prefix"),   where(h, "Intensity")};
        for (const Rect &r : order) {
            in.keyPress(key(Key::Tab));
            EXPECT_EQ(editing(), r);
        }
        in.keyPress(key(Key::Tab, true));
        EXPECT_EQ(editing(), where(h, "prefix")) << "Shift+Tab goes back";
        in.keyPress(key(Key::Tab, true));
        EXPECT_EQ(editing(), where(h, "Range"));
    });
}

// ---- keys ----------------------------------------------------------------------------

TEST_F(PanelInputTest, KeysGoToThePanelAndEscapeIsCancel) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        type(in, "Sp");
        EXPECT_EQ(h.prefixText(), "Sp");
        EXPECT_EQ(h.selectedNames(), (std::vector<std::string>{"Spot Left", "Spot Right"}));
        in.keyPress(key(Key::Shift));
        in.keyPress(key(Key::Backspace));
        type(in, "p #\"");
        in.keyPress(key(Key::F1));
        KeyPress alt = ch('x');
        alt.alt = true;
        in.keyPress(alt);  // not passed on
        in.keyPress(key(Key::Escape));
        EXPECT_TRUE(in.finished());
        EXPECT_EQ(in.outcome(), Close::Cancel);
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"type Sp", "key 0x1061", "key backspace", "type \"p #\\\"\"",
                                             "key 0x1030", "cancel"}));
    EXPECT_TRUE(host.commands().empty());
}

// What a front end hands over: keys going down and typed text. A character
// key counts once, through its text; with Ctrl held it is the key that
// counts, and neither the panel nor a field takes it.
TEST_F(PanelInputTest, KeysGoingDownAndTypedTextCountOnce) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        KeyPress s = ch('s');
        in.keyDown(s);  // its text follows
        in.typed("Sp");
        EXPECT_EQ(h.prefixText(), "Sp");
        s.ctrl = true;
        in.keyDown(s);
        in.keyDown(key(Key::Shift));
        in.typed("\xC3\xA9");  // é: a Latin-1 code of its own
        const std::string shown = h.prefixText();
        click(in, where(h, "prefix"));
        in.keyDown(key(Key::End));
        in.keyDown(s);              // Ctrl+S in a field: not typed
        in.typed("o\x80\xC3\xA9");  // a stray byte stands for a C1 control: not typed
        EXPECT_EQ(in.overlay().editText, shown + "o\xE9") << "shown in the panel font's cp1252";
        in.keyDown(key(Key::Escape));
        EXPECT_FALSE(in.finished()) << "Escape drops the edit";
        in.keyDown(key(Key::Escape));
        EXPECT_TRUE(in.finished());
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"type Sp", "key 0x1061", "key 0xe9", "cancel"}));
}

// The prefix field on a scene of cp1252 names: edited in the characters the
// person reads and types, shown in the panel font, sent in the scene's bytes,
// and recorded in UTF-8.
TEST_F(PanelInputTest, ThePrefixFieldTakesCharactersAsTheSceneReadsThem) {
    scene::Scene old = scene::makeDemoScene();
    old.lights[1].name = "Ni\xF1o";  // cp1252
    Host host(old);
    auto rec = session(host, [](Host &h, PanelInput &in) {
        const Rect field = where(h, "prefix");
        click(in, field);
        in.typed("Ni\xC3\xB1");  // Niñ
        EXPECT_EQ(in.overlay().editText, "Ni\xF1");
        EXPECT_EQ(in.overlay().caret, 3);
        in.pointerDown(field.x + sim::kFieldTextInset + 2 * 6 + 1, midY(field));
        in.pointerUp(field.x + sim::kFieldTextInset + 2 * 6 + 1, midY(field));
        EXPECT_EQ(in.overlay().caret, 2) << "the caret goes by characters, not bytes";
        in.typed("\xCE\xA9");  // a character the font lacks
        EXPECT_EQ(in.overlay().editText, "Ni\x81\xF1");
        in.keyDown(key(Key::Backspace));
        in.keyDown(key(Key::Return));
        EXPECT_EQ(h.prefixText(), "Ni\xF1") << "the plug-in gets the scene's own bytes";
        EXPECT_EQ(h.selectedNames(), std::vector<std::string>{"Ni\xF1o"});
        click(in, field);
        EXPECT_EQ(in.overlay().editText, "Ni\xF1") << "editing again starts from what the field shows";
        in.typed("o");
        in.keyDown(key(Key::Return));
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"prefix Ni\xC3\xB1", "prefix Ni\xC3\xB1o", "cancel"}));
}

TEST_F(PanelInputTest, ClosingTheWindowIsCancelAndDropsAnOpenEdit) {
    Host host(scene::makeDemoScene());
    auto rec = session(host, [](Host &h, PanelInput &in) {
        click(in, where(h, "prefix"));
        type(in, "Key");
        in.requestClose();
        EXPECT_EQ(h.prefixText(), "");
        EXPECT_TRUE(in.finished());
    });
    EXPECT_EQ(rec, std::vector<std::string>{"cancel"});
    EXPECT_EQ(host.lastOutcome(), Close::Cancel);
}

// ---- recording and replay ----------------------------------------------------------

// Plays script lines as vantorel-host --script does, on a fresh plug-in;
// what the runner reports ("LINE: TEXT" each) goes to *messages, else there
// must be nothing.
std::vector<std::string> replay(Host &host, const std::vector<std::string> &lines, int &failures,
                                std::string *messages = nullptr) {
    std::string text;
    for (const auto &l : lines) text += l + "\n";
    script::Script script;
    script::ReadError error;
    EXPECT_TRUE(script::readScript(text, "recorded", script, error)) << error.what << "\n" << text;
    std::ostringstream err;
    script::Runner runner(script,
                          [&err](const script::Message &m) { err << m.line << ": " << m.text << "\n"; });
    sim::PluginLibrary lib = sim::PluginLibrary::load(VANTOREL_PLUGIN_PATH);
    const int result = host.activate(lib, [&](Host &h) { return runner.drive(h); });
    runner.finish(host, result);
    failures = runner.failures();
    if (messages) *messages = err.str();
    else EXPECT_EQ(err.str(), "");
    return host.commands();
}

scene::Scene named(const std::vector<std::string> &names) {
    scene::Scene s = scene::makeUniformScene(static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) s.lights[i].name = names[i];
    return s;
}

// Positions of the lights whose intensity OK set to one half.
std::vector<size_t> halved(const Host &h) {
    std::vector<size_t> out;
    for (size_t i = 0; i < h.scene().lights.size(); ++i)
        if (h.scene().lights[i].intensity == 0.5) out.push_back(i);
    return out;
}

// A click on a row is recorded by the light's name (in UTF-8) and its number
// among the rows of that name, so the recording edits the same lights on a
// scene that holds them elsewhere, and fails on one that lacks them.
TEST_F(PanelInputTest, RowClicksAreRecordedByNameAndReplayOnAnotherScene) {
    std::vector<std::string> names{"Ni\xF1o"};
    names.resize(21, "Blue");  // rows 1..20
    names.insert(names.end(), {"Key", "Blue", "Ni\xF1o", "Rim", "Rim", "Rim", "Rim"});
    Host live(named(names));
    auto rec = session(live, [](Host &h, PanelInput &in) {
        const Rect list = where(h, "list");
        auto row = [&](int y) {
            in.pointerDown(list.x + 40, list.y + y);
            in.pointerUp(list.x + 40, list.y + y);
        };
        row(16 + 9);                           // row 1: the first Blue
        in.wheel(midX(list), midY(list), -3);  // scrolled by 48
        row(22 * 16 - 48 + 2);                 // row 22: Blue number 21
        row(23 * 16 - 48 + 15);                // row 23: the second Niño
        click(in, where(h, "Intensity"));
        in.keyPress(key(Key::End));
        for (int i = 0; i < 5; ++i) in.keyPress(key(Key::Backspace));
        type(in, "50");
        in.keyPress(key(Key::Return));
        click(in, sim::panelGeometry(*h.openPanel()).ok);
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"click Blue", "scroll 48", "click Blue 21", "click Niño 2",
                                             "intensity 50", "ok"}));
    EXPECT_EQ(halved(live), (std::vector<size_t>{1, 22, 23}));

    // The same lights, in another order, after two more: the same lights are edited.
    std::vector<std::string> other(names.rbegin(), names.rend());
    other.insert(other.begin(), {"Blue", "Extra"});
    Host moved(named(other));
    int failures = -1;
    replay(moved, rec, failures);
    EXPECT_EQ(failures, 0);
    // The first Blue is the new one at 0, Blue 21 is the old row 2, now at 27,
    // and the second Niño is the old row 0, now at 29.
    EXPECT_EQ(halved(moved), (std::vector<size_t>{0, 27, 29}));

    // A scene with one Niño: the replay stops there and edits nothing.
    names[0] = "Nina";
    Host lacking(named(names));
    std::string messages;
    EXPECT_TRUE(replay(lacking, rec, failures, &messages).empty());
    EXPECT_EQ(failures, 1);
    EXPECT_NE(messages.find("4: click Niño 2: the scene has 1 light named \"Niño\", so "
                            "there is no row \"Niño\" 2"),
              std::string::npos)
        << messages;
}

// A click on no row keeps its position: no name applies to it.
TEST_F(PanelInputTest, AClickBelowTheRowsIsRecordedByPosition) {
    Host host(scene::makeDemoScene());  // 9 lights: rows end at 144
    auto rec = session(host, [](Host &h, PanelInput &in) {
        const Rect list = where(h, "list");
        in.pointerDown(list.x + 30, list.y + 300);
        in.pointerUp(list.x + 30, list.y + 300);
    });
    EXPECT_EQ(rec, (std::vector<std::string>{"click-y 300 30", "cancel"}));
}

TEST_F(PanelInputTest, RecordedSessionReplaysToTheSameCommandsAndCalls) {
    Host live(scene::makeUniformScene(40));
    auto rec = session(live, [](Host &h, PanelInput &in) {
        const Rect list = where(h, "list");
        in.wheel(midX(list), midY(list), -3);
        in.pointerDown(list.x + 3, list.y + 5);  // Light 4, scrolled by 48
        in.pointerUp(list.x + 3, list.y + 5);
        type(in, "Light 1");
        in.keyPress(key(Key::Shift));
        in.keyPress(key(Key::F2));
        click(in, where(h, "Intensity"));
        in.keyPress(key(Key::End));
        in.keyPress(key(Key::Backspace));
        type(in, "25");  // 100.25
        in.keyPress(key(Key::Tab));
        type(in, "7");
        in.keyPress(key(Key::Tab));  // onto green: red commits
        in.keyPress(key(Key::Escape));
        const Rect d = where(h, "drag");
        in.pointerDown(midX(d), midY(d));
        in.pointerMove(midX(d) - 7, midY(d));
        in.pointerMove(midX(d) + 33, midY(d));
        in.pointerUp(midX(d) + 33, midY(d));
        click(in, where(h, "lighttype", 2));
        click(in, where(h, "copy"));
        click(in, where(h, "Clear selection"));
        const Rect s = where(h, "slider");
        in.pointerDown(midX(s), s.y + s.h - 1);
        in.pointerUp(midX(s), s.y + s.h - 1);
        in.pointerDown(list.x + 3, list.y + 399);  // Light 40
        in.pointerUp(list.x + 3, list.y + 399);
        click(in, where(h, "paste"));
        click(in, where(h, "prefix"));
        EXPECT_EQ(in.overlay().editText, "Light 1") << "the prefix typed on the panel";
        in.keyPress(key(Key::End));
        in.keyPress(key(Key::Backspace));
        type(in, "4");
        click(in, where(h, "Range"));  // commits the prefix
        in.keyPress(key(Key::Home));
        type(in, "1");
        in.keyPress(key(Key::Return));
        click(in, where(h, "shadow", 1));
        click(in, sim::panelGeometry(*h.openPanel()).ok);
    });
    ASSERT_FALSE(rec.empty());
    EXPECT_EQ(rec.back(), "ok");
    ASSERT_FALSE(live.commands().empty());

    Host again(scene::makeUniformScene(40));
    int failures = -1;
    EXPECT_EQ(replay(again, rec, failures), live.commands());
    EXPECT_EQ(failures, 0);
    ASSERT_EQ(again.calls().size(), live.calls().size());
    for (size_t i = 0; i < live.calls().size(); ++i)
        ASSERT_EQ(again.calls()[i].text(), live.calls()[i].text()) << "call " << i;
    EXPECT_EQ(again.scene().lights.size(), 40u);
}

}  // namespace
