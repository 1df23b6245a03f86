#include <QCoreApplication>
#include <QStringList>
#include <QTimer>
#include <base/timing.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using namespace torvane::base;

// Shorten the intervals for this process before anything reads them.
const bool kFastTimers = [] { return ::setenv("TORVANE_TIME_DIVISOR", "20", 1) == 0; }();

TEST(Intervals, StandardValuesAndTheirDivision) {
    struct Row {
        int divisor;
        Intervals expected;
    };
    const Row rows[] = {
        {1, {1000, 5000, 500, 1000, 1000, 40, 50}},
        {10, {100, 500, 50, 100, 100, 40, 5}},
        {0, {1000, 5000, 500, 1000, 1000, 40, 50}}, // nonsense divisors act as 1
        {100000, {1, 1, 1, 1, 1, 40, 1}},           // never below one millisecond
    };
    for (const Row& row : rows) {
        const Intervals got = intervalsDividedBy(row.divisor);
        EXPECT_EQ(got.pauseMs, row.expected.pauseMs) << row.divisor;
        EXPECT_EQ(got.preVideoMs, row.expected.preVideoMs) << row.divisor;
        EXPECT_EQ(got.videoWatchMs, row.expected.videoWatchMs) << row.divisor;
        EXPECT_EQ(got.pollMs, row.expected.pollMs) << row.divisor;
        EXPECT_EQ(got.launchMs, row.expected.launchMs) << row.divisor;
        EXPECT_EQ(got.launchLooks, row.expected.launchLooks) << row.divisor;
        EXPECT_EQ(got.popupMs, row.expected.popupMs) << row.divisor;
    }
}

TEST(Intervals, EnvironmentDivisorIsApplied) {
    ASSERT_TRUE(kFastTimers);
    EXPECT_EQ(intervals().pauseMs, 50);
    EXPECT_EQ(intervals().preVideoMs, 250);
}

TEST(TickNow, NeverNegativeNeverFalls) {
    std::int64_t last = TickNow();
    EXPECT_GE(last, 0);
    for (int i = 0; i < 100000; ++i) {
        const std::int64_t now = TickNow();
        ASSERT_GE(now, last);
        last = now;
    }
}

// The pause returns at once; what comes after it runs from the event loop once the pause is over, and
// events that come meanwhile run at once, before it.
TEST(WaitASecond, TheRestRunsAfterThePauseAndEventsMeanwhileRunFirst) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QObject context;
    QStringList order;
    const std::int64_t start = TickNow();
    std::int64_t restAt = -1;
    WaitASecond(context, [&] {
        restAt = TickNow();
        order << "rest";
        app.quit();
    });
    order << "returned";
    QTimer::singleShot(0, [&] { order << "event"; });
    app.exec();
    EXPECT_EQ(order, (QStringList{"returned", "event", "rest"}));
    EXPECT_GE(restAt - start, intervals().pauseMs);
}

TEST(WaitASecond, NothingRunsForAContextThatIsGone) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    bool ran = false;
    {
        QObject context;
        WaitASecond(context, [&] { ran = true; });
    }
    QTimer::singleShot(2 * intervals().pauseMs, &app, &QCoreApplication::quit);
    app.exec();
    EXPECT_FALSE(ran);
}

} // namespace
