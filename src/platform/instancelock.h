#pragma once

#include <QLockFile>
#include <QString>

namespace torvane::platform {

// What a look at the instance lock tells this copy.
enum class LockOutcome {
    Acquired,      // no other copy runs: this one now holds the lock
    HeldByAnother, // another copy of the viewer runs and holds it
    Unusable,      // the lock cannot be taken at all (no such file can be made there), so nothing
                   // can be told about other copies
};

// Tells whether another copy of the viewer is already running for this user: the first copy holds
// "torvane.lock" in the runtime folder until it ends. A lock left by a copy that died is taken
// over; one held by a live copy never is, however old.
class InstanceLock final {
public:
    explicit InstanceLock(const QString& folder);

    LockOutcome tryAcquire();
    // True when we are the first copy (and now hold the lock until release() or destruction).
    bool acquire() { return tryAcquire() == LockOutcome::Acquired; }
    void release();
    bool isHeld() const { return lock_.isLocked(); }
    const QString& path() const { return path_; }

private:
    QLockFile lock_;
    QString path_;
};

} // namespace torvane::platform
