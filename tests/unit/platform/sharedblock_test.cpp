#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <platform/sharedblock.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvane::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs the peer program as a separate process and returns what it printed, trimmed.
std::string runPeer(const QStringList& args) {
    QProcess peer;
    peer.start(QStringLiteral(BLOCKPEER_PATH), args);
    EXPECT_TRUE(peer.waitForFinished(10000)) << "blockpeer did not finish";
    EXPECT_EQ(peer.exitCode(), 0) << peer.readAllStandardError().toStdString();
    return peer.readAllStandardOutput().trimmed().toStdString();
}

class SharedBlockTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    std::string folder() const { return QFile::encodeName(dir.path()).toStdString(); }
    QString pathOf(const char* name) const { return dir.filePath(QLatin1String(name)); }
    qint64 sizeOnDisk(const char* name) const { return QFileInfo(pathOf(name)).size(); }

    OpenOutcome open(const char* name, std::size_t size) const {
        return SharedBlock::open(folder(), name, size);
    }
    QStringList peerBlock(const char* name, std::size_t size) const {
        return {QStringLiteral("block"), dir.path(), QLatin1String(name), QString::number(size)};
    }

    void writeFile(const char* name, const QByteArray& content) const {
        QFile f(pathOf(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(content), content.size());
    }
};

TEST_F(SharedBlockTest, FirstOpenCreatesAtExactSizeLaterOpensFindIt) {
    const struct {
        const char* name;
        std::size_t size;
    } blocks[] = {{"TRVwav", 255}, {"KirvoltPrev", 1}, {"KirvoltEnd", 1}, {"KirvoltName", 255}};
    for (const auto& b : blocks) {
        OpenOutcome first = open(b.name, b.size);
        EXPECT_EQ(first.result, OpenResult::Created) << b.name;
        EXPECT_TRUE(first.block.isMapped()) << b.name;
        EXPECT_EQ(first.block.size(), b.size) << b.name;
        EXPECT_EQ(sizeOnDisk(b.name), static_cast<qint64>(b.size)) << b.name;
        EXPECT_EQ(QFileInfo(pathOf(b.name)).permissions() &
                      ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner | QFile::WriteOwner),
                  QFile::Permissions())
            << b.name << " must be private to its owner";

        OpenOutcome second = open(b.name, b.size);
        EXPECT_EQ(second.result, OpenResult::Opened) << b.name;
        EXPECT_EQ(second.block.read(0, b.size), Bytes(b.size, 0)) << b.name << " starts zeroed";
    }
}

TEST_F(SharedBlockTest, TwoProcessesSeeTheSameBytes) {
    OpenOutcome mine = open("TRVwav", 255);
    ASSERT_EQ(mine.result, OpenResult::Created);
    ASSERT_EQ(mine.block.writeAndFlush(10, Bytes{0xa1, 0xb2, 0xc3}), 3u);

    EXPECT_EQ(runPeer(peerBlock("TRVwav", 255) << "read"
                                               << "9"
                                               << "5"),
              "opened 00a1b2c300");

    // The peer's write must show up through the mapping this process already holds.
    EXPECT_EQ(runPeer(peerBlock("TRVwav", 255) << "write"
                                               << "250"
                                               << "deadbeef"),
              "opened 4");
    EXPECT_EQ(mine.block.read(250, 5), (Bytes{0xde, 0xad, 0xbe, 0xef, 0x00}));
    EXPECT_EQ(mine.block.read(10, 3), (Bytes{0xa1, 0xb2, 0xc3}));
}

TEST_F(SharedBlockTest, BlockMadeByAnotherProcessIsOpenedNotRecreated) {
    EXPECT_EQ(runPeer(peerBlock("KirvoltName", 255) << "write"
                                                    << "0"
                                                    << "4b56"),
              "created 2");
    OpenOutcome mine = open("KirvoltName", 255);
    EXPECT_EQ(mine.result, OpenResult::Opened);
    EXPECT_EQ(mine.block.read(0, 3), (Bytes{0x4b, 0x56, 0x00}));
}

TEST_F(SharedBlockTest, WritesAndReadsStopAtTheBlockEnd) {
    const struct {
        std::size_t size, offset, length, expected;
    } cases[] = {
        {1, 0, 4, 1}, {1, 1, 1, 0}, {1, 7, 1, 0}, {255, 250, 10, 5}, {255, 0, 255, 255}, {255, 3, 0, 0},
    };
    int index = 0;
    for (const auto& c : cases) {
        const std::string name = "block" + std::to_string(index++);
        OpenOutcome opened = SharedBlock::open(folder(), name, c.size);
        ASSERT_TRUE(opened.block.isMapped());
        const Bytes data(c.length, 0x5a);
        EXPECT_EQ(opened.block.writeAndFlush(c.offset, data), c.expected) << name;
        EXPECT_EQ(opened.block.read(c.offset, c.length), Bytes(c.expected, 0x5a)) << name;
        EXPECT_EQ(QFileInfo(dir.filePath(QString::fromStdString(name))).size(), static_cast<qint64>(c.size))
            << name << " must keep its size";
    }
}

TEST_F(SharedBlockTest, FlushCoversUnalignedRangesAndRefusesWhenUnmapped) {
    OpenOutcome opened = open("TRVwav", 255);
    ASSERT_TRUE(opened.block.isMapped());
    for (const auto& [offset, length] : {std::pair{0, 1}, {1, 1}, {254, 1}, {100, 155}, {200, 500}, {255, 1}})
        EXPECT_TRUE(opened.block.flush(offset, length)) << offset << "+" << length;
    SharedBlock unmapped;
    EXPECT_FALSE(unmapped.flush(0, 1));
}

TEST_F(SharedBlockTest, ShortenedFileIsExtendedBeforeUse) {
    for (const QByteArray& left : {QByteArray(), QByteArray("\x07\x08", 2)}) {
        writeFile("TRVwav", left);
        OpenOutcome opened = open("TRVwav", 255);
        ASSERT_EQ(opened.result, OpenResult::Opened);
        EXPECT_EQ(sizeOnDisk("TRVwav"), 255);
        // Touching the last byte would raise SIGBUS had the file stayed short.
        EXPECT_EQ(opened.block.writeAndFlush(254, Bytes{0x99}), 1u);
        Bytes expected(255, 0);
        std::copy(left.begin(), left.end(), expected.begin());
        expected[254] = 0x99;
        EXPECT_EQ(opened.block.read(0, 255), expected);
    }
}

TEST_F(SharedBlockTest, LongerFileIsMappedOnlyToTheBlockSizeAndKept) {
    QByteArray content(1000, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i % 251);
    writeFile("KirvoltPrev", content);

    OpenOutcome opened = open("KirvoltPrev", 1);
    ASSERT_EQ(opened.result, OpenResult::Opened);
    EXPECT_EQ(opened.block.size(), 1u);
    EXPECT_EQ(opened.block.read(0, 10), Bytes{0});
    EXPECT_EQ(opened.block.writeAndFlush(0, Bytes{0x42, 0x43}), 1u);
    opened.block.close();

    content[0] = 0x42;
    QFile f(pathOf("KirvoltPrev"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), content);
}

TEST_F(SharedBlockTest, SymlinkInPlaceOfTheBlockIsNotFollowed) {
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("victim"));
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    const QString absent = outside.filePath(QStringLiteral("absent"));
    const struct {
        const char* name;
        QString target;
    } cases[] = {{"KirvoltEnd", victim}, {"KirvoltName", absent}};
    for (const auto& c : cases) {
        ASSERT_TRUE(QFile::link(c.target, pathOf(c.name)));
        OpenOutcome opened = open(c.name, 1);
        EXPECT_EQ(opened.result, OpenResult::CreateFailed) << c.name;
        EXPECT_FALSE(opened.block.isMapped()) << c.name;
        EXPECT_NE(opened.reason.find("symbolic link"), std::string::npos) << opened.reason;
    }
    EXPECT_EQ(QFileInfo(victim).size(), 4);
    EXPECT_FALSE(QFileInfo::exists(absent));
}

TEST_F(SharedBlockTest, UnusableOpensReportTheFailingStep) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("adir")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pathOf("afifo")).constData(), 0600), 0);
    // A block file with a second name: whatever is written would reach the other file too.
    QFile other(dir.filePath(QStringLiteral("elsewhere")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write(QByteArray(255, 'k'));
    other.close();
    ASSERT_EQ(::link(QFile::encodeName(other.fileName()).constData(),
                     QFile::encodeName(pathOf("linked")).constData()),
              0);
    const struct {
        std::string folder, name;
        OpenResult expected;
    } cases[] = {
        {folder() + "/missing", "TRVwav", OpenResult::CreateFailed},
        {folder(), "adir", OpenResult::CreateFailed},
        {folder(), "../escape", OpenResult::CreateFailed},
        {folder(), "", OpenResult::CreateFailed},
        {folder(), "afifo", OpenResult::MapFailed},
        {folder(), "linked", OpenResult::CreateFailed},
    };
    for (const auto& c : cases) {
        OpenOutcome opened = SharedBlock::open(c.folder, c.name, 255);
        EXPECT_EQ(opened.result, c.expected) << c.folder << "/" << c.name;
        EXPECT_FALSE(opened.reason.empty()) << c.name;
        // An unopened block is inert rather than dangerous.
        EXPECT_FALSE(opened.block.isMapped());
        EXPECT_EQ(opened.block.size(), 0u);
        EXPECT_TRUE(opened.block.read(0, 4).empty());
        EXPECT_EQ(opened.block.writeAndFlush(0, Bytes{1, 2}), 0u);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll(), QByteArray(255, 'k'));
}

TEST_F(SharedBlockTest, CloseIsIdempotentAndMovesHandOverTheView) {
    OpenOutcome opened = open("TRVwav", 255);
    ASSERT_EQ(opened.block.writeAndFlush(0, Bytes{0x11}), 1u);
    SharedBlock moved = std::move(opened.block);
    EXPECT_FALSE(opened.block.isMapped());
    EXPECT_EQ(moved.read(0, 1), Bytes{0x11});

    moved.close();
    moved.close();
    EXPECT_FALSE(moved.isMapped());
    EXPECT_EQ(moved.write(0, Bytes{0x22}), 0u);
    // Closing lets go of the block; it does not destroy it for the other programs.
    EXPECT_EQ(open("TRVwav", 255).block.read(0, 1), Bytes{0x11});
}

} // namespace
} // namespace torvane::platform
