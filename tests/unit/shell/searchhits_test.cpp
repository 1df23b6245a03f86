#include <gtest/gtest.h>
#include <shell/searchhits.h>

namespace {

using torvane::shell::SearchHits;

// Which completed pages show a search's words: (address, placeholder) in order, and whether each
// showed them.
TEST(SearchHits, HoldForThePageTheResultOpens) {
    struct Page {
        const char* address;
        bool placeholder;
        bool shows;
    };
    struct Row {
        const char* what;
        std::vector<Page> pages;
    };
    const Row rows[] = {
        {"the result page, then the next page",
         {{"tr010005.trv", false, true}, {"tr010006.trv", false, false}}},
        {"loaded again for a new window size",
         {{"tr010005.trv", false, true}, {"tr010005.trv", false, true}, {"tr010006.trv", false, false}}},
        {"a module placeholder passes them on",
         {{"tr010001.trv", true, false}, {"mod01c.trv", false, true}, {"tr010002.trv", false, false}}},
        {"once ended, the page again shows nothing",
         {{"tr010005.trv", false, true}, {"tr010006.trv", false, false}, {"tr010005.trv", false, false}}},
        {"the result page did not load: the next page shows nothing",
         {{"", false, false}, {"tr010006.trv", false, false}}},
        {"a placeholder whose module page did not load",
         {{"tr010001.trv", true, false}, {"", false, false}, {"mod01c.trv", false, false}}},
    };
    for (const Row& row : rows) {
        SearchHits hits;
        hits.arm({QStringLiteral("relay"), QStringLiteral("coil")});
        for (const Page& page : row.pages) {
            const QStringList words = hits.wordsFor(QString::fromLatin1(page.address), page.placeholder);
            EXPECT_EQ(!words.isEmpty(), page.shows) << row.what << ": " << page.address;
            if (page.shows) {
                EXPECT_EQ(words, (QStringList{QStringLiteral("relay"), QStringLiteral("coil")})) << row.what;
            }
        }
    }
    SearchHits never;
    EXPECT_TRUE(never.wordsFor(QStringLiteral("tr010005.trv"), false).isEmpty());
}

} // namespace
