// script_text.h - writing words of vantorel-host's session-script language.
//
// The recorder of hand-made sessions (PanelInput) writes script lines; these
// helpers give each word a form that the script reader takes back unchanged:
// a text in double quotes with " and \ escaped, a number that reads back as
// the same double, a key as the reader's key word.
#ifndef VANTOREL_SIM_SCRIPT_TEXT_H
#define VANTOREL_SIM_SCRIPT_TEXT_H

#include <cstdint>
#include <string>

#include "action.h"

namespace sim {

// "TEXT" with \" for " and \\ for \; line breaks cannot be written (a script
// line ends there), so they must not be passed.
std::string scriptQuoted(const std::string &text);
// The shortest decimal text that reads back as exactly v (v finite).
std::string scriptNumber(double v);
// A key word: backspace for 8, a printable character as itself (quoted where
// it would be read otherwise: blank, ", #), any other code in 0x hexadecimal.
std::string scriptKey(uint16_t code);
// The action that presses a button: copy, paste or clear.
std::string scriptButton(Button b);

}  // namespace sim

#endif
