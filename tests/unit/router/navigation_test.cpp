#include <gtest/gtest.h>
#include <router/navigation.h>

namespace {

using namespace torvane::router;

const QString kLocn = QStringLiteral("http://127.0.0.1:8080/trv_cbt/trv2/");

TEST(DecidePage, EveryClassTakesItsSteps) {
    using S = Step;
    struct Row {
        const char* name;
        PageClass pageClass;
        std::vector<Step> steps;
        const char* caption;
    };
    const Row rows[] = {
        {"fig0107.trv", PageClass::Video, {S::Video}, "Torvane"},
        {"title.trv", PageClass::Video, {S::Video}, "Torvane"},
        {"ttv05.trv", PageClass::Video, {S::Video}, "Torvane"},
        {"v0203.trv", PageClass::Narration, {S::Narration}, "Torvane"},
        {"video.trv", PageClass::Narration, {S::Narration}, "Torvane"},
        {"mod07c.trv", PageClass::ModulePage, {S::KeepLinks}, "Torvane - Module 7"},
        {"obj07c.trv", PageClass::ModulePage, {S::KeepLinks}, "Torvane - Module 7"},
        {"rev07c.trv", PageClass::ModulePage, {S::KeepLinks}, "Torvane - Module 7"},
        {"modern.trv", PageClass::ModulePage, {S::KeepLinks}, "Torvane"},
        {"search.trv", PageClass::SearchWindow, {S::OpenWindow}, "Torvane"},
        {"index.trv", PageClass::IndexWindow, {S::OpenWindow}, "Torvane"},
        {"hist.trv", PageClass::HistoryWindow, {S::OpenWindow}, "Torvane"},
        {"trva.trv", PageClass::Contents, {S::KeepLinks, S::Record}, "Torvane"},
        {"trvcrc.trv", PageClass::SecondContents, {S::ContentsRedirect, S::Record}, "Torvane"},
        {"tr010001.trv", PageClass::ModulePlaceholder, {S::ShowPage}, "Torvane - Module 1"},
        {"tr240232.trv", PageClass::ModulePlaceholder, {S::ShowPage}, "Torvane - Module 24"},
        {"tr010005.trv", PageClass::Ordinary, {S::KeepLinks, S::Record}, "Torvane - Module 1"},
        {"trvsumma.trv", PageClass::Ordinary, {S::KeepLinks, S::Record}, "Torvane"},
        {"trva.trv?x=1", PageClass::Ordinary, {S::KeepLinks, S::Record}, "Torvane"},
        {"TR010001.trv", PageClass::Ordinary, {S::KeepLinks, S::Record}, "Torvane"},
    };
    for (const Row& row : rows) {
        const auto d = decidePage(kLocn + QString::fromLatin1(row.name), kLocn);
        EXPECT_TRUE(d.inCourse) << row.name;
        EXPECT_EQ(d.curPage, QString::fromLatin1(row.name));
        EXPECT_EQ(d.pageClass, row.pageClass) << row.name;
        EXPECT_EQ(d.steps, row.steps) << row.name;
        EXPECT_EQ(d.caption, QString::fromLatin1(row.caption)) << row.name;
    }
}

TEST(DecidePage, AddressesThatCarryNoCoursePage) {
    const char* rows[] = {
        "", "HTTP:///", "http:///", "Http:///", "https://example.org/other/page.html", "about:blank"};
    for (const char* url : rows) {
        const auto d = decidePage(QString::fromLatin1(url), kLocn);
        EXPECT_FALSE(d.inCourse) << url;
        EXPECT_TRUE(d.steps.empty()) << url;
        EXPECT_EQ(d.curPage, QString::fromLatin1(url)) << url; // the whole address
        EXPECT_TRUE(d.caption.isEmpty()) << url;
    }
}

TEST(DecidePage, PageNameFollowsTheFirstCourseMarker) {
    const auto d = decidePage("http://h/a/trv2/b/trv2/tr010003.trv", kLocn);
    EXPECT_EQ(d.curPage, "b/trv2/tr010003.trv");
    EXPECT_EQ(d.pageClass, PageClass::Ordinary);
    EXPECT_FALSE(d.module.has_value());
}

TEST(DecidePage, MediaWindowsAndPlaceholdersCarryWhatTheyNeed) {
    EXPECT_EQ(decidePage(kLocn + "title.trv", kLocn).mediaAddress, kLocn + "trv/title.avi");
    EXPECT_EQ(decidePage(kLocn + "fig0107.trv", kLocn).mediaAddress, kLocn + "d01/fig0107.avi");
    EXPECT_EQ(decidePage(kLocn + "ttv05.trv", kLocn).mediaAddress, kLocn + "TechTips/tt05.avi");
    EXPECT_EQ(decidePage(kLocn + "v0203.trv", kLocn).mediaAddress, kLocn + "d02/v0203.wav");
    EXPECT_EQ(decidePage(kLocn + "index.trv", kLocn).window, SecondaryWindow::Index);
    EXPECT_EQ(decidePage(kLocn + "hist.trv", kLocn).window, SecondaryWindow::History);
    EXPECT_EQ(decidePage(kLocn + "search.trv", kLocn).window, SecondaryWindow::Search);
    EXPECT_EQ(decidePage(kLocn + "tr010196.trv", kLocn).placeholderBase, "obj01");
    EXPECT_EQ(decidePage(kLocn + "tr120071.trv", kLocn).placeholderBase, "rev12");
    EXPECT_EQ(decidePage(kLocn + "tr010001.trv", kLocn).module, 1);
    EXPECT_FALSE(decidePage(kLocn + "trva.trv", kLocn).module.has_value());
}

TEST(KeepLinks, MissingOrForeignLinksLeaveTheirTargets) {
    const LinkTargets before{"s", "p", "n"};
    const QString S = kLocn + "S.trv";
    const QString P = "https://example.org/P.trv";
    const QString N = "torvane://course/trv_cbt/trv2/N.trv";
    struct Row {
        QStringList links;
        LinkTargets expected;
    };
    const Row rows[] = {
        {{}, {"s", "p", "n"}},
        {{S}, {S, "p", "n"}},
        {{S, P}, {S, P, "n"}},
        {{S, P, N}, {S, P, N}},
        {{S, P, N, "x", "y", "z"}, {S, P, N}},
        // Addresses of any other kind are no targets: a page cannot send the toolbar to local files or
        // make it run script.
        {{"file:///home/learner/notes.txt", P, N}, {"s", P, N}},
        {{S, "javascript:fetch('/x?'+document.body.innerText)", N}, {S, "p", N}},
        {{S, P, "data:text/html,<script>alert(1)</script>"}, {S, P, "n"}},
        {{"blob:http://127.0.0.1/1234", "FILE:///etc/passwd", "about:blank"}, {"s", "p", "n"}},
        {{"ftp://example.org/x", "chrome://settings", "view-source:http://x/"}, {"s", "p", "n"}},
        {{"HTTP://127.0.0.1/trv_cbt/trv2/a.trv", "", "relative.trv"},
         {"HTTP://127.0.0.1/trv_cbt/trv2/a.trv", "p", "n"}},
    };
    for (const Row& row : rows) {
        const auto kept = keepLinks(before, row.links);
        EXPECT_EQ(kept.section, row.expected.section) << row.links.join(' ').toStdString();
        EXPECT_EQ(kept.previous, row.expected.previous) << row.links.join(' ').toStdString();
        EXPECT_EQ(kept.next, row.expected.next) << row.links.join(' ').toStdString();
    }
}

TEST(CoursePageAddress, PageNamesBecomeThePathBelowTheCourseFolder) {
    struct Row {
        const char* locn;
        const char* page;
        const char* address; // "" none
    };
    const Row rows[] = {
        {"http://127.0.0.1:8080/trv_cbt/trv2/", "tr010005.trv",
         "http://127.0.0.1:8080/trv_cbt/trv2/tr010005.trv"},
        {"torvane://course/trv_cbt/trv2/", "d01/fig 1.trv", "torvane://course/trv_cbt/trv2/d01/fig%201.trv"},
        // What a strict address refuses is written encoded, and stays part of the name.
        {"http://h/trv_cbt/trv2/", "tr01 0005.trv", "http://h/trv_cbt/trv2/tr01%200005.trv"},
        {"http://h/trv_cbt/trv2/", "100%.trv", "http://h/trv_cbt/trv2/100%25.trv"},
        {"http://h/trv_cbt/trv2/", "a\"b{c}.trv", "http://h/trv_cbt/trv2/a%22b%7Bc%7D.trv"},
        {"http://h/trv_cbt/trv2/", "a?b#c.trv", "http://h/trv_cbt/trv2/a%3Fb%23c.trv"},
        // A name is never another kind of address, nor another server.
        {"http://h/trv_cbt/trv2/", "javascript:alert(1)", "http://h/trv_cbt/trv2/javascript:alert(1)"},
        {"http://h/trv_cbt/trv2/", "//evil.example/x.trv", "http://h/trv_cbt/trv2///evil.example/x.trv"},
        {"", "tr010005.trv", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(coursePageAddress(QString::fromLatin1(row.locn), QString::fromLatin1(row.page)),
                  QString::fromLatin1(row.address))
            << row.page;
    }
}

TEST(ModulePageAddress, VariantOfTheScreenWithTheAFallback) {
    EXPECT_EQ(modulePageAddress(kLocn, "mod01", 3), kLocn + "mod01c.trv");
    EXPECT_EQ(modulePageAddress(kLocn, "rev12", 1), kLocn + "rev12a.trv");
    EXPECT_EQ(modulePageAddress(kLocn, "obj24", 7), kLocn + "obj24g.trv");
    EXPECT_EQ(modulePageAddress(kLocn, "mod05", 0), kLocn + "mod05a.trv");
    EXPECT_EQ(modulePageAddress(kLocn, "mod05", 8), kLocn + "mod05a.trv");
}

TEST(ResizeAddress, RowsApplyToThePageName) {
    struct Row {
        const char* name;
        ScreenSize size;
        const char* expected; // page name after kLocn
    };
    const Row rows[] = {
        {"mod05c.trv", 6, "mod05f.trv"},     {"obj12a.trv", 7, "obj12g.trv"},
        {"rev03g.trv", 1, "rev03a.trv"},     {"trvpracc.trv", 4, "trvpracd.trv"},
        {"trvsumma.trv", 2, "trvsummb.trv"}, {"trvtechb.trv", 5, "trvteche.trv"},
        {"trvtvidg.trv", 3, "trvtvidc.trv"}, {"trvc.trv", 2, "trvb.trv"},
        {"trvg.trv", 1, "trva.trv"},         {"trvb.trv", 9, "trva.trv"},
        {"modern.trv", 3, "moderc.trv"},    // "mod" and the two characters after it
        {"xmod07c.trv?q", 2, "mod07b.trv"}, // the first "mod" anywhere in the name
    };
    for (const Row& row : rows) {
        EXPECT_EQ(resizeAddress(kLocn + row.name, kLocn, row.size), kLocn + row.expected) << row.name;
    }
}

TEST(ResizeAddress, PagesWithoutVariantsReloadUnchanged) {
    const QString other = "https://elsewhere.example/trv_cbt/trv2/";
    const char* names[] = {"tr010005.trv", "trvcrc.trv", "trvcra.trv", "fig0107.trv", "search.trv"};
    for (const char* name : names) {
        EXPECT_EQ(resizeAddress(other + name, kLocn, 4), other + name) << name;
    }
    EXPECT_EQ(resizeAddress("", kLocn, 4), "");
    EXPECT_EQ(resizeAddress("https://example.org/model/review/", kLocn, 4),
              "https://example.org/model/review/");
}

TEST(ResizeAddress, PlaceholdersThatActAreNotReloaded) {
    const struct {
        const char* address;
        bool reloads;
    } rows[] = {
        {"search.trv", false}, {"index.trv", false},   {"hist.trv", false},  {"fig0105.trv", false},
        {"title.trv", false},  {"v0203.trv", false},   {"ttv01.trv", false}, {"tr010001.trv", true},
        {"mod01c.trv", true},  {"tr010005.trv", true}, {"trvcrc.trv", true}, {"hist.trv?x", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(resizeReloads(kLocn + row.address), row.reloads) << row.address;
    }
    // An empty address (nothing loaded yet) has nothing to reload; a page outside the course is reloaded.
    EXPECT_FALSE(resizeReloads(""));
    EXPECT_TRUE(resizeReloads("https://example.org/help.html"));
}

TEST(ResizeAddress, ServerPartIsNeverSearched) {
    // A host or folder holding "mod" or "rev" does not disturb the rewrite.
    const QString odd = "http://modrev.example/obj/trv_cbt/trv2/";
    EXPECT_EQ(resizeAddress(odd + "tr010002.trv", odd, 5), odd + "tr010002.trv");
    EXPECT_EQ(resizeAddress(odd + "mod02a.trv", odd, 5), odd + "mod02e.trv");
}

} // namespace
