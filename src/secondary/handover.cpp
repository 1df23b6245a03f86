#include <QWidget>
#include <base/timing.h>
#include <secondary/handover.h>

namespace torvane::secondary {

void handOver(QWidget& from, QWidget& target, std::function<void()> then) {
    target.setWindowState((target.windowState() & ~kSizeStates) | (from.windowState() & kSizeStates));
    base::WaitASecond(target, [&from, &target, then = std::move(then)] {
        if ((target.windowState() & kSizeStates) == 0) {
            target.move(from.pos());
        }
        then();
    });
}

} // namespace torvane::secondary
