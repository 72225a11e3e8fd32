// Tests of deliver() and the roles table, driven by a stand-in plug-in that
// adds whatever controls a test asks for and logs what each event handler
// reads back from the host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "host.h"
#include "tests/support/deliver.h"

using sim::Action;
using sim::Button;
using sim::Role;

namespace {

// ---- the stand-in plug-in -------------------------------------------------

struct Wanted {
    const char *type;
    const char *label;
    std::vector<const char *> items;  // a choice's items
    bool handler = true;              // bind an event handler
};

struct Stub {
    std::vector<Wanted> controls;
    bool keyHandler = true;
    std::vector<std::string> seen;                 // what the handlers read, in order
    std::vector<std::vector<const char *>> items;  // null-terminated, for the descriptors
} stub;

std::string readBack(HostControl *c, const std::string &type) {
    HostValue v{};
    if (type == "AreaControl") {
        v.type = HV_INTEGER;
        c->get(c, CTL_MOUSEX, &v);
        const std::string x = std::to_string(v.intv.value);
        c->get(c, CTL_MOUSEY, &v);
        return "mouse " + x + " " + std::to_string(v.intv.value);
    }
    if (type == "ButtonControl") return "pressed";
    if (type == "FloatControl") {
        v.type = HV_FLOAT;
        c->get(c, CTL_VALUE, &v);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", v.flt.value);
        return buf;
    }
    if (type == "MiniRGBControl" || type == "DragButtonControl") {
        v.type = HV_IVECTOR;
        c->get(c, CTL_VALUE, &v);
        return std::to_string(v.ivec.value[0]) + " " + std::to_string(v.ivec.value[1]) + " " +
               std::to_string(v.ivec.value[2]);
    }
    if (type == "EditControl") {
        char buf[64] = "";
        v.str.type = HV_STRING;
        v.str.buf = buf;
        v.str.bufLen = sizeof buf;
        c->get(c, CTL_VALUE, &v);
        return std::string("\"") + buf + "\"";
    }
    v.type = HV_INTEGER;
    c->get(c, CTL_VALUE, &v);
    return std::to_string(v.intv.value);
}

void VT_CDECL onEvent(HostControl *c, void *data) {
    const Wanted &w = stub.controls[reinterpret_cast<size_t>(data)];
    stub.seen.push_back(std::string(*w.label ? w.label : w.type) + ": " + readBack(c, w.type));
}

void VT_CDECL onKey(HostPanel *, void *, uint16_t code) {
    stub.seen.push_back("key " + std::to_string(code));
}

int32_t VT_CDECL stubActivate(int32_t, HostGlobalFunc global, void *, void *) {
    auto *panels = static_cast<PanelServices *>(global(PANEL_SERVICES_NAME, 0));
    HostPanel *panel = panels->create("Stub", nullptr);
    stub.items.resize(stub.controls.size());
    for (size_t i = 0; i < stub.controls.size(); ++i) {
        const Wanted &w = stub.controls[i];
        ControlDesc d{};
        stub.items[i] = w.items;
        stub.items[i].push_back(nullptr);
        if (!w.items.empty()) {
            d.choice.type = CD_CHOICE;
            d.choice.items = stub.items[i].data();
        }
        HostControl *c = panels->addControl(panel, w.type, &d, w.label);
        HostValue v{};
        v.intv.type = HV_INTEGER;
        v.intv.value = static_cast<intptr_t>(i);
        c->set(c, CTL_USERDATA, &v);
        v.intv.value = reinterpret_cast<intptr_t>(&onEvent);
        if (w.handler) c->set(c, CTL_USEREVENT, &v);
    }
    if (stub.keyHandler) panels->set(panel, PAN_USERKEYS, reinterpret_cast<void *>(&onKey));
    panels->open(panel, PANF_MODAL_OK_CANCEL);
    panels->destroy(panel);
    return AFUNC_OK;
}

// The light editor's thirteen controls as the plug-in adds them.
std::vector<Wanted> editorPanel() {
    return {{"FloatControl", "Intensity", {}},
            {"DragButtonControl", "", {}},
            {"ChoiceControl", "", {"Distant", "Point"}},
            {"ChoiceControl", "", {"Off", "Raytrace"}},
            {"FloatControl", "Range", {}},
            {"ButtonControl", "copy", {}},
            {"ButtonControl", "paste", {}},
            {"InfoControl", "info", {}},
            {"AreaControl", "", {}},
            {"ButtonControl", "Clear selection", {}},
            {"VSlideControl", "", {}},
            {"EditControl", "prefix", {}},
            {"MiniRGBControl", "", {}}};
}

// One activation of the stand-in with these controls; the body runs inside the open panel.
void withPanel(std::vector<Wanted> controls, const std::function<void(sim::Host &)> &body,
               scene::Scene scene = scene::makeUniformScene(3)) {
    stub = Stub{};
    stub.controls = std::move(controls);
    sim::Host host(std::move(scene));
    testsupport::runOpened(host, &stubActivate, nullptr, [&](sim::Host &h) {
        body(h);
        return sim::Close::Cancel;
    });
}

}  // namespace

// Every role is recognised once on the light editor's panel, under the key
// the call log has always used for it.
TEST(Roles, EachControlOfTheEditorPanelPlaysItsRoleUnderItsKey) {
    withPanel(editorPanel(), [](sim::Host &h) {
        const std::vector<std::string> keys{"list",      "slider", "prefix",         "Intensity", "drag",
                                            "lighttype", "color",  "Range",          "shadow",    "copy",
                                            "paste",     "info",   "Clear selection"};
        for (int r = 0; r < sim::kRoleCount; ++r) {
            const Role role = static_cast<Role>(r);
            const sim::ControlModel *c = h.control(role);
            ASSERT_NE(c, nullptr) << keys[static_cast<size_t>(r)];
            EXPECT_EQ(c->key, keys[static_cast<size_t>(r)]);
            EXPECT_EQ(sim::roleRule(role).key, c->key);
        }
    });
}

// A role needs the type, the label and (for a choice) the first item; a
// second control that fits takes no role and gets a key of its own.
TEST(Roles, TypeLabelAndFirstItemTogetherAndTheFirstFitWins) {
    withPanel({{"ButtonControl", "Intensity", {}},
               {"FloatControl", "Intensity", {}},
               {"FloatControl", "Intensity", {}},
               {"ChoiceControl", "", {"Point", "Distant"}},
               {"ChoiceControl", "Type", {"Distant"}}},
              [](sim::Host &h) {
                  const sim::PanelModel &p = *h.openPanel();
                  ASSERT_EQ(p.controls.size(), 5u);
                  EXPECT_FALSE(p.controls[0]->role) << "a button labelled Intensity is no field";
                  EXPECT_EQ(p.controls[1]->role, Role::Intensity);
                  EXPECT_FALSE(p.controls[2]->role);
                  EXPECT_EQ(p.controls[2]->key, "Intensity#3");
                  EXPECT_FALSE(p.controls[3]->role);
                  EXPECT_EQ(p.controls[3]->key, "choice");
                  EXPECT_FALSE(p.controls[4]->role) << "a labelled choice is no light type choice";
                  DELIVER(h, Action::intensity(7));
                  EXPECT_EQ(stub.seen, std::vector<std::string>{"Intensity: 7"});
                  EXPECT_EQ(testsupport::refusal(h, Action::lightType(1)),
                            "the panel has no light type choice");
              });
}

// Each kind sets its control's value in the form the plug-in reads back, then
// fires that control's event; Ok and Cancel only answer how to close.
TEST(Deliver, EachKindReachesItsControlWithItsValue) {
    withPanel(editorPanel(), [](sim::Host &h) {
        DELIVER(h, Action::clickY(30, 12));
        DELIVER(h, Action::scroll(48));
        DELIVER(h, Action::prefix("Sp"));
        DELIVER(h, Action::intensity(-12.5));
        DELIVER(h, Action::range(1e300));
        DELIVER(h, Action::color(255, -1, 70000));
        DELIVER(h, Action::lightType(3));
        DELIVER(h, Action::shadow(-2));
        DELIVER(h, Action::dragEvent(-40, 17));
        DELIVER(h, Action::press(Button::Copy));
        DELIVER(h, Action::press(Button::Paste));
        DELIVER(h, Action::press(Button::Clear));
        DELIVER(h, Action::key(0x1030));
        DELIVER(h, Action::type("a "));
        EXPECT_EQ(stub.seen,
                  (std::vector<std::string>{
                      "AreaControl: mouse 12 30", "VSlideControl: 48", "prefix: \"Sp\"", "Intensity: -12.5",
                      "Range: 1e+300", "MiniRGBControl: 255 -1 70000", "ChoiceControl: 3",
                      "ChoiceControl: -2", "DragButtonControl: -40 0 17", "copy: pressed", "paste: pressed",
                      "Clear selection: pressed", "key 4144", "key 97", "key 32"}));
        for (const Action &a : {Action::ok(), Action::cancel()}) {
            const sim::Delivery d = deliver(h, a);
            EXPECT_TRUE(d.delivered);
            EXPECT_EQ(d.closes, a.kind == sim::ActionKind::Ok ? sim::Close::Ok : sim::Close::Cancel);
        }
        EXPECT_EQ(stub.seen.size(), 15u) << "closing calls nothing";
        EXPECT_TRUE(h.faults().empty()) << h.faults().front();
    });
}

// A drag gesture starts from a fresh counter that continues no earlier drag,
// and the next gesture's start does not continue this one either.
TEST(Deliver, ADragGestureCountsUpFromAFreshStart) {
    withPanel(editorPanel(), [](sim::Host &h) {
        DELIVER(h, Action::dragEvent(5, 1000));
        const int fresh = sim::Host::freshDragCounter();
        EXPECT_NE(fresh, 1001);
        DELIVER(h, Action::drag({3, -4}));
        const std::string n = std::to_string(fresh);
        EXPECT_EQ(stub.seen,
                  (std::vector<std::string>{"DragButtonControl: 5 0 1000", "DragButtonControl: 0 0 " + n,
                                            "DragButtonControl: 3 0 " + std::to_string(fresh + 1),
                                            "DragButtonControl: -4 0 " + std::to_string(fresh + 2)}));
        EXPECT_GT(sim::Host::freshDragCounter(), fresh + 3);
    });
}

// What cannot be delivered reaches no handler, is a fault, and says why.
TEST(Deliver, RefusalsSayWhatIsMissing) {
    withPanel({{"AreaControl", "", {}, false}}, [](sim::Host &h) {
        for (int r = 0; r < sim::kRoleCount; ++r) {
            const Role role = static_cast<Role>(r);
            if (role == Role::List || role == Role::Info) continue;
            const sim::Action a = role == Role::Slider      ? Action::scroll(1)
                                  : role == Role::Prefix    ? Action::prefix("x")
                                  : role == Role::Intensity ? Action::intensity(1)
                                  : role == Role::Drag      ? Action::drag({})
                                  : role == Role::LightType ? Action::lightType(1)
                                  : role == Role::Color     ? Action::color(1, 2, 3)
                                  : role == Role::Range     ? Action::range(1)
                                  : role == Role::Shadow    ? Action::shadow(1)
                                                            : Action::press(*sim::roleButton(role));
            EXPECT_EQ(testsupport::refusal(h, a), sim::roleRule(role).missing);
        }
        EXPECT_EQ(testsupport::refusal(h, Action::clickY(1)), "control list has no event handler");
        EXPECT_TRUE(stub.seen.empty());
        EXPECT_EQ(h.faults().size(), 12u);
        EXPECT_EQ(h.faults().back(), "control list has no event handler");
    });
    stub = Stub{};
    stub.controls = editorPanel();
    stub.keyHandler = false;
    sim::Host host(scene::makeUniformScene(1));
    testsupport::runOpened(host, &stubActivate, nullptr, [](sim::Host &h) {
        EXPECT_EQ(testsupport::refusal(h, Action::type("ab")), "the panel has no key handler");
        EXPECT_EQ(h.faults().size(), 1u) << "a text stops at its first key that cannot be sent";
        return sim::Close::Cancel;
    });
    EXPECT_EQ(testsupport::refusal(host, Action::ok()),
              "no panel is open: driver events work only inside open");
    EXPECT_EQ(testsupport::refusal(host, Action::intensity(1)),
              "no panel is open: driver events work only inside open");
}

// Texts are typed in UTF-8; the prefix reaches the plug-in in the bytes of
// the scene's names (cp1252 when they are not all UTF-8), and a typed text as
// one Layout key per character. What cannot be sent so is refused whole.
TEST(Deliver, TextsReachThePlugInInTheScenesOwnBytes) {
    scene::Scene old = scene::makeUniformScene(2);
    old.lights[0].name = "Ni\xF1o";  // cp1252
    withPanel(
        editorPanel(),
        [](sim::Host &h) {
            DELIVER(h, Action::prefix("Ni\xC3\xB1o"));   // "Niño" in UTF-8
            DELIVER(h, Action::prefix("Ni\xF1o"));       // a Latin-1 script's bytes
            DELIVER(h, Action::prefix("\xE2\x82\xAC"));  // the euro sign has a cp1252 byte
            EXPECT_EQ(testsupport::refusal(h, Action::prefix("\xCE\xA9mega"))
                          .rfind("\"\xCE\xA9\" (U+03A9) has no byte in cp1252", 0),
                      0u);
            DELIVER(h, Action::type("a\xC3\xB1"));
            EXPECT_EQ(testsupport::refusal(h, Action::type("b\xE2\x82\xAC"))
                          .rfind("\"\xE2\x82\xAC\" (U+20AC) has no key of the panel", 0),
                      0u);
            EXPECT_EQ(stub.seen, (std::vector<std::string>{"prefix: \"Ni\xF1o\"", "prefix: \"Ni\xF1o\"",
                                                           "prefix: \"\x80\"", "key 97", "key 241"}));
        },
        old);
    withPanel(editorPanel(), [](sim::Host &h) {
        DELIVER(h, Action::prefix("Ni\xC3\xB1o"));
        DELIVER(h, Action::prefix("Ni\xF1o"));
        DELIVER(h, Action::prefix("\xCE\xA9"));
        EXPECT_EQ(stub.seen, (std::vector<std::string>{"prefix: \"Ni\xC3\xB1o\"", "prefix: \"Ni\xC3\xB1o\"",
                                                       "prefix: \"\xCE\xA9\""}));
    });
}

// Actions are equal when their kind and the fields that kind uses are.
TEST(Deliver, ActionsCompareByTheFieldsTheirKindUses) {
    Action a = Action::intensity(5);
    a.text = "ignored";
    a.value = 9;
    EXPECT_EQ(a, Action::intensity(5));
    EXPECT_NE(Action::intensity(5), Action::range(5));
    EXPECT_NE(Action::intensity(0.0), Action::intensity(-0.0)) << "written differently";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Action::range(nan), Action::range(-nan));
    EXPECT_NE(Action::range(nan), Action::range(0));
    EXPECT_EQ(Action::clickY(3, 4), Action::clickY(3, 4));
    EXPECT_NE(Action::clickY(3, 4), Action::clickY(3, 5));
    EXPECT_NE(Action::clickName("A", 1), Action::clickName("A", 2));
    EXPECT_NE(Action::drag({1, 2}), Action::drag({1, 2, 3}));
    EXPECT_NE(Action::dragEvent(1, 2), Action::dragEvent(1, 3));
    EXPECT_NE(Action::color(1, 2, 3), Action::color(1, 2, 4));
    EXPECT_NE(Action::press(Button::Copy), Action::press(Button::Paste));
    EXPECT_NE(Action::type("a"), Action::prefix("a"));
    Action ok = Action::ok();
    ok.number = 3;
    EXPECT_EQ(ok, Action::ok());
}
