#pragma once

#include <array>

namespace torvane::base {

// One toolbar button: its control name, its caption ("&" marks the access key), and what a screen
// reader says for it where the caption is no word (none: the caption without its "&").
struct ToolbarButton final {
    const char* name;
    const char* caption;
    const char* spoken = nullptr;
};

// The toolbar row of the main window, left to right (the tab order follows it).
inline constexpr std::array<ToolbarButton, 10> kMainToolbar{{
    {"cmdCont", "&Contents"},
    {"cmdPrint", "&Print"},
    {"cmdSearch", "&Search"},
    {"cmdBack", "&Back"},
    {"cmdPrev", "&<<", "Previous page"},
    {"cmdNext", "&>>", "Next page"},
    {"cmdHist", "His&tory"},
    {"cmdCalc", "C&alc"},
    {"cmdHelp", "&Help"},
    {"cmdSecn", "Sectio&n"},
}};

// The secondary windows carry the same row, except that in the search window the third button opens
// the index window.
inline constexpr std::size_t kSearchOrIndexPosition = 2;
inline constexpr ToolbarButton kIndexButton{"cmdIndex", "&Index"};

} // namespace torvane::base
