#pragma once

// Design geometry of the secondary windows, in twips as the windows were drawn (1/1440 inch; at 96 dpi
// 15 twips make one pixel). The main window's layout has its own copy of this conversion in
// shell/twips.h; the two agree, and could move into one lower library.

#include <QRect>

namespace torvane::history {

inline constexpr int kTwipsPerPixel = 15;

// Nearest whole pixel; halves round up (towards +infinity), negative values included.
constexpr int twipsToPixels(int twips) {
    const int n = 2 * twips + kTwipsPerPixel;
    const int d = 2 * kTwipsPerPixel;
    return n / d - ((n % d != 0 && n < 0) ? 1 : 0);
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
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

} // namespace torvane::history
