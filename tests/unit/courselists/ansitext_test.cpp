#include <courselists/ansitext.h>
#include <gtest/gtest.h>

namespace {

using namespace torvane::courselists;

TEST(AnsiText, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = fromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
}

TEST(AnsiText, TheBytesWhereItDiffersFromLatin1) {
    struct Row {
        unsigned char byte;
        char16_t unicode;
    };
    const Row rows[] = {{0x80, 0x20AC}, {0x85, 0x2026}, {0x8A, 0x0160}, {0x93, 0x201C},
                        {0x96, 0x2013}, {0x99, 0x2122}, {0x9F, 0x0178}, {0x81, 0x0081},
                        {0x9D, 0x009D}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0x41, 0x0041}};
    for (const Row& row : rows) {
        EXPECT_EQ(fromAnsi(QByteArray(1, static_cast<char>(row.byte))), QString(QChar(row.unicode)))
            << int(row.byte);
        EXPECT_EQ(ansiByte(QChar(row.unicode)), std::optional<char>(static_cast<char>(row.byte)))
            << int(row.byte);
    }
}

TEST(AnsiText, CharactersWithoutAByte) {
    EXPECT_FALSE(ansiByte(QChar(0x0080)).has_value()); // a C1 control Windows-1252 puts the euro on
    EXPECT_FALSE(ansiByte(QChar(0x0100)).has_value());
    EXPECT_FALSE(ansiByte(QChar(0x4E2D)).has_value());
    EXPECT_EQ(toAnsi(u"a\u4E2Db"), QByteArray("a?b"));
}

} // namespace
