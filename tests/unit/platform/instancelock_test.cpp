#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <platform/instancelock.h>

namespace torvane::platform {
namespace {

// What a second viewer copy, as a real separate process, concludes about the lock in `folder`.
std::string otherCopy(const QString& folder, const QStringList& extra = {}) {
    QProcess peer;
    peer.start(QStringLiteral(BLOCKPEER_PATH), QStringList{QStringLiteral("lock"), folder} + extra);
    EXPECT_TRUE(peer.waitForFinished(10000));
    return peer.readAllStandardOutput().trimmed().toStdString();
}

class InstanceLockTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(InstanceLockTest, SecondCopySeesTheLockUntilTheFirstReleases) {
    InstanceLock first(dir.path());
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("torvane.lock"))));
    EXPECT_EQ(otherCopy(dir.path()), "held");
    EXPECT_TRUE(first.acquire()) << "asking again must not lose our own lock";
    EXPECT_EQ(InstanceLock(dir.path()).tryAcquire(), LockOutcome::HeldByAnother);

    first.release();
    EXPECT_FALSE(first.isHeld());
    EXPECT_EQ(otherCopy(dir.path()), "acquired");
    InstanceLock next(dir.path());
    EXPECT_TRUE(next.acquire());
}

TEST_F(InstanceLockTest, LockGoesAwayWithItsOwner) {
    {
        InstanceLock scoped(dir.path());
        ASSERT_TRUE(scoped.acquire());
    }
    EXPECT_EQ(otherCopy(dir.path()), "acquired");
}

TEST_F(InstanceLockTest, LockOfACopyThatDiedIsTakenOver) {
    ASSERT_EQ(otherCopy(dir.path(), {QStringLiteral("die")}), "acquired");
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("torvane.lock"))));
    InstanceLock survivor(dir.path());
    EXPECT_TRUE(survivor.acquire());
    EXPECT_EQ(otherCopy(dir.path()), "held");
}

TEST_F(InstanceLockTest, UnreadableLockFileNobodyHoldsDoesNotBlockForever) {
    for (const QByteArray& content : {QByteArray(), QByteArray("garbage\n")}) {
        QFile f(dir.filePath(QStringLiteral("torvane.lock")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        InstanceLock lock(dir.path());
        EXPECT_TRUE(lock.acquire()) << content.toStdString();
        EXPECT_EQ(otherCopy(dir.path()), "held");
    }
}

TEST_F(InstanceLockTest, SomethingThatCanNeverBeALockTellsNothing) {
    // A folder where the lock file goes: no copy can ever hold it, so no copy can be told apart.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("torvane.lock")));
    InstanceLock lock(dir.path());
    EXPECT_EQ(lock.tryAcquire(), LockOutcome::Unusable);
    EXPECT_FALSE(lock.isHeld());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("torvane.lock"))).isDir());
}

} // namespace
} // namespace torvane::platform
