#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <platform/pathprobe.h>
#include <unistd.h>

namespace {

using torvane::platform::PathState;
using torvane::platform::probePath;

TEST(PathProbe, TellsFilesFoldersAbsenceAndFailedLooks) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("history.trv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_EQ(::symlink(dir.filePath("loop").toUtf8().constData(), dir.filePath("loop").toUtf8().constData()),
              0);

    struct Row {
        QString path;
        PathState expected;
    };
    const Row rows[] = {
        {"", PathState::Absent},
        {dir.filePath("history.trv"), PathState::File},
        {dir.path(), PathState::Directory},
        {dir.path() + "/", PathState::Directory},
        {dir.filePath("missing.trv"), PathState::Absent},
        {dir.filePath("history.trv/inside"), PathState::Absent}, // a file used as a folder
        {dir.filePath("loop"), PathState::Error},                // a link to itself cannot be looked at
        {dir.filePath(QString(300, 'x')), PathState::Error},     // a name longer than the system takes
    };
    for (const Row& row : rows) {
        const auto probe = probePath(row.path);
        EXPECT_EQ(probe.state, row.expected) << row.path.toStdString();
        EXPECT_EQ(probe.error.isEmpty(), row.expected != PathState::Error) << row.path.toStdString();
    }
}

} // namespace
