#include <base/twips.h>
#include <gtest/gtest.h>

namespace torvane::base {
namespace {

TEST(Twips, RoundToNearestPixel) {
    struct Case {
        int twips;
        int pixels;
    };
    const Case cases[] = {
        {0, 0},    {7, 0},    {8, 1},  {15, 1},  {22, 1},   {23, 2},   {45, 3},     {280, 19},
        {360, 24}, {975, 65}, {-7, 0}, {-8, -1}, {-22, -1}, {-23, -2}, {-280, -19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.twips);
        EXPECT_EQ(twipsToPixels(c.twips), c.pixels);
    }
}

TEST(Twips, PixelsConvertBackExactly) {
    EXPECT_EQ(pixelsToTwips(3), 45);
    EXPECT_EQ(pixelsToTwips(-2), -30);
    for (int px = -50; px <= 50; ++px)
        EXPECT_EQ(twipsToPixels(pixelsToTwips(px)), px) << px;
}

TEST(Twips, RectangleRoundsEachValueOnItsOwn) {
    // A button at 45,360 twips sized 975x280: rounding the right edge instead of the width would
    // give 66 px wide (1020 / 15 = 68 right edge, minus 3).
    EXPECT_EQ(twipsRect(45, 360, 975, 280), QRect(3, 24, 65, 19));
    EXPECT_EQ(twipsRect(8, 7, 22, 23), QRect(1, 0, 1, 2));
}

} // namespace
} // namespace torvane::base
