#pragma once

// The words of a page's text as the word lists index them. The page itself is read by readHtmlPage
// (tools/pagereader), which both tools share.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace torvane::tools {

// The words of a text for the index: runs of letters, in lower case, at least three letters long,
// without the common English words of kStopWords and without words Windows-1252 cannot hold. In order
// of appearance, repeats included.
QStringList indexWords(QStringView text);

// Words too common to be worth a search.
bool isStopWord(QStringView lowerWord);

} // namespace torvane::tools
