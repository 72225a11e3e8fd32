// command_check.h - the check made on every command a session sends: it is
// well formed and carries its values in the documented format.
#ifndef VANTOREL_VALIDATE_COMMAND_CHECK_H
#define VANTOREL_VALIDATE_COMMAND_CHECK_H

#include <string>
#include <string_view>
#include <vector>

namespace validate {

// Each command parses back to the value it carries in the documented format,
// none is cut short or holds "nan"/"inf". Returns the first problem, or an
// empty text.
std::string commandProblem(const std::vector<std::string> &commands);
std::string commandProblem(std::string_view command);  // the same for one command

}  // namespace validate

#endif
