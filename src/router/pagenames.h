#pragma once

// The page-name grammar. A page name is a file name relative to the course folder (what follows the
// first "trv2/" of a browser address). Its leading characters say what kind of page it is, which
// module it belongs to, and which media file a video or narration page stands for.

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace torvane::router {

// Screen size class of the display; 1..7 select a page variant.
using ScreenSize = std::int16_t;

// 'a'..'g' for sizes 1..7; nothing for any other value.
std::optional<QChar> variantLetter(ScreenSize size);
// As variantLetter, but 'a' for values outside 1..7: the contents pages always have a variant.
QChar letterOrA(ScreenSize size);

// base + letter + ".trv", or nothing for a size outside 1..7 (the caller picks the fallback).
std::optional<QString> variantPageName(QStringView base, ScreenSize size);

// "trv?.trv" and "trvcr?.trv" for the size, with the 'a' fallback.
QString contentsPage(ScreenSize size);
QString secondContentsPage(ScreenSize size);
bool isContentsPage(QStringView name);
bool isSecondContentsPage(QStringView name);

// "trNN..." gives NN; otherwise "modNN...", "objNN..." or "revNN..." give NN; otherwise nothing.
std::optional<int> moduleNumber(QStringView name);
// Window caption while `name` is shown: "Torvane - Module N" or just "Torvane".
QString caption(QStringView name);

enum class PageClass {
    Video,
    Narration,
    ModulePage,
    SearchWindow,
    IndexWindow,
    HistoryWindow,
    Contents,
    SecondContents,
    ModulePlaceholder,
    Ordinary,
};

PageClass classify(QStringView name);

// Address of the video a page stands for ("title.trv", "ttv*", "fig*"), relative to fileLocn, the
// course folder URL ending in "/". Nothing for other names.
std::optional<QString> videoAddress(QStringView fileLocn, QStringView name);
// Address of the narration a "v*" page stands for; nothing for other names.
std::optional<QString> narrationAddress(QStringView fileLocn, QStringView name);

} // namespace torvane::router
