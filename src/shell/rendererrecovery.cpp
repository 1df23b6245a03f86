#include <shell/rendererrecovery.h>

namespace torvane::shell {

bool RendererRecovery::rendererEnded(const QString& address, std::int64_t nowMs) {
    if (address != address_) {
        address_ = address;
        reloads_.clear();
    }
    while (!reloads_.empty() && nowMs - reloads_.front() >= kWindowMs) {
        reloads_.pop_front();
    }
    if (static_cast<int>(reloads_.size()) >= kMaxReloads) {
        return false;
    }
    reloads_.push_back(nowMs);
    return true;
}

void RendererRecovery::documentCompleted(const QString& address) {
    // The reload of the page being recovered completes under its own address and counts on; any
    // other page means the learner has moved on.
    if (address != address_) {
        address_.clear();
        reloads_.clear();
    }
}

} // namespace torvane::shell
