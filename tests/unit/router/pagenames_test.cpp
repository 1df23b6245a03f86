#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <router/pagenames.h>

// Readable failure output for Qt types (found by argument-dependent lookup).
static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
static void PrintTo(QChar c, std::ostream* os) {
    *os << '\'' << QString(c).toStdString() << '\'';
}

namespace torvane::router {
namespace {

using namespace Qt::StringLiterals;
using std::nullopt;

// Sizes outside 1..7 that callers can hand in: zero, just past the range, negatives, int16 limits.
constexpr ScreenSize kOutOfRange[] = {0, 8, -1, 100, 32767, -32768};

TEST(VariantLetter, SizesOneToSevenGiveLettersAToG) {
    const char expected[] = "abcdefg";
    for (ScreenSize size = 1; size <= 7; ++size) {
        SCOPED_TRACE(size);
        EXPECT_EQ(variantLetter(size), std::optional<QChar>(QChar(expected[size - 1])));
        EXPECT_EQ(letterOrA(size), QChar(expected[size - 1]));
    }
}

TEST(VariantLetter, OtherSizesHaveNoLetterButContentsFallBackToA) {
    for (ScreenSize size : kOutOfRange) {
        SCOPED_TRACE(size);
        EXPECT_EQ(variantLetter(size), std::nullopt);
        EXPECT_EQ(letterOrA(size), QChar(u'a'));
    }
}

TEST(VariantPageName, AppendsLetterAndExtension) {
    struct Case {
        const char16_t* base;
        ScreenSize size;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {u"mod01", 3, u"mod01c.trv"_s}, {u"trv", 3, u"trvc.trv"_s},     {u"trvcr", 3, u"trvcrc.trv"_s},
        {u"mod01", 1, u"mod01a.trv"_s}, {u"rev24", 7, u"rev24g.trv"_s}, {u"mod01", 0, nullopt},
        {u"mod01", 8, nullopt},         {u"mod01", -1, nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << QString::fromUtf16(c.base).toStdString() << " size " << c.size);
        EXPECT_EQ(variantPageName(c.base, c.size), c.expected);
    }
}

TEST(ContentsPages, NamedBySizeWithAFallback) {
    struct Case {
        ScreenSize size;
        const char16_t* contents;
        const char16_t* second;
    };
    const Case cases[] = {
        {1, u"trva.trv", u"trvcra.trv"},  {2, u"trvb.trv", u"trvcrb.trv"}, {3, u"trvc.trv", u"trvcrc.trv"},
        {4, u"trvd.trv", u"trvcrd.trv"},  {5, u"trve.trv", u"trvcre.trv"}, {6, u"trvf.trv", u"trvcrf.trv"},
        {7, u"trvg.trv", u"trvcrg.trv"},  {0, u"trva.trv", u"trvcra.trv"}, {8, u"trva.trv", u"trvcra.trv"},
        {-5, u"trva.trv", u"trvcra.trv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(contentsPage(c.size), QString::fromUtf16(c.contents));
        EXPECT_EQ(secondContentsPage(c.size), QString::fromUtf16(c.second));
    }
}

TEST(ContentsPages, RecognisedOnlyByWholeName) {
    struct Case {
        const char16_t* name;
        bool contents;
        bool second;
    };
    const Case cases[] = {
        {u"trva.trv", true, false},    {u"trvd.trv", true, false},    {u"trvg.trv", true, false},
        {u"trvcra.trv", false, true},  {u"trvcrd.trv", false, true},  {u"trvcrg.trv", false, true},
        {u"trvh.trv", false, false},   {u"trvcrh.trv", false, false}, {u"trvA.trv", false, false},
        {u"trvcrA.trv", false, false}, {u"trv.trv", false, false},    {u"trvcr.trv", false, false},
        {u"trvaa.trv", false, false},  {u"trva.trv?x", false, false}, {u"trvcra.trv#x", false, false},
        {u"xtrva.trv", false, false},  {u"trva.TRV", false, false},   {u"trva.trv ", false, false},
        {u"trvc.htm", false, false},   {u"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(isContentsPage(c.name), c.contents);
        EXPECT_EQ(isSecondContentsPage(c.name), c.second);
    }
}

struct ModuleCase {
    const char16_t* name;
    std::optional<int> module;
    const char16_t* caption;
};

const ModuleCase kModuleCases[] = {
    // "tr" + two digits at positions 3-4.
    {u"tr010001.trv", 1, u"Torvane - Module 1"},
    {u"tr240232.trv", 24, u"Torvane - Module 24"},
    {u"tr10", 10, u"Torvane - Module 10"},
    {u"tr99xxxx", 99, u"Torvane - Module 99"},
    {u"tr00abc.trv", 0, u"Torvane - Module 0"},
    // "mod"/"obj"/"rev" + two digits at positions 4-5.
    {u"mod01c.trv", 1, u"Torvane - Module 1"},
    {u"obj12a.trv", 12, u"Torvane - Module 12"},
    {u"rev24g.trv", 24, u"Torvane - Module 24"},
    {u"mod07", 7, u"Torvane - Module 7"},
    // "tr" without digits falls through to the other prefixes, which it cannot match.
    {u"trva.trv", nullopt, u"Torvane"},
    {u"trvcra.trv", nullopt, u"Torvane"},
    {u"tr1a0001.trv", nullopt, u"Torvane"},
    {u"tra10001.trv", nullopt, u"Torvane"},
    // Only '0'..'9' count as digits: no sign, blank, point or other script's digits.
    {u"tr-1.trv", nullopt, u"Torvane"},
    {u"tr+1.trv", nullopt, u"Torvane"},
    {u"tr 1.trv", nullopt, u"Torvane"},
    {u"tr1 .trv", nullopt, u"Torvane"},
    {u"tr.1trv", nullopt, u"Torvane"},
    {u"mod 1a.trv", nullopt, u"Torvane"},
    {u"mod-1a.trv", nullopt, u"Torvane"},
    {u"mod1.a.trv", nullopt, u"Torvane"},
    {u"tr\u0661\u0662.trv", nullopt, u"Torvane"},
    {u"mod\uff11\uff12.trv", nullopt, u"Torvane"},
    // Too short to hold both digits.
    {u"tr1", nullopt, u"Torvane"},
    {u"tr", nullopt, u"Torvane"},
    {u"mod1", nullopt, u"Torvane"},
    {u"mod", nullopt, u"Torvane"},
    {u"", nullopt, u"Torvane"},
    // Prefixes are case-sensitive and must start the name.
    {u"TR010001.trv", nullopt, u"Torvane"},
    {u"Mod01a.trv", nullopt, u"Torvane"},
    {u"xtr01.trv", nullopt, u"Torvane"},
    {u"fig0107.trv", nullopt, u"Torvane"},
    {u"v0103.trv", nullopt, u"Torvane"},
    {u"modern.trv", nullopt, u"Torvane"},
    {u"obj", nullopt, u"Torvane"},
};

TEST(ModuleNumber, FromTrOrModuleFamilyPrefix) {
    for (const ModuleCase& c : kModuleCases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(moduleNumber(c.name), c.module);
    }
}

TEST(Caption, ShowsModuleWithoutLeadingZeros) {
    for (const ModuleCase& c : kModuleCases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(caption(c.name), QString::fromUtf16(c.caption));
    }
}

TEST(Classify, FirstMatchingRuleWins) {
    struct Case {
        const char16_t* name;
        PageClass expected;
    };
    const Case cases[] = {
        {u"fig0107.trv", PageClass::Video},
        {u"fig", PageClass::Video},
        {u"title.trv", PageClass::Video},
        {u"ttv05.trv", PageClass::Video},
        {u"v0103.trv", PageClass::Narration},
        {u"video.trv", PageClass::Narration},
        {u"v", PageClass::Narration},
        {u"mod01c.trv", PageClass::ModulePage},
        {u"obj12a.trv", PageClass::ModulePage},
        {u"rev24g.trv", PageClass::ModulePage},
        {u"modern.trv", PageClass::ModulePage},
        {u"review.trv", PageClass::ModulePage},
        {u"search.trv", PageClass::SearchWindow},
        {u"index.trv", PageClass::IndexWindow},
        {u"hist.trv", PageClass::HistoryWindow},
        {u"trva.trv", PageClass::Contents},
        {u"trvg.trv", PageClass::Contents},
        {u"trvcra.trv", PageClass::SecondContents},
        {u"trvcrg.trv", PageClass::SecondContents},
        {u"tr010001.trv", PageClass::ModulePlaceholder},
        {u"tr010196.trv", PageClass::ModulePlaceholder},
        {u"tr240232.trv", PageClass::ModulePlaceholder},
        // Near misses of the whole-name rules.
        {u"tr010198.trv", PageClass::Ordinary},
        {u"TR010001.trv", PageClass::Ordinary},
        {u"trva.trv?x", PageClass::Ordinary},
        {u"trvh.trv", PageClass::Ordinary},
        {u"title.trv#top", PageClass::Ordinary},
        {u"search.trv?q=x", PageClass::Ordinary},
        {u"Search.trv", PageClass::Ordinary},
        {u"index.htm", PageClass::Ordinary},
        {u"history.trv", PageClass::Ordinary},
        {u"Fig0107.trv", PageClass::Ordinary},
        {u"V0103.trv", PageClass::Ordinary},
        {u"fi", PageClass::Ordinary},
        {u"tt", PageClass::Ordinary},
        {u"mo", PageClass::Ordinary},
        {u"tr0100.trv", PageClass::Ordinary},
        {u"", PageClass::Ordinary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(classify(c.name), c.expected);
    }
}

constexpr char16_t kLocn[] = u"file:///c:/trv_cbt/trv2/";

TEST(MediaAddresses, VideoPages) {
    struct Case {
        const char16_t* name;
        std::optional<QString> expected;
    };
    const QString locn = QString::fromUtf16(kLocn);
    const Case cases[] = {
        {u"title.trv", locn + u"trv/title.avi"_s},
        {u"ttv05.trv", locn + u"TechTips/tt05.avi"_s},
        {u"ttv12abc.trv", locn + u"TechTips/tt12.avi"_s},
        {u"ttv5", locn + u"TechTips/tt5.avi"_s},
        {u"ttv", locn + u"TechTips/tt.avi"_s},
        {u"fig0107.trv", locn + u"d01/fig0107.avi"_s},
        {u"fig2403b.trv", locn + u"d24/fig2403b.avi"_s},
        // The file name stops at the first ".trv", and a name without one is used whole.
        {u"fig0107.trv.trv", locn + u"d01/fig0107.avi"_s},
        {u"fig0107.trv?x", locn + u"d01/fig0107.avi"_s},
        {u"fig0107", locn + u"d01/fig0107.avi"_s},
        {u"fig1", locn + u"d1/fig1.avi"_s},
        {u"fig", locn + u"d/fig.avi"_s},
        // Not video pages.
        {u"v0103.trv", nullopt},
        {u"title.trv?x", nullopt},
        {u"Title.trv", nullopt},
        {u"tv05.trv", nullopt},
        {u"mod01a.trv", nullopt},
        {u"", nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(videoAddress(locn, c.name), c.expected);
    }
}

TEST(MediaAddresses, NarrationPages) {
    struct Case {
        const char16_t* name;
        std::optional<QString> expected;
    };
    const QString locn = QString::fromUtf16(kLocn);
    const Case cases[] = {
        {u"v0103.trv", locn + u"d01/v0103.wav"_s},
        {u"v2401.trv", locn + u"d24/v2401.wav"_s},
        {u"video.trv", locn + u"did/video.wav"_s},
        {u"v0103.trv#t", locn + u"d01/v0103.wav"_s},
        {u"v0103", locn + u"d01/v0103.wav"_s},
        {u"v1", locn + u"d1/v1.wav"_s},
        {u"v", locn + u"d/v.wav"_s},
        {u"fig0107.trv", nullopt},
        {u"title.trv", nullopt},
        {u"V0103.trv", nullopt},
        {u"", nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(narrationAddress(locn, c.name), c.expected);
    }
}

TEST(MediaAddresses, RelativeToTheGivenFolder) {
    EXPECT_EQ(videoAddress(u"http://host/cbt/trv2/", u"fig0107.trv"),
              u"http://host/cbt/trv2/d01/fig0107.avi"_s);
    EXPECT_EQ(narrationAddress(u"", u"v0103.trv"), u"d01/v0103.wav"_s);
}

} // namespace
} // namespace torvane::router
