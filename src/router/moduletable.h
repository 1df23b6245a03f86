#pragma once

// The module page table: 72 course pages that the viewer never shows as they stand. Each one is a
// placeholder for a module entry page whose variant (chosen by screen size) is shown instead.

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace torvane::router {

inline constexpr int kModuleCount = 24;

// Page number of each module's objectives page; the review page is always the page after it.
struct ObjPageEntry {
    int module;
    int objPage;
};

inline constexpr std::array<ObjPageEntry, kModuleCount> kObjPages{{
    {1, 196},  {2, 216},  {3, 97},   {4, 146},  {5, 114},  {6, 126},  {7, 119},  {8, 146},
    {9, 109},  {10, 154}, {11, 134}, {12, 70},  {13, 151}, {14, 133}, {15, 128}, {16, 171},
    {17, 211}, {18, 189}, {19, 188}, {20, 163}, {21, 146}, {22, 129}, {23, 325}, {24, 231},
}};

enum class PlaceholderKind { First, Objectives, Review };

// One placeholder: the course page name "trMMPPPP.trv" and the base ("modMM", "objMM", "revMM") of
// the variant pages that replace it. Both are NUL-terminated Latin-1 text.
struct PlaceholderRow {
    PlaceholderKind kind;
    int module;
    int page;
    std::array<char, 13> name;
    std::array<char, 6> base;
};

inline constexpr int kPlaceholderCount = 3 * kModuleCount;

namespace detail {

constexpr void putTwoDigits(char* out, int value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
}

constexpr PlaceholderRow makeRow(PlaceholderKind kind, int module, int page) {
    PlaceholderRow row{kind, module, page, {}, {}};
    row.name = {'t', 'r', '0', '0', '0', '0', '0', '0', '.', 't', 'r', 'v', '\0'};
    putTwoDigits(&row.name[2], module);
    putTwoDigits(&row.name[4], page / 100);
    putTwoDigits(&row.name[6], page % 100);
    const char* prefix = kind == PlaceholderKind::First        ? "mod"
                         : kind == PlaceholderKind::Objectives ? "obj"
                                                               : "rev";
    row.base = {prefix[0], prefix[1], prefix[2], '0', '0', '\0'};
    putTwoDigits(&row.base[3], module);
    return row;
}

// Lookup order: all first pages, then all objectives pages, then all review pages.
constexpr std::array<PlaceholderRow, kPlaceholderCount> makePlaceholderRows() {
    std::array<PlaceholderRow, kPlaceholderCount> rows{};
    for (int i = 0; i < kModuleCount; ++i) {
        const auto [module, obj] = kObjPages[static_cast<std::size_t>(i)];
        rows[static_cast<std::size_t>(i)] = makeRow(PlaceholderKind::First, module, 1);
        rows[static_cast<std::size_t>(kModuleCount + i)] = makeRow(PlaceholderKind::Objectives, module, obj);
        rows[static_cast<std::size_t>(2 * kModuleCount + i)] =
            makeRow(PlaceholderKind::Review, module, obj + 1);
    }
    return rows;
}

} // namespace detail

inline constexpr std::array<PlaceholderRow, kPlaceholderCount> kPlaceholderRows =
    detail::makePlaceholderRows();

// Base of the variant pages that replace `name`, or nothing when `name` is not a placeholder.
// Whole-name, case-sensitive comparison; the first row in lookup order wins.
std::optional<QString> placeholderBase(QStringView name);

bool isPlaceholder(QStringView name);

} // namespace torvane::router
