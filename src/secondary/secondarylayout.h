#pragma once

// Design geometry of the secondary windows, in twips as the windows were drawn (1/1440 inch; at 96 dpi
// 15 twips make one pixel).

#include <QFont>
#include <QRect>
#include <base/twips.h>

namespace torvane::secondary {

// Window geometry is designed in twips; see platform/twips.h.
using base::twipsRect;
using base::twipsToPixels;

// The toolbar buttons' face: "MS Sans Serif" 8.25 pt bold, or the nearest sans-serif the system has.
inline QFont toolbarButtonFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

// The toolbar row: ten buttons 975 x 280 twips, tops at 30, lefts 45 + 990 i.
inline constexpr int kToolbarTop = 30;
inline constexpr int kToolbarFirstLeft = 45;
inline constexpr int kToolbarStep = 990;
inline constexpr int kToolbarButtonWidth = 975;
inline constexpr int kToolbarButtonHeight = 280;

// The help picture box and the picture in it.
inline constexpr QRect kHelpBoxTwips{600, 720, 12135, 9735};
inline constexpr int kHelpPictureWidth = 800;
inline constexpr int kHelpPictureHeight = 640;

// Where Form_Resize puts a window found left of the screen: 1500, 1500 twips.
inline constexpr int kRescueTwips = 1500;

// The windows open at this size (twips) until the learner or a hand-over changes it: room for the
// toolbar, the lists and the help picture.
inline constexpr int kWindowWidthTwips = 12975;
inline constexpr int kWindowHeightTwips = 10800;

} // namespace torvane::secondary
