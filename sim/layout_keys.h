// layout_keys.h - the key codes Layout hands a panel's key handler.
//
// Every key with a code below goes to the panel's key handler while no field
// is edited:
//   printable ASCII 32..126 and Latin-1 160..255   the character code
//   Backspace 8, Tab 9, Return 13
//   F1..F10                                        0x1030..0x1039
//   Left, Right, Up, Down, Home, End,
//   Page Up, Page Down, Insert, Delete             0x1040..0x1049
//   Shift 0x1061, Ctrl 0x1062
// Escape (Cancel), Alt, F11, F12, characters typed with Ctrl or Alt and every
// other character have none.
#ifndef VANTOREL_SIM_LAYOUT_KEYS_H
#define VANTOREL_SIM_LAYOUT_KEYS_H

#include "keyboard.h"

namespace sim {

// The key's Layout code, or -1 for a key that is not passed on.
int panelKeyCode(const KeyPress &k);

}  // namespace sim

#endif
