#pragma once

// Builds the course's word lists from its pages: "files.trv", the pages a search can list (record
// number TAB page file TAB title), and "words.trv", each word with the record numbers of the pages it
// occurs on (word TAB, then each number followed by a TAB). Both Windows-1252 with CR LF after every
// record. A record's position is its identity: record k of "files.trv" is page k for the word list,
// and its first field says k as well.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <pagereader/htmlpage.h>
#include <vector>

namespace torvane::tools {

// Which pages are listed, and where their words and title come from:
// - course pages "trMMPPPP.trv": listed and searched. A module placeholder (its module's first,
//   objectives or review page) shows a module page instead, so its words and title come from that
//   module page's first variant in the folder ("mod01a.trv" for "tr010001.trv"), and a search result
//   opens the placeholder, which the viewer turns into the module page of the learner's screen;
// - course-wide pages ("trvprac", "trvsumm", "trvtech", "trvtvid" + variant letter): every variant is
//   listed, so that the history window can title whichever one the learner saw, but only the first
//   variant in the folder is searched, so that a search lists such a page once;
// - contents pages ("trv?.trv", "trvcr?.trv"): listed for the history window's titles, not searched;
// - nothing else (module pages, video, narration and window placeholders, other files).
// Records follow the page names in code-unit order.
struct ListedPage {
    QString name;       // the page file name the viewer opens and the history records
    QString textSource; // the page whose title and words stand for it
    bool searched = false;
};
std::vector<ListedPage> selectPages(const QStringList& pageNames);

// A page file as the lists read it (readHtmlPage): a named entity for a character Windows-1252 cannot
// hold stays as written, so "&Omega;" is indexed as the word "omega" and kept in a title as "&Omega;"
// instead of a character the lists would lose. Spaces, the minus sign and arrows are signs between words,
// not worth a word of their own: "&minus;", "&thinsp;", "&rarr;" ... are read as what they are.
// `address` is the page's own address, the base of its links.
HtmlPage readListedPage(const QByteArray& bytes, const QUrl& address = QUrl());

// The title a listed page gets in files.trv: its own, else its name.
QString listTitle(const HtmlPage& page, const QString& name);

struct BuiltLists {
    QByteArray files;
    QByteArray words;
    int pageCount = 0;
    int wordCount = 0;
    QStringList warnings; // pages left out, and why
};

struct BuildResult {
    std::optional<BuiltLists> lists;
    QString error; // set when nothing may be written
};

// Reads a page file of the folder by name, as bytes; nothing when it cannot be read.
using PageReader = std::function<std::optional<QByteArray>(const QString& name)>;

// Builds both lists from the folder's page names (".trv" files directly in the course folder) and a
// reader for their files (read with readListedPage, so a page's declared charset counts). Titles fall
// back to the page name when a page has none. More than 20000 pages or words is an error: the viewer
// would silently drop the rest.
BuildResult buildWordLists(const QStringList& pageNames, const PageReader& read);

// Reads the course folder, builds the lists and writes "files.trv" and "words.trv" into outFolder (each
// replaced whole, or left untouched on error). Returns an error message, or nothing on success;
// `report` receives a summary line and the warnings.
std::optional<QString> writeWordLists(const QString& courseFolder, const QString& outFolder,
                                      QStringList& report);

} // namespace torvane::tools
