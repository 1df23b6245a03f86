#include <gtest/gtest.h>
#include <shell/toolbartargets.h>

namespace {

using namespace torvane::shell;

TEST(ContentsButton, AlternatesBetweenTheTwoContentsPages) {
    const QString locn = "torvane://course/trv_cbt/trv2/";
    struct Row {
        const char* curPage;
        int size;
        const char* target;
    };
    const Row rows[] = {
        {"trvb.trv", 2, "trvcrb.trv"}, {"trvcrb.trv", 2, "trvb.trv"}, {"tr010003.trv", 2, "trvb.trv"},
        {"trvc.trv", 2, "trvb.trv"},   // another class's contents page is just a page
        {"trva.trv", 0, "trvcra.trv"}, // outside 2..7: the "a" pages
        {"trva.trv", 9, "trvcra.trv"}, {"trvg.trv", 7, "trvcrg.trv"}, {"", 4, "trvd.trv"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(contentsTarget(locn, row.curPage, row.size), locn + row.target) << row.curPage;
    }
}

} // namespace
