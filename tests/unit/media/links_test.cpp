#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <media/links.h>
#include <sys/stat.h>

namespace torvane::media {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The blocks the circuit simulator expects, written out independently of kLinkBlocks.
const std::vector<std::pair<const char*, qint64>> kExpectedBlocks{
    {"TRVwav", 255}, {"KirvoltPrev", 1}, {"KirvoltEnd", 1}, {"KirvoltName", 255}};

class LinksTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QStringList messages;

    Links open(const QString& folder) {
        return openLinks(folder, [this](const QString& text) { messages << text; });
    }
    QByteArray fileContent(const char* name) const {
        QFile f(dir.filePath(QLatin1String(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(LinksTest, FirstOpenCreatesEveryBlockAtItsExactSize) {
    Links links = open(dir.path());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'|').toStdString();
    for (const auto& [name, size] : kExpectedBlocks) {
        EXPECT_EQ(QFileInfo(dir.filePath(QLatin1String(name))).size(), size) << name;
        ASSERT_NE(links.find(name), nullptr) << name;
        EXPECT_EQ(links.find(name)->size(), static_cast<std::size_t>(size)) << name;
    }
    EXPECT_EQ(links.find("TRVwav.dat"), nullptr);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

TEST_F(LinksTest, SecondLinksInTheSameFolderSharesEveryBlock) {
    Links first = open(dir.path());
    Links second = open(dir.path());
    EXPECT_TRUE(messages.isEmpty());
    // Written through the named accessors, read back by name: both must land on the same block.
    const std::pair<platform::SharedBlock*, const char*> accessors[] = {
        {&first.trvWav(), "TRVwav"},
        {&first.kirvoltPrev(), "KirvoltPrev"},
        {&first.kirvoltEnd(), "KirvoltEnd"},
        {&first.kirvoltName(), "KirvoltName"}};
    std::uint8_t marker = 0x30;
    for (const auto& [block, name] : accessors) {
        const std::size_t last = block->size() - 1;
        ASSERT_EQ(block->writeAndFlush(last, Bytes{++marker}), 1u) << name;
        EXPECT_EQ(second.find(name)->read(last, 1), Bytes{marker}) << name;
    }
}

TEST_F(LinksTest, EndFlagIsTheLowByteOfALittleEndianValue) {
    Links links = open(dir.path());
    Links simulatorSide = open(dir.path());
    const std::pair<std::int32_t, std::uint8_t> cases[] = {
        {1, 0x01}, {0, 0x00}, {0x12345678, 0x78}, {-1, 0xff}, {256, 0x00}};
    for (const auto& [value, expected] : cases) {
        links.writeEndFlag(value);
        EXPECT_EQ(fileContent("KirvoltEnd"), QByteArray(1, static_cast<char>(expected))) << value;
        EXPECT_EQ(simulatorSide.kirvoltEnd().read(0, 4), Bytes{expected}) << value;
    }
    // The neighbouring blocks must not have caught any spill-over.
    EXPECT_EQ(fileContent("KirvoltPrev"), QByteArray(1, '\0'));
    EXPECT_EQ(fileContent("KirvoltName"), QByteArray(255, '\0'));
}

TEST_F(LinksTest, FailuresAreReportedInOrderAndLeaveInertBlocks) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("TRVwav")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("KirvoltEnd"))).constData(), 0600), 0);

    Links links = open(dir.path());
    EXPECT_EQ(messages, (QStringList{"Can't create file map", "Can't create map view"}));
    EXPECT_FALSE(links.trvWav().isMapped());
    EXPECT_TRUE(links.kirvoltPrev().isMapped());
    EXPECT_FALSE(links.kirvoltEnd().isMapped());
    EXPECT_TRUE(links.kirvoltName().isMapped());

    links.writeEndFlag(1);
    EXPECT_EQ(links.trvWav().writeAndFlush(0, Bytes{1, 2, 3}), 0u);
    EXPECT_TRUE(links.kirvoltEnd().read(0, 1).empty());
}

TEST_F(LinksTest, MissingFolderReportsEveryBlockAndKeepsWorking) {
    Links links = open(dir.filePath(QStringLiteral("gone")));
    EXPECT_EQ(messages, QStringList(4, QStringLiteral("Can't create file map")));
    links.writeEndFlag(0);
    for (const auto& [name, size] : kExpectedBlocks) {
        EXPECT_EQ(links.find(name)->writeAndFlush(0, Bytes{9}), 0u) << name;
        EXPECT_TRUE(links.find(name)->read(0, static_cast<std::size_t>(size)).empty()) << name;
    }
    links.closeLinks();
}

TEST_F(LinksTest, CloseLinksReleasesEveryBlockAndCanRepeat) {
    Links links = open(dir.path());
    links.writeEndFlag(1);
    links.closeLinks();
    links.closeLinks();
    for (const auto& [name, size] : kExpectedBlocks) {
        EXPECT_FALSE(links.find(name)->isMapped()) << name;
        EXPECT_EQ(QFileInfo(dir.filePath(QLatin1String(name))).size(), size)
            << name << " stays for the others";
    }
    links.writeEndFlag(0);
    EXPECT_EQ(fileContent("KirvoltEnd"), QByteArray(1, '\x01'));
}

} // namespace
} // namespace torvane::media
