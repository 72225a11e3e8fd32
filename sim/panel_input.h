// panel_input.h - the open panel used by hand: pointer gestures and keys
// turned into actions on the simulated Layout.
//
// A window front end creates one PanelInput inside the host's driver, feeds it
// what the person does (positions in picture pixels at zoom 1, as
// sim::panelGeometry gives them; keys as keyboard.h describes) and draws
// render::panelFrame of the open panel and overlay(). Every event the plug-in
// gets is a sim::Action delivered by sim::deliver, the path a session script
// takes: the control's value is set, then its event handler is called. Each
// one that arrived is recorded (recorder.h).
//
// Mouse
//   list area         a press clicks there: the area's mouse position, then
//                     its event (recorded by the name of the light on that
//                     row, or by position on no row)
//   wheel over the    moves the slider by one row (16 pixels) per notch, held
//   list or slider    inside its range; nothing at an end
//   slider            press or drag: the value under the pointer, sent when it
//                     changes
//   drag button       press starts a gesture (distance 0, a fresh step
//                     counter); each horizontal move sends the distance from
//                     the press point, positive to the left, so that moving
//                     right raises the intensity, with the counter rising by
//                     one; release ends it (recorded as one drag)
//   choice item       a press chooses it, also the item already chosen
//   push buttons,     shown pressed while the button is down over it; act on
//   OK, Cancel        release over it, nothing if released elsewhere
//   text and number   a press starts editing (field_editor.h) with the caret
//   fields            at the pointer; a press elsewhere commits the edit first
//   ghosted controls  ignore the mouse (the scripted host still delivers
//                     events to them)
//
// Fields
//   Tab and Shift+Tab go on to the next or previous field in reading order,
//   skipping ghosted fields. A refused commit says why in the status line;
//   so does an event the host could not deliver. The status line stays until
//   the next event sent to the plug-in.
//
// Keys while no field is edited: Escape is Cancel; every other key with a
// Layout code (layout_keys.h) goes to the panel's key handler. While the drag
// button is held, keys other than Escape are ignored, so that the gesture
// stays one action.
#ifndef VANTOREL_SIM_PANEL_INPUT_H
#define VANTOREL_SIM_PANEL_INPUT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "action.h"
#include "field_editor.h"
#include "host.h"
#include "keyboard.h"
#include "overlay.h"
#include "panel_geometry.h"
#include "recorder.h"

namespace sim {

class PanelInput {
public:
    explicit PanelInput(Host &host);  // host must have an open panel

    void pointerDown(int x, int y);  // left button, picture pixels
    void pointerMove(int x, int y);  // with or without the button held
    void pointerUp(int x, int y);
    void wheel(int x, int y, int notches);  // >0: away from the user (scroll up)
    void keyPress(const KeyPress &k);
    // What a front end hands over: a key that went down, and typed text
    // (keyboard.h says what each stands for).
    void keyDown(const KeyPress &k);
    void typed(std::string_view utf8);
    void requestClose();  // the window's close button: Cancel

    bool finished() const { return outcome_.has_value(); }  // OK or Cancel happened
    Close outcome() const { return outcome_.value_or(Close::Cancel); }
    bool takeChanged();  // true once after anything visible changed (repaint needed)
    Overlay overlay() const;
    // The session so far; once finished the last action is ok or cancel.
    const Recorder &recording() const { return recorder_; }

private:
    enum class Hold { None, Button, Slider, Drag };
    struct Target;

    Target hit(int x, int y) const;
    std::vector<Field> fieldsInOrder() const;
    const ControlModel *controlOf(const Field &f) const;
    std::string shownText(const Field &f) const;

    void startEdit(const Field &f, std::optional<int> pointerX);
    void commitEdit();
    void editKey(const KeyPress &k);
    void moveToField(int step);
    void press(const Target &t, int x, int y);
    void finish(Close how);
    void endDrag();

    // Sends an action to the plug-in; true if it arrived. The status line
    // then shows why not, or nothing.
    bool deliverNow(const Action &a);
    // Sends it and records it if it arrived.
    void send(const Action &a, const std::string &note = {});
    Action listClick(const ControlModel &list, int ax, int ay, std::string &note) const;

    Host &host_;
    std::optional<Close> outcome_;
    bool changed_ = true;
    std::string status_;
    std::optional<FieldEditor> edit_;

    Hold hold_ = Hold::None;
    Action heldAction_;  // the held button's: a press, or OK or Cancel
    Rect heldRect_;
    bool heldInside_ = false;
    int dragPressX_ = 0, dragCounter_ = 0, dragLast_ = 0;
    std::vector<int> dragDistances_;

    Recorder recorder_;
};

}  // namespace sim

#endif
