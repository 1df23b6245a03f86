#include <QDir>
#include <platform/instancelock.h>

namespace torvane::platform {

InstanceLock::InstanceLock(const QString& folder)
    : lock_(QDir(folder).filePath(QStringLiteral("torvane.lock"))) {
    // No age limit: a viewer may run for days, and its lock must not expire under it. Locks of
    // processes that no longer exist are still recognised and taken over.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::acquire() {
    if (lock_.isLocked())
        return true;
    if (lock_.tryLock(0))
        return true;
    if (lock_.error() != QLockFile::LockFailedError)
        return false;
    // A lock file without readable owner details (a copy killed while writing it, or a damaged
    // file) would otherwise block every start from now on, since without an age limit it never goes
    // stale. removeStaleLockFile() only deletes it when no live process holds it.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_.getLockInfo(&pid, &host, &app))
        return false;
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}

void InstanceLock::release() {
    lock_.unlock();
}

} // namespace torvane::platform
