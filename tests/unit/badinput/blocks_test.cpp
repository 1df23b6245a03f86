// Block files that another program has cut short, grown or replaced while the viewer holds them. A
// mapped page past the end of a shortened file raises SIGBUS when touched, so each case here would kill
// the viewer (and this test) if an access went through such a page.

#include "badinput.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <media/links.h>
#include <platform/sharedblock.h>
#include <sys/stat.h>

namespace torvane::badinput {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::OpenResult;
using platform::SharedBlock;

class BadBlocks : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    bool resize(const char* name, qint64 size) const { return QFile::resize(path(name), size); }
};

TEST_F(BadBlocks, ShortenedWhileMappedReadsZerosAndIsRestoredByTheNextWrite) {
    for (const qint64 left : {0, 1, 100, 254}) {
        SharedBlock block = SharedBlock::open(dir.path().toStdString(), "TRVwav", 255).block;
        ASSERT_TRUE(block.isMapped());
        ASSERT_EQ(block.writeAndFlush(0, Bytes(255, 0x5a)), 255u);
        ASSERT_TRUE(resize("TRVwav", left)) << left;

        Bytes expected(255, 0);
        std::fill_n(expected.begin(), left, 0x5a);
        EXPECT_EQ(block.read(0, 255), expected) << left;
        EXPECT_EQ(block.read(254, 1), Bytes{0}) << left;

        EXPECT_EQ(block.writeAndFlush(254, Bytes{0x11}), 1u) << left;
        EXPECT_EQ(QFileInfo(path("TRVwav")).size(), 255) << left;
        expected[254] = 0x11;
        EXPECT_EQ(block.read(0, 255), expected) << left;
        // Another process opening the block now finds it whole.
        SharedBlock peer = SharedBlock::open(dir.path().toStdString(), "TRVwav", 255).block;
        EXPECT_EQ(peer.read(0, 255), expected) << left;
        QFile::remove(path("TRVwav"));
    }
}

TEST_F(BadBlocks, TheViewersBlocksSurviveEveryOneCutToNothing) {
    QStringList messages;
    media::Links links = media::openLinks(dir.path(), [&](const QString& m) { messages << m; });
    ASSERT_TRUE(messages.isEmpty());
    for (const media::BlockSpec& spec : media::kLinkBlocks) {
        ASSERT_TRUE(resize(std::string(spec.name).c_str(), 0));
    }
    // What the viewer does on its timer and at its end: poll the narration and the hand-off, clear the
    // end flag, empty the name.
    EXPECT_EQ(links.trvWav().read(0, 255), Bytes(255, 0));
    EXPECT_EQ(links.kirvoltName().read(0, 1), Bytes{0});
    links.writeEndFlag(1);
    EXPECT_EQ(readBytes(path("KirvoltEnd")), QByteArray("\x01"));
    EXPECT_EQ(links.kirvoltName().writeAndFlush(0, Bytes(255, 0)), 255u);
    EXPECT_EQ(links.kirvoltPrev().writeAndFlush(0, Bytes{3}), 1u);
    EXPECT_EQ(QFileInfo(path("KirvoltName")).size(), 255);
    EXPECT_EQ(QFileInfo(path("TRVwav")).size(), 0); // reading changes nothing
    links.closeLinks();
}

TEST_F(BadBlocks, ReplacedBeforeStartUp) {
    // What lies at the block's place when the viewer starts, and what the learner is told.
    enum Kind { Shorter, Longer, Empty, Folder, Link, Fifo };
    const struct {
        const char* what;
        Kind kind;
        QString message; // empty: the block works
    } rows[] = {
        {"shorter", Shorter, {}},
        {"longer", Longer, {}},
        {"empty", Empty, {}},
        {"a folder", Folder, "Can't create file map"},
        {"a symbolic link", Link, "Can't create file map"},
        {"a FIFO", Fifo, "Can't create map view"},
    };
    for (const auto& row : rows) {
        QTemporaryDir folder;
        const QString block = folder.filePath(QStringLiteral("KirvoltName"));
        const QString victim = dir.filePath(QStringLiteral("victim"));
        ASSERT_TRUE(writeBytes(victim, "keep"));
        switch (row.kind) {
        case Shorter:
            ASSERT_TRUE(writeBytes(block, QByteArray(10, 'x')));
            break;
        case Longer:
            ASSERT_TRUE(writeBytes(block, QByteArray(4096, 'x')));
            break;
        case Empty:
            ASSERT_TRUE(writeBytes(block, {}));
            break;
        case Folder:
            ASSERT_TRUE(QDir().mkdir(block));
            break;
        case Link:
            ASSERT_TRUE(QFile::link(victim, block));
            break;
        case Fifo:
            ASSERT_EQ(::mkfifo(QFile::encodeName(block).constData(), 0600), 0);
            break;
        }
        QStringList messages;
        const auto links = withinLimit<bool>(
            [&] {
                media::Links l = media::openLinks(folder.path(), [&](const QString& m) { messages << m; });
                const bool usable = l.kirvoltName().writeAndFlush(254, Bytes{7}) == 1 &&
                                    l.kirvoltName().read(254, 1) == Bytes{7};
                l.closeLinks();
                return usable;
            },
            std::chrono::seconds(3), block);
        ASSERT_TRUE(links.has_value()) << row.what << ": opening did not come back";
        EXPECT_EQ(*links, row.message.isEmpty()) << row.what;
        EXPECT_EQ(messages, row.message.isEmpty() ? QStringList() : QStringList{row.message}) << row.what;
        EXPECT_EQ(readBytes(victim), QByteArray("keep")) << row.what;
    }
}

TEST_F(BadBlocks, OwnedByAnotherUser) {
    // A block file the user cannot open, in the user's own folder (only root could have put it there).
    if (::geteuid() != 0) {
        GTEST_SKIP() << "not root: no file of another user can be made here";
    }
    const QString folder = path("run");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(writeBytes(folder + QStringLiteral("/KirvoltEnd"), "\x01"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder + QStringLiteral("/KirvoltEnd")).constData(), 0600), 0);
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), kNobody, kNobody), 0);
    const int outcome = asOrdinaryUser([&] {
        QStringList messages;
        media::Links links = media::openLinks(folder, [&](const QString& m) { messages << m; });
        links.writeEndFlag(0);
        if (messages != QStringList{QStringLiteral("Can't create file map")})
            return 1;
        return links.kirvoltEnd().isMapped() || !links.kirvoltName().isMapped() ? 2 : 0;
    });
    EXPECT_EQ(outcome, 0) << "126: the child could not give up root";
    EXPECT_EQ(readBytes(folder + QStringLiteral("/KirvoltEnd")), QByteArray("\x01"));
}

} // namespace
} // namespace torvane::badinput
