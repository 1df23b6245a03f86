#pragma once

#include <QString>
#include <QStringList>

namespace torvane::shell {

// The words of a search, carried to the page a result opens so that the page shows them. They hold for
// that page: a module placeholder passes them on to the module page that replaces it, and the page keeps
// them when it is loaded again for a new window size; the next other page ends them.
class SearchHits final {
public:
    // A result was opened for a search for `words`.
    void arm(const QStringList& words);
    // A page has completed at `address` (empty: the load failed); `placeholder` when the viewer replaces
    // it at once. The words to show in it, or none.
    QStringList wordsFor(const QString& address, bool placeholder);

private:
    QStringList words_;
    QString shownIn_; // the page they were shown in; empty until then
};

// The script (run in the viewer's own script world) that marks every word of the page's text that
// begins with one of `words`, letter case aside, and scrolls the first mark into view. It returns the
// number of marks.
QString searchHitScript(const QStringList& words);

} // namespace torvane::shell
