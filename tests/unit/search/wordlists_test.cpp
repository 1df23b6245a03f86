#include <gtest/gtest.h>
#include <search/indexfilter.h>
#include <search/wordlists.h>

namespace {

using namespace torvane::search;

TEST(WordList, FieldsBySlot) {
    WordTable table;
    const ListReadResult r = readWordList(QStringLiteral("Relay\t3\t17\t\r\n"
                                                         "\r\n"
                                                         "no tab\r\n"
                                                         " spaced\t1\t\r\n"
                                                         "Coil\t5\t"),
                                          table);
    EXPECT_FALSE(r.overflow);
    EXPECT_EQ(r.records, 5);
    EXPECT_EQ(table.text[1], QStringLiteral("Relay"));
    EXPECT_EQ(table.refs[1], QStringLiteral("3\t17\t"));
    EXPECT_TRUE(table.text[2].isEmpty());
    EXPECT_TRUE(table.text[3].isEmpty());
    EXPECT_EQ(table.text[4], QStringLiteral(" spaced"));
    EXPECT_EQ(table.text[5], QStringLiteral("Coil"));
    EXPECT_EQ(table.refs[5], QStringLiteral("5\t"));
}

TEST(WordList, WordsAloneForTheIndex) {
    WordTable table(false);
    readWordList(QStringLiteral("Relay\t3\t\r\n"), table);
    EXPECT_EQ(table.text[1], QStringLiteral("Relay"));
    EXPECT_TRUE(table.refs.empty());
}

TEST(WordList, TwentyThousandAndOne) {
    for (const int n : {kTableCapacity, kTableCapacity + 1}) {
        QString text;
        for (int i = 1; i <= n; ++i) {
            text += QStringLiteral("w%1\t1\t\r\n").arg(i);
        }
        WordTable table;
        const ListReadResult r = readWordList(text, table);
        EXPECT_EQ(r.overflow, n > kTableCapacity);
        EXPECT_EQ(table.text[kTableCapacity], QStringLiteral("w20000"));
    }
}

std::vector<QString> words(std::initializer_list<const char*> list) {
    std::vector<QString> table(kTableCapacity + 1);
    int k = 0;
    for (const char* w : list) {
        table[static_cast<std::size_t>(++k)] = QString::fromLatin1(w);
    }
    return table;
}

TEST(IndexFilter, NarrowingByTypedBeginning) {
    const std::vector<QString> table =
        words({"coil", "Contact", "", " cable", "COPPER", "relay", "co", "c", " "});
    const IndexFilter filter(table);
    struct Row {
        const char* typed;
        std::vector<int> want;
    };
    const Row rows[] = {
        {"", {1, 2, 4, 5, 6, 7, 8, 9}}, // every non-empty word, in table order
        {"   ", {1, 2, 4, 5, 6, 7, 8, 9}},
        {"c", {1, 2, 5, 7, 8}}, // " cable" is stored with a leading space
        {"co", {1, 2, 5, 7}},
        {"CO", {1, 2, 5, 7}},
        {"  co ", {1, 2, 5, 7}},
        {"cop", {5}},
        {"coils", {}},
        {"zz", {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(filter.narrow(QString::fromLatin1(row.typed)), row.want) << row.typed;
    }
    EXPECT_EQ(foundWordsLine(0), QStringLiteral("Found:  0 words"));
}

TEST(IndexModel, RowsAreTheWordAndASpace) {
    const std::vector<QString> table = words({"coil", " cable"});
    IndexModel model;
    model.setWords(&table);
    model.setRows({2, 1});
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral(" cable "));
    EXPECT_EQ(model.rowText(1), QStringLiteral("coil "));
    EXPECT_TRUE(model.rowText(2).isEmpty());
}

} // namespace
