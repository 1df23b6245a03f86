#include <QAbstractItemModelTester>
#include <courselists/wordlists.h>
#include <gtest/gtest.h>
#include <search/indexfilter.h>

namespace {

using namespace torvane::courselists;
using namespace torvane::search;

WordTable words(std::initializer_list<const char*> list) {
    WordTable table;
    int k = 0;
    for (const char* w : list) {
        table.at(++k).text = QString::fromLatin1(w);
    }
    return table;
}

TEST(IndexFilter, NarrowingByTypedBeginning) {
    const WordTable table = words({"coil", "Contact", "", " cable", "COPPER", "relay", "co", "c", " "});
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
    const WordTable table = words({"coil", " cable"});
    IndexModel model;
    // Any breach of the item-model contract while the rows change ends the test program.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setWords(&table);
    model.setRows({2, 1});
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral(" cable "));
    EXPECT_EQ(model.rowText(1), QStringLiteral("coil "));
    EXPECT_TRUE(model.rowText(2).isEmpty());
    model.setRows({});
    EXPECT_EQ(model.rowCount(), 0);
    model.setRows({1, 2, 1});
    EXPECT_EQ(model.rowCount(), 3);
}

} // namespace
