// expectations.h - checking an expect line against what the host shows.
#ifndef VANTOREL_SCRIPT_EXPECTATIONS_H
#define VANTOREL_SCRIPT_EXPECTATIONS_H

#include <string>

#include "host.h"
#include "script/script.h"

namespace script {

// Numbers compare within this.
constexpr double kTolerance = 1e-6;

// What is wrong, as "expected ..., saw ...", or "" when the host shows what e
// expects. Names and the prefix are compared as the user reads them (UTF-8,
// the scene's names as its name reading gives them). `result` is the
// activation's result, for Check::Result.
std::string expectationProblem(const Expectation &e, const sim::Host &host, int result);

}  // namespace script

#endif
