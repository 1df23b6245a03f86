#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <router/moduletable.h>
#include <router/pagenames.h>
#include <vector>

static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace torvane::router {
namespace {

using namespace Qt::StringLiterals;

// Objectives page of modules 01..24, written out here independently of the table under test.
constexpr int kExpectedObjPages[24] = {196, 216, 97,  146, 114, 126, 119, 146, 109, 154, 134, 70,
                                       151, 133, 128, 171, 211, 189, 188, 163, 146, 129, 325, 231};

struct Expected {
    QString name;
    QString base;
};

QString pageName(int module, int page) {
    return QString::asprintf("tr%02d%04d.trv", module, page);
}

QString baseName(const char* family, int module) {
    return QString::asprintf("%s%02d", family, module);
}

// All 72 placeholders in lookup order: first pages, then objectives pages, then review pages.
std::vector<Expected> expectedRows() {
    std::vector<Expected> rows;
    for (int m = 1; m <= 24; ++m)
        rows.push_back({pageName(m, 1), baseName("mod", m)});
    for (int m = 1; m <= 24; ++m)
        rows.push_back({pageName(m, kExpectedObjPages[m - 1]), baseName("obj", m)});
    for (int m = 1; m <= 24; ++m)
        rows.push_back({pageName(m, kExpectedObjPages[m - 1] + 1), baseName("rev", m)});
    return rows;
}

TEST(ModuleTable, EveryPlaceholderMapsToItsBase) {
    for (const Expected& row : expectedRows()) {
        SCOPED_TRACE(row.name.toStdString());
        EXPECT_EQ(placeholderBase(row.name), std::optional<QString>(row.base));
        EXPECT_TRUE(isPlaceholder(row.name));
        EXPECT_EQ(classify(row.name), PageClass::ModulePlaceholder);
    }
}

TEST(ModuleTable, RowsAreExposedInLookupOrder) {
    const std::vector<Expected> expected = expectedRows();
    ASSERT_EQ(kPlaceholderRows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const PlaceholderRow& row = kPlaceholderRows[i];
        EXPECT_EQ(QString::fromLatin1(row.name.data()), expected[i].name);
        EXPECT_EQ(QString::fromLatin1(row.base.data()), expected[i].base);
        EXPECT_EQ(row.module, static_cast<int>(i % 24) + 1);
    }
}

TEST(ModuleTable, SpelledExamplesOfModuleOne) {
    EXPECT_EQ(placeholderBase(u"tr010001.trv"), std::optional<QString>(u"mod01"_s));
    EXPECT_EQ(placeholderBase(u"tr010196.trv"), std::optional<QString>(u"obj01"_s));
    EXPECT_EQ(placeholderBase(u"tr010197.trv"), std::optional<QString>(u"rev01"_s));
    EXPECT_EQ(placeholderBase(u"tr120071.trv"), std::optional<QString>(u"rev12"_s));
    EXPECT_EQ(placeholderBase(u"tr230326.trv"), std::optional<QString>(u"rev23"_s));
}

TEST(ModuleTable, NearMissesAreNotPlaceholders) {
    const char16_t* const names[] = {
        u"tr010198.trv", // the page after the review page
        u"tr010195.trv", // the page before the objectives page
        u"tr010002.trv",  u"TR010001.trv",
        u"tr010001.trv ", u" tr010001.trv",
        u"tr010001.TRV",  u"tr010001.trv?x",
        u"tr010001",      u"tr10001.trv",
        u"tr250001.trv",  u"tr000001.trv",
        u"tr020196.trv", // module 1's objectives page number under module 2
        u"mod01",         u"",
    };
    for (const char16_t* name : names) {
        SCOPED_TRACE(QString::fromUtf16(name).toStdString());
        EXPECT_EQ(placeholderBase(name), std::nullopt);
        EXPECT_FALSE(isPlaceholder(name));
    }
}

} // namespace
} // namespace torvane::router
