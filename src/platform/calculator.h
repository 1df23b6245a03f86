#pragma once

#include <QString>

namespace torvane::platform {

// The system calculator program, or an empty string when the system has none.
QString findCalculator();

} // namespace torvane::platform
