#pragma once

// A course page as the browser reads it, for the tools: its characters (the charset it declares
// honoured), its title, the text a learner reads on it and its links. libxml2's HTML parser does the
// reading, so entities, comments, unclosed elements and the rest of HTML's leniency are its.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace torvane::tools {

struct HtmlPage {
    QString title; // the first <title>'s text, white space collapsed; empty when there is none
    QString body;  // the visible text, white space collapsed: nothing of the head, scripts, styles,
                   // templates, nav, header or footer; inline elements (<b>, <sup> ...) split no word
    // The href of every <a> and <area> that has one, in document order (the browser's document.links),
    // resolved as the browser resolves it: against the page's <base href> if it has one, else against
    // the page's own address. Without an address the hrefs stay as written, only trimmed.
    QStringList links;
};

// The charset a page declares before its body: <meta charset="..."> or <meta http-equiv="Content-Type"
// content="...; charset=...">, lower case and trimmed; empty when it declares none.
QByteArray declaredCharset(const QByteArray& bytes);

// Reads a page file's bytes. The characters are read as a byte-order mark says, else as the page's
// declared charset, else as UTF-8 when the bytes are valid UTF-8, else as Windows-1252. As in the
// browser, the labels it reads as Windows-1252 ("iso-8859-1", "us-ascii", "latin1" ...) are read so,
// "utf-16" declared in ASCII text means UTF-8, and a label nobody knows counts as no declaration.
// `address` is the page's own absolute address, the base of its links.
//
// `entityFits`, when given, says which characters the reader's output can hold: a named entity for any
// other character (&Omega; where only Windows-1252 fits) is read as the text it is written as, so the
// text keeps a spelling of it instead of a character that would be lost.
using CharacterTest = bool (*)(char32_t);
HtmlPage readHtmlPage(const QByteArray& bytes, const QUrl& address = QUrl(),
                      CharacterTest entityFits = nullptr);

} // namespace torvane::tools
