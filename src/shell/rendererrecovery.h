#pragma once

#include <QString>
#include <cstdint>
#include <deque>

namespace torvane::shell {

// How the main window answers a page whose renderer process has died under it: the page is loaded
// again, but only a few times within a while, so that a page that brings its renderer down every
// time does not keep the viewer reloading for ever. It then stays blank and the toolbar still works;
// a completed document of another page (the learner went on) starts a new count.
class RendererRecovery final {
public:
    static constexpr int kMaxReloads = 3;
    static constexpr std::int64_t kWindowMs = 60000;

    // The renderer of the page at `address` ended at `nowMs` (a monotonic clock): true when the page
    // is to be loaded again.
    bool rendererEnded(const QString& address, std::int64_t nowMs);
    // A document completed at `address`.
    void documentCompleted(const QString& address);

private:
    QString address_;                  // the page being recovered
    std::deque<std::int64_t> reloads_; // when it was reloaded, oldest first, within the window
};

} // namespace torvane::shell
