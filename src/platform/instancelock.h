#pragma once

#include <QLockFile>
#include <QString>

namespace torvane::platform {

// Tells whether another copy of the viewer is already running for this user: the first copy holds
// "torvane.lock" in the runtime folder until it ends. A lock left by a copy that died is taken
// over; one held by a live copy never is, however old.
class InstanceLock final {
public:
    explicit InstanceLock(const QString& folder);

    // True when we are the first copy (and now hold the lock until release() or destruction).
    bool acquire();
    void release();
    bool isHeld() const { return lock_.isLocked(); }

private:
    QLockFile lock_;
};

} // namespace torvane::platform
