#include "wordlistbuilder.h"

#include <QHash>
#include <courselists/ansitext.h>
#include <courselists/pagelist.h>
#include <gtest/gtest.h>

namespace {

using namespace torvane::tools;

// A course folder in memory.
struct Course {
    QHash<QString, QString> pages;
    PageReader reader() const {
        return [this](const QString& name) -> std::optional<QByteArray> {
            const auto it = pages.constFind(name);
            return it == pages.constEnd() ? std::nullopt : std::optional<QByteArray>(it->toUtf8());
        };
    }
    QStringList names() const { return pages.keys(); }
};

QString page(const QString& title, const QString& text) {
    return QStringLiteral("<html><head><title>%1</title></head><body><p>%2</p></body></html>")
        .arg(title, text);
}

TEST(SelectPages, WhichPagesAndWhereTheirWordsComeFrom) {
    const QStringList names = {"trvg.trv",     "tr010001.trv", "mod01c.trv",   "mod01d.trv", "tr010196.trv",
                               "tr990001.trv", "trvsummb.trv", "trvsummd.trv", "trvcre.trv", "search.trv",
                               "fig0101.trv",  "v0101.trv",    "title.trv",    "ttv01.trv",  "tr01002.trv",
                               "TR010002.trv", "tr010002.htm", "trvpracz.trv", "rev01a.trv", "tr010002.trv"};
    struct Want {
        const char* name;
        const char* source;
        bool searched;
    };
    const Want want[] = {
        {"tr010001.trv", "mod01c.trv", true},   // placeholder: its module page's first variant
        {"tr010002.trv", "tr010002.trv", true}, // ordinary course page
        {"tr010196.trv", "tr010196.trv", true}, // placeholder whose module pages are missing
        {"tr990001.trv", "tr990001.trv", true}, // not in the module table: an ordinary page
        {"trvcre.trv", "trvcre.trv", false},    // contents pages: titles only
        {"trvg.trv", "trvg.trv", false},
        {"trvsummb.trv", "trvsummb.trv", true}, // first variant of a course-wide page is searched
        {"trvsummd.trv", "trvsummd.trv", false},
    };
    const std::vector<ListedPage> got = selectPages(names);
    ASSERT_EQ(got.size(), std::size(want));
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, QString::fromLatin1(want[i].name)) << i;
        EXPECT_EQ(got[i].textSource, QString::fromLatin1(want[i].source)) << want[i].name;
        EXPECT_EQ(got[i].searched, want[i].searched) << want[i].name;
    }
}

TEST(BuildWordLists, PositionsAreTheIdentitiesTheViewerReadsBack) {
    Course course;
    course.pages["tr010002.trv"] = page("Relays", "relay coil");
    course.pages["tr010003.trv"] = page("Motors", "motor relay");
    course.pages["trva.trv"] = page("Contents", "relay");
    const BuildResult built = buildWordLists(course.names(), course.reader());
    ASSERT_TRUE(built.lists.has_value()) << built.error.toStdString();
    EXPECT_EQ(built.lists->files, QByteArray("1\ttr010002.trv\tRelays\r\n2\ttr010003.trv\tMotors\r\n"
                                             "3\ttrva.trv\tContents\r\n"));
    EXPECT_EQ(built.lists->words, QByteArray("coil\t1\t\r\nmotor\t2\t\r\nrelay\t1\t2\t\r\n"));
    EXPECT_EQ(built.lists->pageCount, 3);
    EXPECT_EQ(built.lists->wordCount, 3);

    // Read back as the viewer reads it: every first field is a valid number and slot k holds page k.
    torvane::courselists::PageTable table;
    const auto read =
        torvane::courselists::readPageList(torvane::courselists::fromAnsi(built.lists->files), table);
    EXPECT_FALSE(read.failed);
    EXPECT_EQ(read.records, 3);
    EXPECT_EQ(table.at(2).file, QStringLiteral("tr010003.trv"));
    EXPECT_EQ(table.at(2).title, QStringLiteral("Motors"));
}

TEST(BuildWordLists, TitlesFallBackAndStayOnOneField) {
    Course course;
    course.pages["tr010002.trv"] = QStringLiteral("<p>No title here</p>");
    course.pages["tr010003.trv"] = page(QStringLiteral("Tab\there\r\nand line"), "x");
    course.pages["tr010004.trv"] = page(QString::fromUtf8("\u03a9 meter"), "x"); // no Windows-1252 byte
    const BuildResult built = buildWordLists(course.names(), course.reader());
    ASSERT_TRUE(built.lists.has_value());
    EXPECT_EQ(built.lists->files,
              QByteArray("1\ttr010002.trv\ttr010002.trv\r\n2\ttr010003.trv\tTab here and line\r\n"
                         "3\ttr010004.trv\t? meter\r\n"));
}

TEST(BuildWordLists, NamedEntitiesTheListsCannotHoldStayAsWritten) {
    // A symbol stays findable by its name; signs between words are not words of their own.
    Course course;
    course.pages["tr010002.trv"] =
        page("&Sigma; &minus; &rarr; &eacute;",
             "4.7 k&Omega; &asymp; 5&minus;2&thinsp;&rarr;next caf&eacute; &#937;hm");
    const BuildResult built = buildWordLists(course.names(), course.reader());
    ASSERT_TRUE(built.lists.has_value());
    EXPECT_EQ(built.lists->files, QByteArray("1\ttr010002.trv\t&Sigma; ? ? \xe9\r\n"));
    EXPECT_EQ(built.lists->words, QByteArray("asymp\t1\t\r\ncaf\xe9\t1\t\r\nnext\t1\t\r\nomega\t1\t\r\n"));
}

TEST(BuildWordLists, UnreadablePagesAreListedUnderTheirName) {
    Course course;
    course.pages["tr010002.trv"] = page("Relays", "relay");
    QStringList names = course.names();
    names << QStringLiteral("tr010005.trv"); // listed in the folder, unreadable
    const BuildResult built = buildWordLists(names, course.reader());
    ASSERT_TRUE(built.lists.has_value());
    EXPECT_EQ(built.lists->files, QByteArray("1\ttr010002.trv\tRelays\r\n2\ttr010005.trv\ttr010005.trv\r\n"));
    EXPECT_EQ(built.lists->warnings.size(), 1);
}

TEST(BuildWordLists, CapacityIsAnErrorNotASilentCut) {
    // 20000 pages fit; 20001 do not.
    for (const int pages : {20000, 20001}) {
        QStringList names;
        for (int i = 0; i < pages; ++i) {
            names << QStringLiteral("tr%1%2.trv")
                         .arg(10 + i / 10000, 2, 10, QLatin1Char('0'))
                         .arg(i % 10000, 4, 10, QLatin1Char('0'));
        }
        const BuildResult built =
            buildWordLists(names, [](const QString&) { return std::optional<QByteArray>("<p>x</p>"); });
        EXPECT_EQ(built.lists.has_value(), pages == 20000) << pages;
        if (pages > 20000) {
            EXPECT_TRUE(built.error.contains(QStringLiteral("20001"))) << built.error.toStdString();
        }
    }
    // 20000 different words fit; 20001 do not.
    for (const int words : {20000, 20001}) {
        QString text;
        for (int i = 0; i < words; ++i) {
            QString w = QStringLiteral("q");
            for (int n = i, d = 0; d < 4; ++d, n /= 26) {
                w += QChar(u'a' + n % 26);
            }
            text += w + QLatin1Char(' ');
        }
        Course course;
        course.pages["tr010002.trv"] = page("Many", text);
        const BuildResult built = buildWordLists(course.names(), course.reader());
        EXPECT_EQ(built.lists.has_value(), words == 20000) << words;
        if (built.lists) {
            EXPECT_EQ(built.lists->wordCount, 20000);
        }
    }
}

} // namespace
