#include <courselists/wordlists.h>
#include <gtest/gtest.h>

namespace {

using namespace torvane::courselists;

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

} // namespace
