#include <QDir>
#include <QFileInfo>
#include <platform/instancelock.h>

namespace torvane::platform {

InstanceLock::InstanceLock(const QString& folder)
    : lock_(QDir(folder).filePath(QStringLiteral("torvane.lock"))),
      path_(QDir(folder).filePath(QStringLiteral("torvane.lock"))) {
    // No age limit: a viewer may run for days, and its lock must not expire under it. Locks of
    // processes that no longer exist are still recognised and taken over.
    lock_.setStaleLockTime(0);
}

LockOutcome InstanceLock::tryAcquire() {
    if (lock_.isLocked())
        return LockOutcome::Acquired;
    if (lock_.tryLock(0))
        return LockOutcome::Acquired;
    if (lock_.error() != QLockFile::LockFailedError)
        return LockOutcome::Unusable; // no permission, a read-only medium, no space...
    // A lock file without readable owner details (a copy killed while writing it, or a damaged
    // file) would otherwise block every start from now on, since without an age limit it never goes
    // stale. removeStaleLockFile() only deletes it when no live process holds it.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_.getLockInfo(&pid, &host, &app))
        return LockOutcome::HeldByAnother;
    if (lock_.removeStaleLockFile() && lock_.tryLock(0))
        return LockOutcome::Acquired;
    // A regular file that could not be taken over is held by a live copy (one that is still writing
    // its details, say). Anything else in its place (a folder) can never be a lock.
    return QFileInfo(path_).isFile() && !QFileInfo(path_).isSymLink() ? LockOutcome::HeldByAnother
                                                                      : LockOutcome::Unusable;
}

void InstanceLock::release() {
    lock_.unlock();
}

} // namespace torvane::platform
