#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <history/historyfile.h>

namespace {

using namespace torvane::history;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(HistoryRecord, QuotedNameAndCrLf) {
    struct Row {
        QString name;
        QByteArray record;
    };
    const Row rows[] = {
        {"tr010002.trv", "\"tr010002.trv\"\r\n"},
        {"trva.trv", "\"trva.trv\"\r\n"},
        {"", "\"\"\r\n"},
        {QString::fromUtf8("caf\u00e9.trv"), "\"caf\xe9.trv\"\r\n"}, // Windows-1252 byte
        {QString::fromUtf8("\u20ac.trv"), "\"\x80.trv\"\r\n"},
        // Characters that would break the record are written as the address would carry them.
        {"a\"b.trv", "\"a%22b.trv\"\r\n"},
        {"a\r\nb.trv", "\"a%0D%0Ab.trv\"\r\n"},
        {"a\tb", "\"a%09b\"\r\n"},
        {QString::fromUtf8("\u4e2d.trv"), "\"%E4%B8%AD.trv\"\r\n"},
        {QString::fromUtf8("\U0001F600"), "\"%F0%9F%98%80\"\r\n"},
        {"already%22encoded", "\"already%22encoded\"\r\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(historyRecord(row.name), row.record) << row.name.toStdString();
    }
}

TEST(AppendHistory, CreatesThenAppendsInOrder) {
    QTemporaryDir dir;
    const QString billDir = dir.path() + "/";
    EXPECT_TRUE(AppendHistory(billDir, "tr010002.trv"));
    EXPECT_EQ(readAll(billDir + "history.trv"), QByteArray("\"tr010002.trv\"\r\n"));
    EXPECT_TRUE(AppendHistory(billDir, "trva.trv"));
    EXPECT_TRUE(AppendHistory(billDir, "tr010002.trv"));
    EXPECT_EQ(readAll(billDir + "history.trv"),
              QByteArray("\"tr010002.trv\"\r\n\"trva.trv\"\r\n\"tr010002.trv\"\r\n"));
}

TEST(AppendHistory, ExistingRecordsOfAnEarlierRunStay) {
    QTemporaryDir dir;
    const QString billDir = dir.path() + "/";
    QFile earlier(billDir + "history.trv");
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("\"trvb.trv\"\r\n");
    earlier.close();
    EXPECT_TRUE(AppendHistory(billDir, "tr020003.trv"));
    EXPECT_EQ(readAll(billDir + "history.trv"), QByteArray("\"trvb.trv\"\r\n\"tr020003.trv\"\r\n"));
}

TEST(AppendHistory, RecordAfterACutOffRecordStartsItsOwnLine) {
    struct Row {
        QByteArray before; // the file as an earlier, interrupted write left it
        QByteArray after;  // once tr020003.trv has been appended
    };
    const Row rows[] = {
        {"\"trvb.trv\"\r\n\"tr01", "\"trvb.trv\"\r\n\"tr01\r\n\"tr020003.trv\"\r\n"},
        {"\"trvb.trv\"\r", "\"trvb.trv\"\r\n\"tr020003.trv\"\r\n"},
        {"\"", "\"\r\n\"tr020003.trv\"\r\n"},
        {"", "\"tr020003.trv\"\r\n"},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        const QString billDir = dir.path() + "/";
        QFile earlier(billDir + "history.trv");
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(row.before);
        earlier.close();
        EXPECT_TRUE(AppendHistory(billDir, "tr020003.trv"));
        EXPECT_EQ(readAll(billDir + "history.trv"), row.after) << row.before.toStdString();
    }
}

TEST(AppendHistory, LostRecordsAreReportedNotWrittenElsewhere) {
    QTemporaryDir dir;
    EXPECT_FALSE(AppendHistory("", "tr010002.trv"));                       // no data folder
    EXPECT_FALSE(AppendHistory(dir.path() + "/missing/", "tr010002.trv")); // folder gone
    ASSERT_TRUE(QDir(dir.path()).mkdir("history.trv"));                    // a folder in the file's place
    EXPECT_FALSE(AppendHistory(dir.path() + "/", "tr010002.trv"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/missing"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"history.trv"});
}

} // namespace
