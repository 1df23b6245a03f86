#include <cstdio>
#include <cstdlib>
#include <platform/processend.h>

namespace torvane::platform {

void endProcessNow() {
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace torvane::platform
