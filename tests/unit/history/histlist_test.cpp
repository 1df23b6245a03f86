#include <QRandomGenerator>
#include <QStringList>
#include <gtest/gtest.h>
#include <history/histlist.h>
#include <history/pagematcher.h>
#include <set>

namespace {

using namespace torvane::history;
using namespace torvane::courselists;

PageTable pages(std::initializer_list<std::pair<const char*, const char*>> list) {
    PageTable table;
    int k = 0;
    for (const auto& [file, title] : list) {
        ++k;
        table.at(k).file = QString::fromLatin1(file);
        table.at(k).title = QString::fromLatin1(title);
    }
    return table;
}

std::vector<QString> records(std::initializer_list<const char*> list) {
    std::vector<QString> out;
    for (const char* r : list) {
        out.push_back(QString::fromLatin1(r));
    }
    return out;
}

QStringList texts(const std::vector<HistRow>& rows) {
    QStringList out;
    for (const HistRow& row : rows) {
        out << row.text;
    }
    return out;
}

QStringList pagesOf(const std::vector<HistRow>& rows) {
    QStringList out;
    for (const HistRow& row : rows) {
        out << row.page;
    }
    return out;
}

TEST(MatchHistory, RowsByRecord) {
    PageTable list = pages({{"tr010002.trv", "Motors"},
                            {"tr010005.trv", "Relays"},
                            {"trva.trv", "Contents"},
                            {"", ""}, // an empty record in the middle of the list
                            {"tr020001.trv", "After the gap"}});
    list.at(kTableCapacity) = {QStringLiteral("tr200000.trv"), QStringLiteral("The last record")};
    struct Row {
        const char* name;
        std::vector<QString> history;
        QStringList rows;
    };
    const Row rows[] = {
        {"two pages in order", records({"\"tr010002.trv\"", "\"tr010005.trv\""}), {"Motors", "Relays"}},
        {"a page twice", records({"\"tr010002.trv\"", "\"tr010002.trv\""}), {"Motors", "Motors"}},
        {"missing page gives no row", records({"\"tr099999.trv\"", "\"tr010005.trv\""}), {"Relays"}},
        {"letter case aside", records({"\"TR010002.TRV\""}), {"Motors"}},
        {"pages after an empty record are found", records({"\"tr020001.trv\""}), {"After the gap"}},
        {"the page of the list's last record", records({"\"tr200000.trv\""}), {"The last record"}},
        {"spaces around the record", records({"  \"trva.trv\"  "}), {"Contents"}},
        {"blank records give nothing", records({"", "   ", "\"trva.trv\""}), {"Contents"}},
        // A search for the name inside the record from its second character on, not a comparison.
        {"name inside a longer record", records({"\"xtr010005.trv?\""}), {"Relays"}},
        {"the first character is not searched", records({"tr010002.trv"}), {}},
        {"the second is", records({"xtr010002.trv"}), {"Motors"}},
        {"a record naming two pages, in list order",
         records({"\"trva.trv tr010002.trv\""}),
         {"Motors", "Contents"}},
        {"no records", {}, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(texts(matchHistory(row.history, list)), row.rows) << row.name;
    }
}

TEST(MatchHistory, RowsOpenTheirOwnPages) {
    const PageTable list = pages({{"tr010002.trv", "Motors"}, {"tr010005.trv", "Relays"}});
    const std::vector<HistRow> rows =
        matchHistory(records({"\"tr010005.trv\"", "\"gone.trv\"", "\"tr010002.trv\""}), list);
    EXPECT_EQ(pagesOf(rows), (QStringList{"tr010005.trv", "tr010002.trv"}));
}

TEST(MatchHistory, SamePageListedTwiceGivesTwoRows) {
    const PageTable list =
        pages({{"tr010002.trv", "First"}, {"other.trv", "Other"}, {"TR010002.trv", "Second"}});
    EXPECT_EQ(texts(matchHistory(records({"\"tr010002.trv\""}), list)), (QStringList{"First", "Second"}));
}

TEST(MatchHistory, RowsAreBounded) {
    // Every record matches two page names: 20000 records would give 40000 rows.
    const PageTable list = pages({{"a", "A"}, {"b", "B"}});
    const std::vector<QString> history(kTableCapacity, QStringLiteral("\"ab\""));
    const std::vector<HistRow> rows = matchHistory(history, list);
    EXPECT_EQ(rows.size(), kMaxHistRows);
    EXPECT_EQ(rows.back().text, QStringLiteral("B"));
}

TEST(SplitHistory, RecordsAndOverflow) {
    EXPECT_TRUE(splitHistory(u"").records.empty());
    const HistoryEntries e = splitHistory(u"\"a.trv\"\r\n\"b.trv\"\r\n\"c.trv\"");
    EXPECT_EQ(e.records, records({"\"a.trv\"", "\"b.trv\"", "\"c.trv\""}));
    EXPECT_FALSE(e.overflow);

    for (const int n : {kTableCapacity, kTableCapacity + 1}) {
        QString text;
        for (int i = 0; i < n; ++i) {
            text += QStringLiteral("\"tr%1.trv\"\r\n").arg(i);
        }
        const HistoryEntries big = splitHistory(text);
        EXPECT_EQ(big.overflow, n > kTableCapacity);
        EXPECT_EQ(big.records.size(), static_cast<std::size_t>(kTableCapacity));
    }
}

TEST(ProvisionalRows, ShowTheRecordAndOpenItsPage) {
    struct Row {
        const char* record;
        const char* page;
    };
    const Row rows[] = {
        {"\"tr010002.trv\"", "tr010002.trv"},
        {"  \"trva.trv\" ", "trva.trv"},
        {"\" spaced.trv \"", "spaced.trv"},
        {"unquoted.trv", "unquoted.trv"},
        {"\"", "\""},
        {"\"\"", ""},
        {"", ""},
    };
    for (const Row& row : rows) {
        const HistRow r = provisionalRow(QString::fromLatin1(row.record));
        EXPECT_EQ(r.text, QString::fromLatin1(row.record));
        EXPECT_EQ(r.page, QString::fromLatin1(row.page)) << row.record;
    }
}

// The automaton against a plain search, on random names over a small alphabet (many overlaps).
TEST(PageNameMatcher, AgreesWithAPlainSearch) {
    QRandomGenerator rng(1234);
    auto randomText = [&](int maxLen) {
        QString s;
        const int len = static_cast<int>(rng.bounded(maxLen + 1));
        for (int i = 0; i < len; ++i) {
            s += QChar(u"abAB.\u00e9\u00c9"[rng.bounded(7)]);
        }
        return s;
    };
    for (int round = 0; round < 50; ++round) {
        std::vector<QString> patterns;
        for (int i = 0; i < 30; ++i) {
            patterns.push_back(randomText(4));
        }
        const PageNameMatcher matcher(patterns);
        for (int t = 0; t < 30; ++t) {
            const QString text = randomText(12);
            std::set<int> found;
            matcher.scan(text, [&](int p) { found.insert(p); });
            std::set<int> want;
            for (std::size_t i = 0; i < patterns.size(); ++i) {
                // Duplicate patterns answer under the first of them.
                const auto first = std::find_if(patterns.begin(), patterns.end(), [&](const QString& p) {
                    return p.compare(patterns[i], Qt::CaseInsensitive) == 0;
                });
                if (!patterns[i].isEmpty() && text.contains(patterns[i], Qt::CaseInsensitive)) {
                    want.insert(static_cast<int>(first - patterns.begin()));
                }
            }
            ASSERT_EQ(found, want) << text.toStdString();
        }
    }
}

} // namespace
