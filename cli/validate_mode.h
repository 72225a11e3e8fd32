// validate_mode.h - vantorel-host --validate: the validator's run, and with
// --failure-script the two files of its first failure, checked before the
// run and written after it.
#ifndef VANTOREL_CLI_VALIDATE_MODE_H
#define VANTOREL_CLI_VALIDATE_MODE_H

#include <string>

#include "options.h"

namespace vhost {

// Validates the plug-in (--plugin, else the one found beside the program);
// the report goes to stdout, the host's own messages to stderr. Returns the
// exit status: the validator's (0, 1, 2), 2 for bad usage, 3 when a failure
// file could not be written.
int runValidation(const Options &options, const char *argv0);

// The scene file written beside a failure script: its name with the
// extension replaced by ".lws" ("" when the name already ends in ".lws").
std::string failureSceneName(const std::string &script);

}  // namespace vhost

#endif
