#include <QStringList>
#include <gtest/gtest.h>
#include <search/searchengine.h>

namespace {

using namespace torvane::search;
using namespace torvane::courselists;

// Tables written the way the lists are: record k in slot k.
struct Lists {
    std::vector<std::pair<QString, QString>> pages; // file, title
    std::vector<std::pair<QString, QString>> words; // word, references
    SearchTables tables() const {
        SearchTables t;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            t.pages.at(i + 1).file = pages[i].first;
            t.pages.at(i + 1).title = pages[i].second;
        }
        for (std::size_t i = 0; i < words.size(); ++i) {
            t.words.at(i + 1).text = words[i].first;
            t.words.at(i + 1).refs = words[i].second;
        }
        return t;
    }
};

// The rows a search shows: each page's title and a space.
QStringList rows(const SearchTables& t, const QString& typed) {
    const SearchIndex index(t);
    QStringList out;
    for (const int r : index.search(parseQuery(typed))) {
        out << t.pages.at(r).title + QLatin1Char(' ');
    }
    return out;
}

TEST(Query, WordsOfWhatWasTyped) {
    struct Row {
        const char* typed;
        int count;
        const char* first;
        const char* second;
    };
    const Row rows[] = {
        {"", 0, "", ""},
        {"     ", 0, "", ""},
        {"mot", 1, "mot", ""},
        {"  mot  ", 1, "mot", ""},
        {"relay coil", 2, "relay", "coil"},
        {"relay  coil", 2, "relay", "coil"},      // two spaces between
        {"relay coil motor", 2, "relay", "coil"}, // a third word is ignored
        {"relay   coil   motor  ", 2, "relay", "coil"},
        {"\ttab\t", 1, "\ttab\t", ""}, // only spaces separate and trim
        {"a\tb c", 2, "a\tb", "c"},
    };
    for (const Row& row : rows) {
        const SearchQuery q = parseQuery(QString::fromLatin1(row.typed));
        EXPECT_EQ(q.wordCount, row.count) << row.typed;
        if (row.count > 0) {
            EXPECT_EQ(q.first, QString::fromLatin1(row.first)) << row.typed;
        }
        if (row.count > 1) {
            EXPECT_EQ(q.second, QString::fromLatin1(row.second)) << row.typed;
        }
    }
}

TEST(References, WellFormedAndBroken) {
    struct Row {
        const char* refs;
        std::vector<int> numbers;
    };
    const Row rows[] = {
        {"3\t17\t25\t", {3, 17, 25}},
        {"3\t", {3}},
        {"", {}},
        {"3\t17", {3, 17}},     // no TAB after the last number
        {"3\t\t17\t", {3, 17}}, // an empty piece
        {" 3 \t", {3}},
        {"x\t4\t", {4}},                       // not a number
        {"-1\t20001\t0\t20000\t", {0, 20000}}, // outside 0..20000
        {"1.5\t99999999999\t2\t", {2}},
        {"000001\t0020000\t00000000000000000003\t020001\t", {1, 20000, 3}}, // leading zeros
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseReferences(QString::fromLatin1(row.refs)), row.numbers) << row.refs;
    }
}

const Lists kCourse{
    {{"tr010001.trv", "Motor control"},
     {"tr010002.trv", "Relays"},
     {"tr010003.trv", "Coils"},
     {"", "Nameless page"},
     {"tr010005.trv", "Motion"}},
    {{"Motor", "1\t2\t"},
     {"", "3\t"},          // an empty word is skipped
     {"motors", "2\t1\t"}, // the same pages again
     {"  MOTION  ", "5\t4\t"},
     {"relay", "2\t3\t"},
     {"coil", "3\t5\t3\t"},
     {"xmotor", "3\t"}}, // "mot" is a prefix, not a part
};

TEST(Search, OneWord) {
    const SearchTables t = kCourse.tables();
    struct Row {
        const char* typed;
        QStringList rows;
    };
    const Row table[] = {
        {"mot", {"Motor control ", "Relays ", "Motion "}},
        {"MOT", {"Motor control ", "Relays ", "Motion "}},
        {"  mot  ", {"Motor control ", "Relays ", "Motion "}},
        {"motors", {"Relays ", "Motor control "}},
        {"motion", {"Motion "}}, // the stored word is trimmed before comparing
        {"coil", {"Coils ", "Motion "}},
        {"zebra", {}},
        {"x", {"Coils "}},
    };
    for (const Row& row : table) {
        EXPECT_EQ(rows(t, QString::fromLatin1(row.typed)), row.rows) << row.typed;
    }
}

TEST(Search, TwoWords) {
    const SearchTables t = kCourse.tables();
    struct Row {
        const char* typed;
        QStringList rows;
    };
    const Row table[] = {
        {"relay coil", {"Coils "}},
        {"relay  coil", {"Coils "}},
        {"relay coil motor", {"Coils "}},
        {"coil relay", {"Coils "}},
        {"mot relay", {"Relays "}},           // both words must reach the page
        {"coil coil", {"Coils ", "Motion "}}, // a page the first word reaches twice is listed once
        {"mot zebra", {}},
        {"mot mot", {"Motor control ", "Relays ", "Motion "}},
    };
    for (const Row& row : table) {
        EXPECT_EQ(rows(t, QString::fromLatin1(row.typed)), row.rows) << row.typed;
    }
}

TEST(Search, PagesAreToldApartByExactName) {
    Lists lists{{{"a.trv", "First A"}, {"A.trv", "Upper A"}, {"a.trv", "Second A"}},
                {{"word", "1\t2\t3\t"}, {"other", "3\t2\t"}}};
    const SearchTables t = lists.tables();
    EXPECT_EQ(rows(t, QStringLiteral("word")), (QStringList{"First A ", "Upper A "}));
    // Two words: the title is the one the first word reached first.
    EXPECT_EQ(rows(t, QStringLiteral("other word")), (QStringList{"Second A ", "Upper A "}));
}

TEST(Search, EmptyListsFindNothing) {
    const SearchTables empty;
    EXPECT_TRUE(rows(empty, QStringLiteral("motor")).isEmpty());
    EXPECT_TRUE(rows(empty, QStringLiteral("motor coil")).isEmpty());
    EXPECT_EQ(foundPagesLine(0), QStringLiteral("Found:  0 pages"));
    EXPECT_EQ(foundPagesLine(1), QStringLiteral("Found:  1 pages"));
}

TEST(Search, BrokenReferencesAreSafe) {
    Lists lists{{{"a.trv", "A"}, {"b.trv", "B"}}, {{"word", "2\tjunk\t\t99999\t1"}}};
    EXPECT_EQ(rows(lists.tables(), QStringLiteral("word")), (QStringList{"B ", "A "}));
}

TEST(Search, NoCutAtTwentyThousandGatheredReferences) {
    // 20000 words reaching the same two pages: 40000 references gathered, two pages listed.
    SearchTables t;
    t.pages.at(1).file = QStringLiteral("a.trv");
    t.pages.at(1).title = QStringLiteral("A");
    t.pages.at(20000).file = QStringLiteral("z.trv");
    t.pages.at(20000).title = QStringLiteral("Z");
    for (int w = 1; w <= kTableCapacity; ++w) {
        t.words.at(w).text = QStringLiteral("same%1").arg(w);
        t.words.at(w).refs = w == kTableCapacity ? QStringLiteral("1\t20000\t") : QStringLiteral("1\t");
    }
    EXPECT_EQ(rows(t, QStringLiteral("same")), (QStringList{"A ", "Z "}));
    EXPECT_EQ(rows(t, QStringLiteral("same same20000")), (QStringList{"A ", "Z "}));
}

} // namespace
