#include <array>
#include <shell/sizeclass.h>
#include <span>

namespace torvane::shell {

namespace {

struct HeightStep {
    int minHeight;
    int sizeClass;
};

// One band of widths; its steps are tried from the top, and a screen below every step is class 1.
struct WidthBand {
    int minWidth;
    std::span<const HeightStep> steps;
};

constexpr std::array<HeightStep, 6> kWidest{{{1200, 7}, {1080, 6}, {1050, 5}, {1024, 4}, {800, 3}, {768, 2}}};
constexpr std::array<HeightStep, 3> kWide{{{1000, 6}, {800, 3}, {768, 2}}};
constexpr std::array<HeightStep, 3> kMediumWide{{{900, 5}, {800, 3}, {768, 2}}};
constexpr std::array<HeightStep, 1> kLaptop{{{768, 2}}};
constexpr std::array<HeightStep, 3> kStandard{{{850, 4}, {800, 3}, {768, 2}}};

// Widest band first; widths below the last band are class 1 whatever their height.
constexpr std::array<WidthBand, 5> kBands{{
    {1930, kWidest},
    {1700, kWide},
    {1400, kMediumWide},
    {1366, kLaptop},
    {920, kStandard},
}};

int classWithinBand(const WidthBand& band, int height) {
    for (const HeightStep& step : band.steps) {
        if (height >= step.minHeight)
            return step.sizeClass;
    }
    return 1;
}

} // namespace

int sizeClassFor(int width, int height) {
    for (const WidthBand& band : kBands) {
        if (width >= band.minWidth)
            return classWithinBand(band, height);
    }
    return 1;
}

} // namespace torvane::shell
