// The word lists and the history file with bad contents, read as the windows read them: the bytes on
// disk, read whole, decoded from Windows-1252 and cut into records. Every row checks that the records
// keep their positions (the word list refers to pages by position) and that nothing is lost or invented.

#include "badinput.h"

#include <QTemporaryDir>
#include <courselists/ansitext.h>
#include <courselists/pagelist.h>
#include <courselists/wordlists.h>
#include <gtest/gtest.h>
#include <history/histlist.h>
#include <search/searchengine.h>

namespace torvane::badinput {
namespace {

using courselists::ListReadResult;
using courselists::PageTable;

// The decoded text of a file written with `bytes`, read the way every list reader reads it.
QString onDiskAndBack(const QByteArray& bytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.trv"));
    EXPECT_TRUE(writeBytes(path, bytes));
    const std::optional<QByteArray> read = courselists::readWholeFile(path);
    EXPECT_TRUE(read.has_value());
    return courselists::fromAnsi(read.value_or(QByteArray()));
}

QByteArray bytes(const char* text, std::size_t size) {
    return {text, static_cast<qsizetype>(size - 1)}; // a literal's size counts its closing zero
}
#define BYTES(literal) bytes(literal, sizeof(literal))

TEST(BadPageList, RecordsKeepTheirSlotsWhateverTheirFieldsHold) {
    struct Slot {
        int k;
        QString file;
        QString title;
    };
    struct Row {
        const char* what;
        QByteArray bytes;
        int records;
        bool failed;
        std::vector<Slot> stored;
    };
    const QString unassigned = QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D);
    const Row rows[] = {
        {"no TAB", BYTES("tr010001.trv\r\n2\tb.trv\tB\r\n"), 2, false, {{1, "", ""}, {2, "b.trv", "B"}}},
        {"one TAB", BYTES("1\ta.trv\r\n2\tb.trv\tB\r\n"), 2, false, {{1, "", ""}, {2, "b.trv", "B"}}},
        {"letters for a number",
         BYTES("1\ta\tA\r\nx\tb\tB\r\n3\tc\tC\r\n"),
         2,
         true,
         {{1, "a", "A"}, {2, "", ""}, {3, "", ""}}},
        {"empty number", BYTES("\ta\tA\r\n2\tb\tB\r\n"), 1, true, {{1, "", ""}, {2, "", ""}}},
        {"the ends of the range",
         BYTES("32767\ta\tA\r\n-32768\tb\tB\r\n"),
         2,
         false,
         {{1, "a", "A"}, {2, "b", "B"}}},
        {"32768", BYTES("1\ta\tA\r\n32768\tb\tB\r\n"), 2, true, {{1, "a", "A"}, {2, "", ""}}},
        {"-32769", BYTES("-32769\ta\tA\r\n"), 1, true, {{1, "", ""}}},
        {"more digits than any integer", BYTES("99999999999999999999999\ta\tA\r\n"), 1, true, {{1, "", ""}}},
        {"fraction", BYTES("1.5\ta\tA\r\n"), 1, true, {{1, "", ""}}},
        {"hexadecimal", BYTES("0x10\ta\tA\r\n"), 1, true, {{1, "", ""}}},
        {"two numbers", BYTES("1 2\ta\tA\r\n"), 1, true, {{1, "", ""}}},
        {"NUL in the number", BYTES("1\0\ta\tA\r\n"), 1, true, {{1, "", ""}}},
        {"spaces around the number", BYTES("  7 \ta\tA\r\n"), 1, false, {{1, "a", "A"}}},
        {"text after the last CR LF", BYTES("1\ta\tA\r\n2\tb\tB"), 2, false, {{1, "a", "A"}, {2, "b", "B"}}},
        {"NUL in a title",
         BYTES("1\ta.trv\tMo\0tor\r\n2\tb\tB\r\n"),
         2,
         false,
         {{1, "a.trv", QString::fromLatin1("Mo\0tor", 6)}, {2, "b", "B"}}},
        {"bytes Windows-1252 leaves unassigned",
         BYTES("1\ta\t\x81\x8D\x8F\x90\x9D\r\n2\tb\t\x80\r\n"),
         2,
         false,
         {{1, "a", unassigned}, {2, "b", QString(QChar(0x20AC))}}},
        {"control bytes",
         BYTES("1\ta\tx\x01\x1b\x7fy\r\n2\tb\tB\r\n"),
         2,
         false,
         {{1, "a", "x\x01\x1b\x7fy"}, {2, "b", "B"}}},
        {"only line ends", BYTES("\r\n\r\n\r\n"), 3, false, {{1, "", ""}, {3, "", ""}}},
        {"empty file", QByteArray(), 0, false, {{1, "", ""}}},
    };
    for (const Row& row : rows) {
        PageTable pages;
        const ListReadResult read = courselists::readPageList(onDiskAndBack(row.bytes), pages);
        EXPECT_EQ(read.records, row.records) << row.what;
        EXPECT_EQ(read.failed, row.failed) << row.what;
        EXPECT_FALSE(read.overflow) << row.what;
        for (const Slot& slot : row.stored) {
            EXPECT_EQ(pages.at(slot.k).file, slot.file) << row.what << ", slot " << slot.k;
            EXPECT_EQ(pages.at(slot.k).title, slot.title) << row.what << ", slot " << slot.k;
        }
    }
}

TEST(BadWordList, WordsKeepTheirSlotsAndBadReferencesArePassedOver) {
    struct Row {
        const char* what;
        QByteArray bytes;
        int slot;
        QString word;
        std::vector<int> pages;
    };
    const Row rows[] = {
        {"no TAB", BYTES("relay\r\nmotor\t1\t\r\n"), 1, "", {}},
        {"the record after one without a TAB", BYTES("relay\r\nmotor\t1\t\r\n"), 2, "motor", {1}},
        {"letters, empty pieces, numbers out of range",
         BYTES("relay\t3\tx\t\t20001\t-1\t 4 \t20000\t99999999999\t0\t"),
         1,
         "relay",
         {3, 4, 20000, 0}},
        {"the last number without its TAB", BYTES("a\t1\t\r\nb\t2\t7"), 2, "b", {2, 7}},
        {"nothing after the TAB", BYTES("relay\t\r\n"), 1, "relay", {}},
        {"NUL in a word", BYTES("re\0lay\t1\t\r\n"), 1, QString::fromLatin1("re\0lay", 6), {1}},
        {"NUL in the references", BYTES("relay\t1\0\t2\t\r\n"), 1, "relay", {2}},
        {"unassigned byte in a word", BYTES("\x81x\t2\t\r\n"), 1, QString(QChar(0x81)) + 'x', {2}},
    };
    for (const Row& row : rows) {
        courselists::WordTable words;
        const ListReadResult read = courselists::readWordList(onDiskAndBack(row.bytes), words);
        EXPECT_FALSE(read.overflow) << row.what;
        EXPECT_EQ(words.at(row.slot).text, row.word) << row.what;
        EXPECT_EQ(search::parseReferences(words.at(row.slot).refs), row.pages) << row.what;
    }
}

TEST(BadHistoryFile, RecordsStillFindTheirPages) {
    PageTable pages;
    pages.at(1).file = QStringLiteral("tr010002.trv");
    pages.at(1).title = QStringLiteral("Motors");
    pages.at(2).file = QStringLiteral("tr010005.trv");
    pages.at(2).title = QStringLiteral("Relays");
    struct Row {
        const char* what;
        QByteArray bytes;
        QStringList titles;
    };
    const Row rows[] = {
        {"text after the last CR LF", BYTES("\"tr010002.trv\"\r\n\"tr010005.trv\""), {"Motors", "Relays"}},
        {"NUL inside a page name", BYTES("\"tr01\0002.trv\"\r\n\"tr010005.trv\"\r\n"), {"Relays"}},
        {"unassigned bytes around a name", BYTES("\"\x81tr010002.trv\x9D\"\r\n"), {"Motors"}},
        {"empty and control-byte lines between records",
         BYTES("\r\n\x01\x02\r\n\"tr010005.trv\"\r\n   \r\n\"TR010002.TRV\"\r\n"),
         {"Relays", "Motors"}},
        {"no quotes", BYTES("tr010002.trv\r\n"), {}}, // the name is looked for from the second character
    };
    for (const Row& row : rows) {
        const history::HistoryEntries entries = history::splitHistory(onDiskAndBack(row.bytes));
        EXPECT_FALSE(entries.overflow) << row.what;
        QStringList titles;
        for (const history::HistRow& r : history::matchHistory(entries.records, pages)) {
            titles << r.text;
        }
        EXPECT_EQ(titles, row.titles) << row.what;
    }
}

TEST(BadListSize, CapacityOnDiskExactlyAndOneOver) {
    // 20000 records, then one more as a whole record or as text after the last CR LF.
    QByteArray full;
    for (int i = 1; i <= courselists::kTableCapacity; ++i) {
        full += QByteArray::number(i) + "\tp" + QByteArray::number(i) + ".trv\tT\r\n";
    }
    const struct {
        const char* what;
        QByteArray bytes;
        bool overflow;
    } rows[] = {
        {"exactly 20000", full, false},
        {"20001", full + "20001\tlast.trv\tT\r\n", true},
        {"20000 and text after the last CR LF", full + "x", true},
        {"20000 and a lone line end", full + "\r\n", true},
    };
    for (const auto& row : rows) {
        const QString text = onDiskAndBack(row.bytes);
        PageTable pages;
        const ListReadResult read = courselists::readPageList(text, pages);
        EXPECT_EQ(read.overflow, row.overflow) << row.what;
        EXPECT_FALSE(read.failed) << row.what;
        EXPECT_EQ(pages.at(courselists::kTableCapacity).file, QStringLiteral("p20000.trv")) << row.what;
        courselists::WordTable words;
        EXPECT_EQ(courselists::readWordList(text, words).overflow, row.overflow) << row.what;
        EXPECT_EQ(history::splitHistory(text).overflow, row.overflow) << row.what;
        EXPECT_EQ(history::splitHistory(text).records.size(), std::size_t(courselists::kTableCapacity))
            << row.what;
    }
}

} // namespace
} // namespace torvane::badinput
