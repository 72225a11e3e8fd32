// script_messages.h - session scripts as vantorel-host reads them and reports
// on them: the reader's and the runner's messages through the diagnostics
// printer, with what to do on this command line added.
#ifndef VANTOREL_CLI_SCRIPT_MESSAGES_H
#define VANTOREL_CLI_SCRIPT_MESSAGES_H

#include <string>

#include "diagnostics.h"
#include "script/runner.h"
#include "script/script.h"

namespace vhost {

// Where the scene's names are shown, added to a click by a name the scene
// lacks (sim::Host::namesShownBy).
extern const char *const kNamesShownBy;

// Reads a script. A line that is not the language is reported as
// "NAME:LINE: error: what" (an unknown action also says where the language
// is described); then false.
bool readSessionScript(const std::string &text, const std::string &name, script::Script &out,
                       Diagnostics &diag);

// The runner's messages: a failed step as "NAME:LINE: error: SOURCE: what",
// a warning as "vantorel-host: warning: ...".
script::Runner::Report scriptReport(Diagnostics &diag, const std::string &name);

}  // namespace vhost

#endif
