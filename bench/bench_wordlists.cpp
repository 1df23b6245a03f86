// The search, the index narrowing and the history matching at capacity (20000 pages, 20000 words
// with two to eight references each, 20000 history records), each against the literal baseline.
//
//     build/bin/bench_wordlists [--benchmark_filter=...]

#include "baseline.h"
#include "gendata.h"

#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <benchmark/benchmark.h>
#include <history/histlist.h>
#include <search/indexfilter.h>
#include <search/searchengine.h>

namespace {

using namespace torvane;

const bench::GeneratedCourse& course() {
    static const bench::GeneratedCourse generated = bench::generateCourse({});
    return generated;
}

const search::SearchIndex& searchIndex() {
    static const search::SearchIndex index(course().tables);
    return index;
}

// Queries: a one-letter prefix reaches about a tenth of the words, two letters far fewer.
const char* const kQueries[] = {"s", "st", "e t", "st re"};

void BM_SearchFast(benchmark::State& state) {
    const QString typed = QString::fromLatin1(kQueries[state.range(0)]);
    const courselists::SearchTables& t = course().tables;
    std::size_t rows = 0;
    for (auto _ : state) {
        // What cmdFTS_Click does: the search, then the rows and the page behind each.
        const std::vector<int> found = searchIndex().search(search::parseQuery(typed));
        QStringList texts;
        QStringList pages;
        for (const int r : found) {
            texts << t.pages.at(r).title + QLatin1Char(' ');
            pages << t.pages.at(r).file;
        }
        rows = found.size();
        benchmark::DoNotOptimize(texts);
    }
    state.SetLabel(std::string(kQueries[state.range(0)]) + ", " + std::to_string(rows) + " rows");
}

void BM_SearchLiteral(benchmark::State& state) {
    const QString typed = QString::fromLatin1(kQueries[state.range(0)]);
    std::size_t rows = 0;
    for (auto _ : state) {
        const bench::FoundRows found = bench::literalSearch(course().tables, typed);
        rows = static_cast<std::size_t>(found.rows.size());
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(std::string(kQueries[state.range(0)]) + ", " + std::to_string(rows) + " rows");
}

const char* const kTyped[] = {"", "s", "st", "sta"};

// One keystroke: the narrowing and the list model's update, with a view attached to the model.
void BM_KeystrokeFast(benchmark::State& state) {
    const QString typed = QString::fromLatin1(kTyped[state.range(0)]);
    static const search::IndexFilter filter(course().tables.words);
    search::IndexModel model;
    model.setWords(&course().tables.words);
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    for (auto _ : state) {
        model.setRows(filter.narrow(typed));
        view.doItemsLayout();
    }
    state.SetLabel(std::string("\"") + kTyped[state.range(0)] + "\", " + std::to_string(model.rowCount()) +
                   " rows");
}

void BM_KeystrokeLiteral(benchmark::State& state) {
    const QString typed = QString::fromLatin1(kTyped[state.range(0)]);
    QListWidget list;
    list.setUniformItemSizes(true);
    for (auto _ : state) {
        list.clear();
        bench::literalNarrow(course().tables.words, typed, [&](const QString& row) { list.addItem(row); });
        list.doItemsLayout();
    }
    state.SetLabel(std::string("\"") + kTyped[state.range(0)] + "\", " + std::to_string(list.count()) +
                   " rows");
}

void BM_HistoryFast(benchmark::State& state) {
    std::size_t rows = 0;
    for (auto _ : state) {
        const std::vector<history::HistRow> found =
            history::matchHistory(course().history, course().tables.pages);
        rows = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(std::to_string(rows) + " rows");
}

void BM_HistoryLiteral(benchmark::State& state) {
    std::size_t rows = 0;
    for (auto _ : state) {
        const std::vector<history::HistRow> found =
            bench::literalHistory(course().history, course().tables.pages);
        rows = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(std::to_string(rows) + " rows");
}

BENCHMARK(BM_SearchFast)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLiteral)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeFast)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeLiteral)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryFast)->Unit(benchmark::kMillisecond);
// About 4 x 10^8 case-blind searches: one pass is enough to measure.
BENCHMARK(BM_HistoryLiteral)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
