// The fast search, narrowing and history matching give exactly the results of the literal baselines
// the benchmarks measure them against, on generated lists small and at capacity.
#include "baseline.h"
#include "gendata.h"

#include <gtest/gtest.h>
#include <history/histlist.h>
#include <search/indexfilter.h>
#include <search/searchengine.h>

namespace {

using namespace torvane;

bench::FoundRows fastSearch(const courselists::SearchTables& t, const search::SearchIndex& index,
                            const QString& typed) {
    bench::FoundRows out;
    for (const int r : index.search(search::parseQuery(typed))) {
        out.rows << t.pages.at(r).title + QLatin1Char(' ');
        out.foundPage << t.pages.at(r).file;
    }
    return out;
}

QStringList texts(const std::vector<history::HistRow>& rows) {
    QStringList out;
    for (const history::HistRow& row : rows) {
        out << row.text + QLatin1Char('|') + row.page;
    }
    return out;
}

const QStringList kQueries = {"s",     "e",    "st",    "ST",   " sta ",   "zz",         "e t",
                              "st re", "a  e", "t e x", "q zz", "eat eat", "  in   on  "};
// At capacity the literal two-word search over the broadest prefixes takes minutes in a debug build;
// these still gather thousands of references per word.
const QStringList kCapacityQueries = {"s",     "st",   "ST",      " sta ",      "zz",
                                      "st re", "q zz", "eat eat", "  in   on  "};
const char* const kTyped[] = {"", "  ", "s", "S", "st", "sta", "e", "zzz", " t "};

void expectSameResults(const bench::GenerateOptions& options, const QStringList& queries, int historyCheck) {
    const bench::GeneratedCourse course = bench::generateCourse(options);
    const courselists::SearchTables& t = course.tables;

    const search::SearchIndex index(t);
    for (const QString& typed : queries) {
        const bench::FoundRows literal = bench::literalSearch(t, typed);
        const bench::FoundRows fast = fastSearch(t, index, typed);
        EXPECT_EQ(fast.rows, literal.rows) << typed.toStdString();
        EXPECT_EQ(fast.foundPage, literal.foundPage) << typed.toStdString();
    }

    const search::IndexFilter filter(t.words);
    search::IndexModel model;
    model.setWords(&t.words);
    for (const char* p : kTyped) {
        QStringList literal;
        bench::literalNarrow(t.words, QString::fromLatin1(p), [&](const QString& row) { literal << row; });
        model.setRows(filter.narrow(QString::fromLatin1(p)));
        QStringList fast;
        for (int row = 0; row < model.rowCount(); ++row) {
            fast << model.rowText(row);
        }
        EXPECT_EQ(fast, literal) << '"' << p << '"';
    }

    const std::vector<QString> records(
        course.history.begin(),
        course.history.begin() +
            std::min<std::size_t>(course.history.size(), static_cast<std::size_t>(historyCheck)));
    const QStringList literal = texts(bench::literalHistory(records, t.pages));
    EXPECT_FALSE(literal.isEmpty());
    EXPECT_EQ(texts(history::matchHistory(records, t.pages)), literal);
}

TEST(FastAgainstLiteral, SmallAwkwardLists) {
    expectSameResults({300, 400, 1, 6, 400, true, 7}, kQueries, 400);
    expectSameResults({50, 2000, 1, 3, 100, true, 8}, kQueries, 100);
}

TEST(FastAgainstLiteral, AtCapacity) {
    // The literal history scan is 20000 page names per record: 1000 records keep it to seconds.
    expectSameResults({}, kCapacityQueries, 1000);
    expectSameResults({20000, 20000, 1, 8, 1000, true, 9}, kCapacityQueries, 1000);
}

TEST(FastAgainstLiteral, HistoryAtCapacityGivesEveryKnownRecordItsRow) {
    // All 20000 records against all 20000 pages: each quoted record names exactly one listed page.
    const bench::GeneratedCourse course = bench::generateCourse({});
    const std::vector<history::HistRow> rows = history::matchHistory(course.history, course.tables.pages);
    ASSERT_EQ(rows.size(), course.history.size());
    for (std::size_t d = 0; d < rows.size(); ++d) {
        ASSERT_EQ(QLatin1Char('"') + rows[d].page + QLatin1Char('"'), course.history[d]) << d;
    }
}

} // namespace
