#include <gtest/gtest.h>
#include <shell/sizeclass.h>
#include <utility>
#include <vector>

namespace torvane::shell {
namespace {

struct Case {
    int width;
    int height;
    int expected;
};

void expectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_EQ(sizeClassFor(c.width, c.height), c.expected);
    }
}

TEST(SizeClass, CommonResolutions) {
    expectAll({
        {1366, 768, 2},
        {1366, 900, 2},
        {1280, 1024, 4},
        {1280, 800, 3},
        {1280, 720, 1},
        {1024, 768, 2},
        {800, 600, 1},
        {1440, 900, 5},
        {1600, 900, 5},
        {1680, 1050, 5},
        {1920, 1080, 6},
        {1920, 1200, 6},
        {2560, 1080, 6},
        {2560, 1440, 7},
        {3840, 2160, 7},
        {919, 1200, 1},
    });
}

// Each width band: its lowest and highest width, and every height threshold with the height just
// below it. The classes are written out so a shifted threshold or band shows up.
struct Band {
    int lowWidth;
    int highWidth;
    std::vector<std::pair<int, int>> heightToClass;
};

TEST(SizeClass, BandEdges) {
    const Band bands[] = {
        {0, 919, {{4000, 1}, {1200, 1}, {768, 1}, {0, 1}}},
        {920, 1365, {{850, 4}, {849, 3}, {800, 3}, {799, 2}, {768, 2}, {767, 1}, {4000, 4}}},
        {1366, 1399, {{768, 2}, {767, 1}, {4000, 2}}},
        {1400, 1699, {{900, 5}, {899, 3}, {800, 3}, {799, 2}, {768, 2}, {767, 1}, {4000, 5}}},
        {1700, 1929, {{1000, 6}, {999, 3}, {800, 3}, {799, 2}, {768, 2}, {767, 1}, {4000, 6}}},
        {1930,
         100000,
         {{1200, 7},
          {1199, 6},
          {1080, 6},
          {1079, 5},
          {1050, 5},
          {1049, 4},
          {1024, 4},
          {1023, 3},
          {800, 3},
          {799, 2},
          {768, 2},
          {767, 1},
          {4000, 7}}},
    };
    std::vector<Case> cases;
    for (const Band& band : bands) {
        for (const auto& [height, expected] : band.heightToClass) {
            cases.push_back({band.lowWidth, height, expected});
            cases.push_back({band.highWidth, height, expected});
        }
    }
    expectAll(cases);
}

TEST(SizeClass, DegenerateScreensAreSmallest) {
    expectAll({{0, 0, 1}, {-1, 2000, 1}, {3840, -1, 1}, {3840, 0, 1}});
}

} // namespace
} // namespace torvane::shell
