#include <QWidget>
#include <history/handover.h>
#include <platform/timing.h>

namespace torvane::history {

namespace {
constexpr Qt::WindowStates kSizeStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
} // namespace

void handOver(QWidget& from, QWidget& target) {
    target.setWindowState((target.windowState() & ~kSizeStates) | (from.windowState() & kSizeStates));
    platform::WaitASecond();
    if ((target.windowState() & kSizeStates) == 0) {
        target.move(from.pos());
    }
}

} // namespace torvane::history
