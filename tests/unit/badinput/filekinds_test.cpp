// What the list readers and the history writer do when something other than a readable file lies where
// "files.trv", "words.trv" or "history.trv" should be. Every case must come back at once: the calls run
// on the window thread, and a reader stuck on a FIFO or on an endless device hangs the whole viewer.

#include "badinput.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <courselists/ansitext.h>
#include <courselists/recordreader.h>
#include <gtest/gtest.h>
#include <history/histlist.h>
#include <history/historyfile.h>
#include <platform/pathprobe.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvane::badinput {
namespace {

using namespace std::chrono_literals;
using platform::PathState;

constexpr auto kPrompt = 3s;

class BadFileKinds : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

TEST_F(BadFileKinds, ReadersAndTheWriterComeBackAtOnce) {
    enum Kind {
        Missing,
        Folder,
        Fifo,
        DanglingLink,
        LinkToDevice,
        LinkLoop,
        Empty,
        LinkToFile,
        HardLink,
        OtherOwner
    };
    struct Row {
        const char* what;
        Kind kind;
        PathState probe; // what the existence test sees
        bool read;       // the whole file was read
        bool appended;   // a history record was written
    };
    const Row rows[] = {
        {"missing", Missing, PathState::Absent, false, true},
        {"a folder", Folder, PathState::Directory, false, false},
        {"a FIFO", Fifo, PathState::File, false, false},
        {"a dangling symbolic link", DanglingLink, PathState::Absent, false, false},
        {"a link to an endless device", LinkToDevice, PathState::File, false, false},
        {"a loop of links", LinkLoop, PathState::Error, false, false},
        {"an empty file", Empty, PathState::File, true, true},
        // The history goes into the learner's own file only: not where a link leads, not into a file
        // with a second name, not into another user's file.
        {"a link to a file", LinkToFile, PathState::File, true, false},
        {"a file with a second name", HardLink, PathState::File, true, false},
        {"a file of another user", OtherOwner, PathState::File, true, false},
    };
    for (const Row& row : rows) {
        QTemporaryDir billDir;
        const QString target = billDir.filePath(QString::fromLatin1(history::kHistoryFileName));
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        switch (row.kind) {
        case Missing:
            break;
        case Folder:
            ASSERT_TRUE(QDir().mkdir(target));
            break;
        case Fifo:
            ASSERT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            break;
        case DanglingLink:
            ASSERT_TRUE(QFile::link(elsewhere, target));
            break;
        case LinkToDevice:
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), target));
            break;
        case LinkLoop:
            ASSERT_TRUE(QFile::link(target, target));
            break;
        case Empty:
            ASSERT_TRUE(writeBytes(target, {}));
            break;
        case LinkToFile:
            ASSERT_TRUE(writeBytes(elsewhere, "kept"));
            ASSERT_TRUE(QFile::link(elsewhere, target));
            break;
        case HardLink:
            ASSERT_TRUE(writeBytes(elsewhere, "kept"));
            ASSERT_EQ(::link(QFile::encodeName(elsewhere).constData(), QFile::encodeName(target).constData()),
                      0);
            break;
        case OtherOwner:
            ASSERT_TRUE(writeBytes(target, {}));
            if (::chown(QFile::encodeName(target).constData(), 65534, 65534) != 0) {
                continue; // only the administrator can give a file away
            }
            break;
        }
        EXPECT_EQ(platform::probePath(target).state, row.probe) << row.what;

        const auto read = withinLimit<bool>([&] { return courselists::readWholeFile(target).has_value(); },
                                            kPrompt, target);
        ASSERT_TRUE(read.has_value()) << row.what << ": reading did not come back";
        EXPECT_EQ(*read, row.read) << row.what;

        const auto appended = withinLimit<bool>(
            [&] {
                return history::AppendHistory(billDir.path() + QLatin1Char('/'), QStringLiteral("a.trv"));
            },
            kPrompt, target);
        ASSERT_TRUE(appended.has_value()) << row.what << ": appending did not come back";
        EXPECT_EQ(*appended, row.appended) << row.what;
        // A link is never a way to write somewhere else.
        if (row.kind == LinkToFile || row.kind == HardLink) {
            EXPECT_EQ(readBytes(elsewhere), QByteArray("kept")) << row.what;
            ASSERT_TRUE(QFile::remove(elsewhere));
        } else {
            EXPECT_FALSE(QFileInfo::exists(elsewhere)) << row.what;
        }
        if (row.appended) {
            EXPECT_EQ(readBytes(target), QByteArray("\"a.trv\"\r\n")) << row.what;
        }
    }
}

TEST_F(BadFileKinds, TenMegabyteListsAreReadInOneGo) {
    // A history of ordinary records far past the 20000 the window lists, and a page list that is one
    // single record with a ten-megabyte title.
    QByteArray history;
    while (history.size() < 10 * 1024 * 1024) {
        history += "\"tr010002.trv\"\r\n";
    }
    ASSERT_TRUE(writeBytes(path("history.trv"), history));
    ASSERT_TRUE(writeBytes(path("files.trv"), "1\ttr010002.trv\t" + QByteArray(10 * 1024 * 1024, 'x')));

    QElapsedTimer clock;
    clock.start();
    const auto historyBytes = courselists::readWholeFile(path("history.trv"));
    ASSERT_TRUE(historyBytes.has_value());
    const history::HistoryEntries entries = history::splitHistory(courselists::fromAnsi(*historyBytes));
    EXPECT_TRUE(entries.overflow);
    EXPECT_EQ(entries.records.size(), std::size_t(courselists::kTableCapacity));

    const auto pageBytes = courselists::readWholeFile(path("files.trv"));
    ASSERT_TRUE(pageBytes.has_value());
    courselists::PageTable pages;
    const courselists::ListReadResult read =
        courselists::readPageList(courselists::fromAnsi(*pageBytes), pages);
    EXPECT_EQ(read.records, 1);
    EXPECT_EQ(pages.at(1).title.size(), 10 * 1024 * 1024);
    EXPECT_EQ(history::matchHistory(entries.records, pages).size(), history::kMaxHistRows);
    EXPECT_LT(clock.elapsed(), 10000);
}

// Permission bits do not stop root, so these run as an ordinary user in a child process.
TEST_F(BadFileKinds, UnreadableFilesAndFoldersAsAnOrdinaryUser) {
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(writeBytes(path("files.trv"), "1\ta.trv\tA\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(path("files.trv")).constData(), 0), 0);
    ASSERT_TRUE(QDir().mkdir(path("closed")));
    ASSERT_TRUE(writeBytes(path("closed/words.trv"), "a\t1\t\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(path("closed")).constData(), 0), 0);
    ASSERT_TRUE(QDir().mkdir(path("readonly")));
    ASSERT_EQ(::chmod(QFile::encodeName(path("readonly")).constData(), 0555), 0);

    const QString unreadable = path("files.trv");
    const QString behindClosed = path("closed/words.trv");
    const QString readonlyBill = path("readonly") + QLatin1Char('/');
    const int failures = asOrdinaryUser([&] {
        int bad = 0;
        bad |= platform::probePath(unreadable).state == PathState::File ? 0 : 1;
        bad |= courselists::readWholeFile(unreadable).has_value() ? 2 : 0;
        // The folder cannot be looked into: the existence test reports a failed look, not an absence.
        bad |= platform::probePath(behindClosed).state == PathState::Error ? 0 : 4;
        bad |= courselists::readWholeFile(behindClosed).has_value() ? 8 : 0;
        bad |= history::AppendHistory(readonlyBill, QStringLiteral("a.trv")) ? 16 : 0;
        bad |= platform::canCreateFilesIn(readonlyBill) ? 32 : 0;
        return bad;
    });
    EXPECT_EQ(failures, 0) << "126: the child could not give up root";
    EXPECT_FALSE(QFileInfo::exists(path("readonly/history.trv")));
    EXPECT_TRUE(
        QDir(path("readonly")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(DataFolder, CanCreateFilesOnlyWhereAFolderTakesThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("file")), "x"));
    EXPECT_TRUE(platform::canCreateFilesIn(dir.path()));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
                QStringList{"file"}); // the probe leaves nothing behind
    EXPECT_FALSE(platform::canCreateFilesIn(dir.filePath(QStringLiteral("file/Parlenta/Torvane/"))));
    EXPECT_FALSE(platform::canCreateFilesIn(dir.filePath(QStringLiteral("missing/"))));
    EXPECT_FALSE(platform::canCreateFilesIn(QString()));
}

} // namespace
} // namespace torvane::badinput
