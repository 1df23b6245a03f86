#pragma once

#include <QString>
#include <QStringList>

class QVariant;

namespace torvane::shell {

// The page's text as reading aloud takes it: its sentences in reading order, the page's language and
// the sentence to begin with.
struct PageSentences {
    QStringList sentences;
    QString language; // the page's lang attribute, a BCP 47 tag; empty when it has none
    int first = 0;    // the sentence the selection starts in, or 0
};

// The script (run in the viewer's own script world) that takes the visible text of the page apart into
// sentences. A sentence ends at ".", "!" or "?" followed by a space, at a line break or at the end of a
// block. The script keeps where each sentence lies in the page (its pieces of text nodes) for the mark
// script, in a global of the viewer's world, and returns what readSentences() reads.
QString sentenceScript();
// What the sentence script returned; nothing when it did not run.
PageSentences readSentences(const QVariant& result);

// The script that marks sentence `index` of those the sentence script found, after unmarking the one
// marked before, and scrolls it into view. Returns the number of marks (0 when there is nothing to mark).
QString sentenceMarkScript(int index);
// The script that removes the mark and forgets the sentences: the page's text nodes are as before.
QString sentenceUnmarkScript();

// The class of the marks.
inline constexpr char kSentenceMarkClass[] = "torvane-read-aloud";

} // namespace torvane::shell
