#pragma once

#include <string_view>

namespace torvane::base {

// Test and measurement hook: with TORVANE_TRACE set to a non-empty value in the environment, each
// event becomes one line on the standard error,
//   torvane-trace <milliseconds since 1970, wall clock> <event> <detail>
// so that a script can time the program from outside (the wall clock is the one `date` reads).
// Without the variable nothing is written; the learner's viewer never sets it.
bool tracing();
void trace(std::string_view event, std::string_view detail);

} // namespace torvane::base
