#include <base/trace.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace torvane::base {

bool tracing() {
    static const bool on = [] {
        const char* value = std::getenv("TORVANE_TRACE");
        return value != nullptr && *value != '\0';
    }();
    return on;
}

void trace(std::string_view event, std::string_view detail) {
    if (!tracing()) {
        return;
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    // One write per line, so that lines of several processes on one pipe never interleave.
    std::string line = "torvane-trace " + std::to_string(ms) + ' ';
    line.append(event);
    line += ' ';
    for (const char c : detail) {
        line += static_cast<unsigned char>(c) < 0x20 ? '?' : c; // keeps the record on one line
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace torvane::base
