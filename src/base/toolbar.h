#pragma once

#include <array>

namespace torvane::base {

// One toolbar button: its control name and its caption ("&" marks the access key).
struct ToolbarButton final {
    const char* name;
    const char* caption;
};

// The toolbar row of the main window, left to right (the tab order follows it).
inline constexpr std::array<ToolbarButton, 10> kMainToolbar{{
    {"cmdCont", "&Contents"},
    {"cmdPrint", "&Print"},
    {"cmdSearch", "&Search"},
    {"cmdBack", "&Back"},
    {"cmdPrev", "&<<"},
    {"cmdNext", "&>>"},
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
