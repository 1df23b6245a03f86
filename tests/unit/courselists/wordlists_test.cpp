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
    EXPECT_EQ(table.at(1).text, QStringLiteral("Relay"));
    EXPECT_EQ(table.at(1).refs, QStringLiteral("3\t17\t"));
    EXPECT_TRUE(table.at(2).text.isEmpty());
    EXPECT_TRUE(table.at(3).text.isEmpty());
    EXPECT_EQ(table.at(4).text, QStringLiteral(" spaced"));
    EXPECT_EQ(table.at(5).text, QStringLiteral("Coil"));
    EXPECT_EQ(table.at(5).refs, QStringLiteral("5\t"));
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
        EXPECT_EQ(table.at(kTableCapacity).text, QStringLiteral("w20000"));
    }
}

} // namespace
