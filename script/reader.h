// reader.h - reading session scripts: text to a Script.
//
// One action per line; '#' outside double quotes starts a comment; double
// quotes group words (\" and \\ inside quotes stand for " and \; any other
// backslash is itself). Blank lines and comments are skipped; a line may end
// in CR LF. A NUL byte anywhere is an error: scripts are text. After ok or
// cancel only expect lines may follow. Numbers are read as numbers.h says; a
// choice's item is a number or its name in sim/panel_facts.h, in any case.
//
// The words, each read by a small parser of its own (reader.cpp):
//   click NAME [N]         click-y Y [X]          scroll Y
//   key K                  type TEXT              prefix TEXT
//   intensity V            range V                color R G B
//   lighttype WORD-or-N    shadow WORD-or-N       drag D1 D2 ...
//   drag-event DIST COUNTER                       copy, paste, clear
//   snapshot FILE          ok, cancel
//   expect selected NAME...                       expect field intensity|range V
//   expect field color R G B                      expect field lighttype|shadow WORD-or-N
//   expect ghosted yes|no  expect info|error|prefix TEXT   expect result N
#ifndef VANTOREL_SCRIPT_READER_H
#define VANTOREL_SCRIPT_READER_H

#include <string>

#include "script/script.h"

namespace script {

// The first line that is not the language, and why.
struct ReadError {
    int line = 0;
    std::string what;            // what is wrong, without the file and line
    bool unknownAction = false;  // the line starts with no action: a front end may say where
                                 // the language is described
};

// Reads a whole script named `name` (for messages). On the first line that
// is not the language returns false with error set; out is then incomplete.
bool readScript(const std::string &text, const std::string &name, Script &out, ReadError &error);

}  // namespace script

#endif
