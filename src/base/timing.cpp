#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <base/timing.h>
#include <chrono>
#include <cstdlib>
#include <thread>

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

void WaitASecond() {
    const std::int64_t deadline = TickNow() + intervals().pauseMs;
    for (std::int64_t now = TickNow(); now < deadline; now = TickNow()) {
        const auto remaining = static_cast<int>(deadline - now);
        if (QCoreApplication::instance() == nullptr) {
            std::this_thread::sleep_for(std::chrono::milliseconds(remaining));
            continue;
        }
        // A local loop quit by a local timer: a handler that runs inside the wait and waits itself
        // gets a loop of its own, and each wait ends on its own deadline.
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(remaining);
        loop.exec();
    }
}

void WaitASecond(QObject& context, std::function<void()> then) {
    QTimer::singleShot(intervals().pauseMs, Qt::PreciseTimer, &context, std::move(then));
}

} // namespace torvane::base
