// action.h - the one vocabulary of what a session can do to the open panel.
//
// Every producer of panel events makes sim::Actions: the session-script
// reader, the window's input (PanelInput), the validator's generator and the
// fuzzer's decoder. Every consumer takes them: deliver() plays one on the
// simulated Layout, the script writer (and so the recorder) writes one as a
// script line, the validator's model applies one. A new kind of action is one
// enumerator here; the switch statements over ActionKind that are left
// without it fail to compile (-Werror=switch).
//
// Index
//   ActionKind     the kinds, in script order
//   Button         the buttons an Action can press
//   Action         one event with its arguments, and how to make each kind
//   Delivery       what became of an action: delivered, or why not
//   deliver()      plays an action on the open panel
#ifndef VANTOREL_SIM_ACTION_H
#define VANTOREL_SIM_ACTION_H

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class Host;

// How a modal panel closes. (host.h uses it for a driver's result.)
enum class Close { Cancel = 0, Ok = 1 };

enum class ActionKind : std::uint8_t {
    ClickY,     // the list area at (x, y), then its event          script: click-y Y [X]
    ClickName,  // the row of the n-th light named `text`           script: click NAME [N]
    Scroll,     // the list slider's value, then its event          script: scroll V
    Key,        // the panel's key handler with a Layout key code   script: key K
    Type,       // one key per character of `text`                  script: type TEXT
    Prefix,     // the prefix field's text, then its event          script: prefix TEXT
    Intensity,  // the Intensity field (percent), then its event    script: intensity V
    Range,      // the Range field, then its event                  script: range V
    Color,      // the colour control's three numbers, its event    script: color R G B
    LightType,  // the light type choice's item, then its event     script: lighttype N
    Shadow,     // the shadow type choice's item, then its event    script: shadow N
    Drag,       // one drag gesture: a fresh start, then distances  script: drag D1 D2 ...
    DragEvent,  // one raw drag event: distance and step counter   script: drag-event D N
    Press,      // a button's event                                 script: copy, paste, clear
    Ok,         // closes the panel with OK                         script: ok
    Cancel,     // closes the panel with Cancel                     script: cancel
};
constexpr int kActionKindCount = static_cast<int>(ActionKind::Cancel) + 1;

enum class Button : std::uint8_t { Copy, Paste, Clear };
constexpr int kButtonCount = static_cast<int>(Button::Clear) + 1;

// One action and its arguments; which fields count depends on the kind.
struct Action {
    ActionKind kind = ActionKind::Ok;
    std::int32_t x = 0, y = 0;            // ClickY: mouse position in the list area
    std::int32_t value = 0;               // Scroll: slider value; Key: key code (0..65535);
                                          // LightType, Shadow: item index (any number: tests)
    std::int32_t rgb[3] = {0, 0, 0};      // Color: red, green, blue (any numbers: tests)
    double number = 0;                    // Intensity: percent; Range: distance units
    std::string text;                     // Type, Prefix: the text; ClickName: the light's name (all UTF-8;
                                          // see host.h for how the plug-in gets them)
    std::int32_t occurrence = 1;          // ClickName: which light of that name, from 1
    std::vector<std::int32_t> distances;  // Drag: one per event after the start
    std::int32_t distance = 0;            // DragEvent: distance from the press point
    std::int32_t counter = 0;             // DragEvent: the step counter
    Button button = Button::Copy;         // Press

    static Action clickY(std::int32_t y, std::int32_t x = 0) {
        Action a = of(ActionKind::ClickY);
        a.y = y;
        a.x = x;
        return a;
    }
    static Action clickName(std::string name, std::int32_t occurrence = 1) {
        Action a = of(ActionKind::ClickName);
        a.text = std::move(name);
        a.occurrence = occurrence;
        return a;
    }
    static Action scroll(std::int32_t v) { return withValue(ActionKind::Scroll, v); }
    static Action key(std::int32_t code) { return withValue(ActionKind::Key, code); }
    static Action type(std::string text) { return withText(ActionKind::Type, std::move(text)); }
    static Action prefix(std::string text) { return withText(ActionKind::Prefix, std::move(text)); }
    static Action intensity(double percent) { return withNumber(ActionKind::Intensity, percent); }
    static Action range(double v) { return withNumber(ActionKind::Range, v); }
    static Action color(std::int32_t r, std::int32_t g, std::int32_t b) {
        Action a = of(ActionKind::Color);
        a.rgb[0] = r;
        a.rgb[1] = g;
        a.rgb[2] = b;
        return a;
    }
    static Action lightType(std::int32_t item) { return withValue(ActionKind::LightType, item); }
    static Action shadow(std::int32_t item) { return withValue(ActionKind::Shadow, item); }
    static Action drag(std::vector<std::int32_t> distances) {
        Action a = of(ActionKind::Drag);
        a.distances = std::move(distances);
        return a;
    }
    static Action dragEvent(std::int32_t distance, std::int32_t counter) {
        Action a = of(ActionKind::DragEvent);
        a.distance = distance;
        a.counter = counter;
        return a;
    }
    static Action press(Button b) {
        Action a = of(ActionKind::Press);
        a.button = b;
        return a;
    }
    static Action ok() { return of(ActionKind::Ok); }
    static Action cancel() { return of(ActionKind::Cancel); }

    // Two actions are the same when their kind and the fields their kind uses are.
    friend bool operator==(const Action &a, const Action &b);
    friend bool operator!=(const Action &a, const Action &b) { return !(a == b); }

private:
    static Action of(ActionKind k) {
        Action a;
        a.kind = k;
        return a;
    }
    static Action withValue(ActionKind k, std::int32_t v) {
        Action a = of(k);
        a.value = v;
        return a;
    }
    static Action withText(ActionKind k, std::string t) {
        Action a = of(k);
        a.text = std::move(t);
        return a;
    }
    static Action withNumber(ActionKind k, double v) {
        Action a = of(k);
        a.number = v;
        return a;
    }
};

// What became of an action. Results of this type cannot be dropped unread.
struct [[nodiscard]] Delivery {
    bool delivered = false;
    std::string why;              // when not delivered: what was missing, in a sentence
    std::optional<Close> closes;  // Ok and Cancel: the driver is to return this now

    static Delivery done() { return {true, {}, std::nullopt}; }
    static Delivery closing(Close how) { return {true, {}, how}; }
    static Delivery refused(std::string why) { return {false, std::move(why), std::nullopt}; }
    explicit operator bool() const { return delivered; }
};

// Plays one action on h's open panel, the way a person or a script would:
// the control's value is set, then its event handler is called. Ok and
// Cancel are no control's event: a panel closes when its driver returns, so
// for them deliver() only checks that a panel is open and answers with the
// outcome in `closes`, which the driver (a script runner, PanelInput) returns.
Delivery deliver(Host &h, const Action &a);

}  // namespace sim

#endif
