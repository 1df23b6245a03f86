#pragma once

#include <array>

namespace torvane::shell {

// The text sizes of the course pages, per cent, in the steps browsers use.
inline constexpr std::array<int, 13> kTextSizeSteps{50,  67,  75,  80,  90,  100, 110,
                                                    125, 150, 175, 200, 250, 300};
inline constexpr int kNormalTextSize = 100;

constexpr bool isTextSizeStep(int size) {
    for (const int step : kTextSizeSteps) {
        if (step == size) {
            return true;
        }
    }
    return false;
}

// The next step up (`bigger`) or down from `size`, staying at the ends.
constexpr int nextTextSize(int size, bool bigger) {
    if (bigger) {
        for (const int step : kTextSizeSteps) {
            if (step > size) {
                return step;
            }
        }
        return kTextSizeSteps.back();
    }
    for (auto it = kTextSizeSteps.rbegin(); it != kTextSizeSteps.rend(); ++it) {
        if (*it < size) {
            return *it;
        }
    }
    return kTextSizeSteps.front();
}

} // namespace torvane::shell
