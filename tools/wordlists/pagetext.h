#pragma once

// What a course page says, as the word lists need it: its title and the text a learner reads on it.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace torvane::tools {

struct PageText {
    QString title; // the <title>, entities decoded, white space collapsed; empty when there is none
    QString body;  // the visible text: no tags, scripts, styles, head, nav, header or footer
};

// Reads a page's HTML. Entities are decoded (named HTML ones of the Latin-1 and typographic sets,
// and numeric ones); an unknown named entity stays as written.
PageText readPageText(QStringView html);

// Decodes the entities of a text run.
QString decodeEntities(QStringView text);

// The words of a text for the index: runs of letters, in lower case, at least three letters long,
// without the common English words of kStopWords and without words Windows-1252 cannot hold. In order
// of appearance, repeats included.
QStringList indexWords(QStringView text);

// Words too common to be worth a search.
bool isStopWord(QStringView lowerWord);

// Decodes a page file's bytes: UTF-8 when they are valid UTF-8, otherwise Windows-1252.
QString decodePageBytes(const QByteArray& bytes);

} // namespace torvane::tools
