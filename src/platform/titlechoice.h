#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>

namespace torvane::platform {

// Which of `titles` a look for `wanted` finds: the first that equals it, else the first that begins
// with it; nothing when none does, and an empty `wanted` finds nothing. Written once for any string
// type, so the Qt-facing desktop code and the Win32 window search choose the same window.
template <typename Titles, typename Title>
std::optional<std::size_t> chooseTitle(const Titles& titles, const Title& wanted) {
    if (wanted.size() == 0)
        return std::nullopt;
    std::size_t index = 0;
    for (const auto& title : titles) {
        if (title == wanted)
            return index;
        ++index;
    }
    index = 0;
    for (const auto& title : titles) {
        if (title.size() >= wanted.size() && std::equal(wanted.begin(), wanted.end(), title.begin()))
            return index;
        ++index;
    }
    return std::nullopt;
}

} // namespace torvane::platform
