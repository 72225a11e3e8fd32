// panel_input.h - the open panel used by hand: pointer and keyboard input
// turned into the simulated Layout's driver events, with a field editor and a
// recording of the session as a session script.
//
// A window front end creates one PanelInput inside the host's driver, feeds it
// what the person does (positions in picture pixels at zoom 1, as
// sim::panelGeometry gives them) and draws render::drawPanel of the open
// panel plus overlay(). Every action takes the same host path as the script
// action of the same name (Host::clickY, scroll, key, setPrefix, setIntensity,
// setRange, setColor, setLightType, setShadow, dragEvent, press): the
// control's value is set, then its event handler is called.
//
// Mouse
//   list area         a press clicks there: the area's mouse position, then
//                     its event (script: click "NAME" N on a light's row,
//                     N its number among the rows of that name and left out
//                     for the first; click-y Y X on no row)
//   wheel over the    moves the slider by one row (16 pixels) per notch, held
//   list or slider    inside its range; nothing at an end (script: scroll V)
//   slider            press or drag: the value under the pointer, sent when it
//                     changes (script: scroll V)
//   drag button       press starts a gesture (distance 0, a fresh step
//                     counter); each horizontal move sends the distance from
//                     the press point, positive to the left, so that moving
//                     right raises the intensity, with the counter rising by
//                     one; release ends it (script: drag D1 D2 ...)
//   choice item       a press chooses it, also the item already chosen
//                     (script: lighttype N, shadow N)
//   copy, paste,      shown pressed while the button is down over it; act on
//   Clear selection,  release over it, nothing if released elsewhere
//   OK, Cancel        (script: copy, paste, clear, ok, cancel)
//   prefix, Intensity a press starts editing with the caret at the pointer;
//   Range, R, G, B    a press elsewhere commits the edit first
//   ghosted controls  ignore the mouse (the scripted host still delivers
//                     events to them)
//
// Field editor
//   Left, Right, Home, End move the caret; Backspace and Delete remove a
//   character; printable characters are inserted (digits, sign, point and
//   exponent are what a number field can use; other characters are kept and
//   refused on commit). Return commits; Tab commits and edits the next field
//   (Shift+Tab the one before), in reading order, skipping ghosted fields;
//   Escape drops the edit and shows the value again. A commit sends nothing
//   when the text is still the one shown (so looking into a field never edits
//   every selected light, and a value with more decimals than the field shows
//   is kept). A number field whose text is not a finite number (a colour
//   number: not a whole number) keeps its value, sends nothing and says why
//   in the status line; colour numbers outside 0..255 are held at the ends.
//   The status line stays until the next event sent to the plug-in.
//
// Keys while no field is edited: Escape is Cancel; every other key with a
// Layout code below goes to the panel's key handler (script: type TEXT for
// runs of printable characters, key K for the rest):
//   printable ASCII 32..126 and Latin-1 160..255   the character code
//   Backspace 8, Tab 9, Return 13
//   F1..F10                                        0x1030..0x1039
//   Left, Right, Up, Down, Home, End,
//   Page Up, Page Down, Insert, Delete             0x1040..0x1049
//   Shift 0x1061, Ctrl 0x1062                      (the plug-in leaves the
//                                                  selection alone for these)
//   Alt, F11, F12, characters typed with Ctrl or Alt, other characters: not
//   passed on.
// While the drag button is held, keys other than Escape are ignored, so that
// the gesture stays one script line.
#ifndef VANTOREL_SIM_PANEL_INPUT_H
#define VANTOREL_SIM_PANEL_INPUT_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host.h"
#include "overlay.h"
#include "panel_geometry.h"

namespace sim {

enum class Key {
    Char,
    Backspace,
    Delete,
    Return,
    Tab,
    Escape,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Insert,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,  // consecutive: Key(int(Key::F1) + n)
    Shift,
    Ctrl,
    Alt,   // a modifier key pressed on its own
    Other  // any key not named here
};

struct KeyPress {
    Key key = Key::Char;
    uint32_t ch = 0;  // Unicode code point for Key::Char
    bool shift = false, ctrl = false, alt = false;
};

// The Layout key code the panel's key handler receives for a key pressed while
// no field is edited, or -1 for a key that is not passed on (Escape among them).
int panelKeyCode(const KeyPress &k);

class PanelInput {
public:
    explicit PanelInput(Host &host);  // host must have an open panel

    void pointerDown(int x, int y);  // left button, picture pixels
    void pointerMove(int x, int y);  // with or without the button held
    void pointerUp(int x, int y);
    void wheel(int x, int y, int notches);  // >0: away from the user (scroll up)
    void keyPress(const KeyPress &k);
    void requestClose();  // the window's close button: Cancel

    bool finished() const { return outcome_.has_value(); }  // OK or Cancel happened
    Close outcome() const { return outcome_.value_or(Close::Cancel); }
    bool takeChanged();  // true once after anything visible changed (repaint needed)
    Overlay overlay() const;
    // The session so far as script lines; once finished the last is "ok" or "cancel".
    const std::vector<std::string> &recorded() const { return recorded_; }

private:
    enum class Hold { None, Button, Slider, Drag };
    struct Field {
        std::string key;     // "prefix", "Intensity", "Range" or "color"
        int component = -1;  // 0..2 for the colour numbers
        Rect rect;
        bool usable = true;  // not ghosted
    };
    struct Edit {
        Field field;
        std::string shown;  // the text the field showed when editing began
        std::string text;
        size_t caret = 0;
    };
    struct Target;

    Target hit(int x, int y) const;
    std::vector<Field> fieldsInOrder() const;
    std::string shownText(const Field &f) const;
    const ControlModel *control(const std::string &key) const { return host_.control(key); }

    void startEdit(const Field &f, std::optional<int> pointerX);
    void commitEdit();
    void editKey(const KeyPress &k);
    void moveToField(int step);
    void finish(Close how);
    void endDrag();

    std::string listClickLine(const ControlModel &list, int ax, int ay) const;
    // After an event to the plug-in: records line if it was delivered.
    bool sent(bool delivered, const std::string &line = {});
    void record(std::string line);
    void recordKey(uint16_t code);

    Host &host_;
    std::optional<Close> outcome_;
    bool changed_ = true;
    std::string status_;
    std::optional<Edit> edit_;

    Hold hold_ = Hold::None;
    std::string heldButton_;  // control key, or "ok" / "cancel"
    Rect heldRect_;
    bool heldInside_ = false;
    int dragPressX_ = 0, dragCounter_ = 0, dragLast_ = 0;
    std::vector<int> dragDistances_;

    std::vector<std::string> recorded_;
    bool typing_ = false;  // the last recorded line is a type run that may grow
    std::string typed_;
};

}  // namespace sim

#endif
