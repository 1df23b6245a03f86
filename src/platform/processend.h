#pragma once

namespace torvane::platform {

// Ends the process at once, as the viewer ends: what is buffered for the standard streams is written,
// and no close handler of any window or object runs.
[[noreturn]] void endProcessNow();

} // namespace torvane::platform
