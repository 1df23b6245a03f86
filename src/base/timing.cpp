#include <QTimer>
#include <algorithm>
#include <base/timing.h>
#include <chrono>
#include <cstdlib>

namespace torvane::base {

namespace {

constexpr Intervals kStandard{1000, 5000, 500, 1000, 1000, 40, 50};

int divisorFromEnvironment() {
    const char* text = std::getenv("TORVANE_TIME_DIVISOR");
    if (text == nullptr) {
        return 1;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 1000) {
        return 1;
    }
    return static_cast<int>(value);
}

} // namespace

Intervals intervalsDividedBy(int divisor) {
    divisor = std::max(divisor, 1);
    auto divide = [divisor](int ms) { return std::max(ms / divisor, 1); };
    return Intervals{divide(kStandard.pauseMs), divide(kStandard.preVideoMs), divide(kStandard.videoWatchMs),
                     divide(kStandard.pollMs),  divide(kStandard.launchMs),   kStandard.launchLooks,
                     divide(kStandard.popupMs)};
}

const Intervals& intervals() {
    static const Intervals inForce = intervalsDividedBy(divisorFromEnvironment());
    return inForce;
}

std::int64_t TickNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void WaitASecond(QObject& context, std::function<void()> then) {
    QTimer::singleShot(intervals().pauseMs, Qt::PreciseTimer, &context, std::move(then));
}

} // namespace torvane::base
