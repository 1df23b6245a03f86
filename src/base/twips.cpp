#include <base/twips.h>

namespace torvane::base {

namespace {

// Floor division, so rounding treats negative coordinates the same way as positive ones.
int floorDiv(int numerator, int denominator) {
    const int quotient = numerator / denominator;
    return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1 : quotient;
}

} // namespace

int twipsToPixels(int twips) {
    // floor(twips / 15 + 1/2) in integers.
    return floorDiv(2 * twips + kTwipsPerPixel, 2 * kTwipsPerPixel);
}

int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace torvane::base
