#include <QStringList>
#include <courselists/pagelist.h>
#include <courselists/recordreader.h>
#include <gtest/gtest.h>

namespace {

using namespace torvane::courselists;

QStringList records(const QString& text, int capacity, FramingResult* out = nullptr) {
    QStringList got;
    const FramingResult r = forEachRecord(text, capacity, [&](int k, QStringView record) {
        EXPECT_EQ(k, got.size() + 1);
        got << record.toString();
        return true;
    });
    if (out != nullptr) {
        *out = r;
    }
    return got;
}

TEST(Framing, RecordsByPosition) {
    struct Row {
        const char* text;
        QStringList records;
    };
    const Row rows[] = {
        {"", {}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}}, // an empty line takes a number
        {"\r\n\r\n", {"", ""}},
        {"a\rXb\r\n", {"a", "b"}}, // the character after a CR goes with it, whatever it is
        {"a\r", {"a"}},
        {"a\nb\r\n", {"a\nb"}}, // a lone LF is part of the record
        // Text after the last CR LF is one more record.
        {"a\r\nb", {"a", "b"}},
        {"tail only", {"tail only"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(records(QString::fromLatin1(row.text), kTableCapacity), row.records) << row.text;
    }
}

TEST(Framing, CapacityExactlyAndOneOver) {
    for (const bool trailingCrLf : {true, false}) {
        for (const int n : {kTableCapacity, kTableCapacity + 1}) {
            QString text;
            for (int i = 1; i <= n; ++i) {
                text += QString::number(i);
                if (i < n || trailingCrLf) {
                    text += QStringLiteral("\r\n");
                }
            }
            FramingResult r;
            const QStringList got = records(text, kTableCapacity, &r);
            EXPECT_EQ(r.overflow, n > kTableCapacity) << n;
            ASSERT_EQ(got.size(), kTableCapacity);
            EXPECT_EQ(got.back(), QString::number(kTableCapacity));
        }
    }
}

TEST(Framing, StopsWhereTheCallerSays) {
    int seen = 0;
    const FramingResult r = forEachRecord(QStringLiteral("a\r\nb\r\nc\r\n"), 10, [&](int k, QStringView) {
        ++seen;
        return k < 2;
    });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.records, 2);
    EXPECT_EQ(seen, 2);
}

TEST(Framing, TrimsSpacesOnly) {
    EXPECT_EQ(trimSpaces(u"  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(trimSpaces(u"\ta\t"), QStringLiteral("\ta\t"));
    EXPECT_EQ(trimSpaces(u"   "), QString());
}

TEST(ShortInt, SixteenBitWholeNumbers) {
    struct Row {
        const char* text;
        std::optional<int> value;
    };
    const Row rows[] = {
        {"7", 7},      {"-32768", -32768}, {"32767", 32767},    {" 12 ", 12}, {"+5", 5},    {"007", 7},
        {"32768", {}}, {"-32769", {}},     {"99999999999", {}}, {"", {}},     {" ", {}},    {"x", {}},
        {"7x", {}},    {"1.5", {}},        {"-", {}},           {"\t7", {}},  {"&H10", {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseShortInt(QString::fromLatin1(row.text)), row.value) << row.text;
    }
}

TEST(PageList, FieldsBySlot) {
    PageTable table;
    const ListReadResult r = readPageList(QStringLiteral("7\ttr010001.trv\tMotor control\r\n"
                                                         "\r\n" // slot 2: nothing
                                                         "3\ttr010002.trv\tTitle\twith a TAB\r\n" // TAB kept
                                                         "4\tonly one tab\r\n" // checked, not stored
                                                         "no tab at all\r\n"
                                                         "6\t\t\r\n"
                                                         "7\ttr010007.trv\tLast, no CR LF"),
                                          table);
    EXPECT_FALSE(r.failed);
    EXPECT_FALSE(r.overflow);
    EXPECT_EQ(r.records, 7);
    EXPECT_EQ(table.at(1).file, QStringLiteral("tr010001.trv"));
    EXPECT_EQ(table.at(1).title, QStringLiteral("Motor control"));
    EXPECT_TRUE(table.at(2).file.isEmpty());
    EXPECT_EQ(table.at(3).file, QStringLiteral("tr010002.trv"));
    EXPECT_EQ(table.at(3).title, QStringLiteral("Title\twith a TAB"));
    EXPECT_TRUE(table.at(4).file.isEmpty());
    EXPECT_TRUE(table.at(4).title.isEmpty());
    EXPECT_TRUE(table.at(5).file.isEmpty());
    EXPECT_TRUE(table.at(6).file.isEmpty());
    EXPECT_EQ(table.at(7).file, QStringLiteral("tr010007.trv"));
    EXPECT_EQ(table.at(7).title, QStringLiteral("Last, no CR LF"));
    EXPECT_TRUE(table.at(0).file.isEmpty());
}

TEST(PageList, BadFirstFieldEndsTheListThere) {
    for (const char* bad : {"x", "", "40000", "1.5"}) {
        PageTable table;
        const QString text =
            QStringLiteral("1\ta.trv\tA\r\n%1\tb.trv\tB\r\n3\tc.trv\tC\r\n").arg(QLatin1String(bad));
        const ListReadResult r = readPageList(text, table);
        EXPECT_TRUE(r.failed) << bad;
        EXPECT_EQ(table.at(1).file, QStringLiteral("a.trv")) << bad;
        EXPECT_TRUE(table.at(2).file.isEmpty()) << bad;
        EXPECT_TRUE(table.at(3).file.isEmpty()) << bad;
    }
}

TEST(PageList, TwentyThousandAndOne) {
    QString text;
    for (int i = 1; i <= kTableCapacity + 1; ++i) {
        text += QStringLiteral("%1\tp%1.trv\tT%1\r\n").arg(i % 30000);
    }
    PageTable table;
    const ListReadResult r = readPageList(text, table);
    EXPECT_TRUE(r.overflow);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(table.at(kTableCapacity).file, QStringLiteral("p20000.trv"));
}

} // namespace
