#include <QJsonArray>
#include <QJsonDocument>
#include <shell/searchhits.h>

namespace torvane::shell {

void SearchHits::arm(const QStringList& words) {
    words_ = words;
    shownIn_.clear();
}

QStringList SearchHits::wordsFor(const QString& address, bool placeholder) {
    if (words_.isEmpty()) {
        return {};
    }
    if (address.isEmpty()) {
        // The page did not load: its words are not kept for whatever page completes next.
        words_.clear();
        shownIn_.clear();
        return {};
    }
    if (shownIn_.isEmpty()) {
        if (placeholder) {
            return {}; // the page that replaces it gets them
        }
        shownIn_ = address;
        return words_;
    }
    if (address == shownIn_) {
        return words_;
    }
    words_.clear();
    shownIn_.clear();
    return {};
}

QString searchHitScript(const QStringList& words) {
    // The words go in as JSON, so no text of theirs can end the script early.
    const QString list =
        QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(words)).toJson(QJsonDocument::Compact));
    return QStringLiteral(R"((function (words) {
  const escape = (w) => w.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
  const letters = '\\p{L}\\p{N}';
  const hit = new RegExp('(^|[^' + letters + '])((?:' + words.map(escape).join('|') + ')[' + letters + ']*)', 'giu');
  const skip = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEXTAREA', 'TITLE', 'MARK']);
  const walker = document.createTreeWalker(document.body || document.documentElement, NodeFilter.SHOW_TEXT, {
    acceptNode: (n) => (n.parentElement && !skip.has(n.parentElement.tagName)) ? NodeFilter.FILTER_ACCEPT : NodeFilter.FILTER_REJECT });
  const nodes = [];
  for (let n = walker.nextNode(); n; n = walker.nextNode()) nodes.push(n);
  const marks = [];
  for (const node of nodes) {
    const text = node.data;
    let last = 0, found = false;
    const pieces = document.createDocumentFragment();
    hit.lastIndex = 0;
    for (let m = hit.exec(text); m; m = hit.exec(text)) {
      const start = m.index + m[1].length;
      pieces.append(text.slice(last, start));
      const mark = document.createElement('mark');
      mark.className = 'torvane-search-hit';
      mark.style.cssText = 'background: #ffe14d; color: inherit; padding: 0;';
      mark.textContent = m[2];
      pieces.append(mark);
      marks.push(mark);
      last = start + m[2].length;
      found = true;
    }
    if (found) {
      pieces.append(text.slice(last));
      node.replaceWith(pieces);
    }
  }
  if (marks.length > 0) marks[0].scrollIntoView({block: 'center'});
  return marks.length;
})(%1))")
        .arg(list);
}

} // namespace torvane::shell
