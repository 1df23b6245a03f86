#pragma once

// Window layouts were designed in twips (1/1440 inch). At 96 dpi, 15 twips make one pixel.

#include <QRect>

namespace torvane::base {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixel = 15;

// Nearest whole pixel; halves round up (towards +infinity).
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

// A design rectangle in twips as a pixel rectangle; each of the four values is rounded on its own,
// so a control keeps its designed size wherever it sits.
QRect twipsRect(int left, int top, int width, int height);

} // namespace torvane::base
