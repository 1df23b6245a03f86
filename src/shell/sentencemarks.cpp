#include <QJsonArray>
#include <QJsonDocument>
#include <QVariant>
#include <shell/sentencemarks.h>

namespace torvane::shell {

namespace {

// Calm and clearly visible, on light pages and dark ones alike: a pale blue with dark text.
constexpr char kMarkStyle[] = "background: #cfe3ff; color: #10243a; padding: 0; border-radius: 2px;";

} // namespace

QString sentenceScript() {
    // The mark's class and style go in as JSON, as any text handed to a script does.
    const QString markArgs = QString::fromUtf8(
        QJsonDocument(QJsonArray{QString::fromLatin1(kSentenceMarkClass), QString::fromLatin1(kMarkStyle)})
            .toJson(QJsonDocument::Compact));
    return QStringLiteral(R"JS((function (markClass, markStyle) {
  if (window.torvaneReadAloud) window.torvaneReadAloud.unmark();
  const root = document.body || document.documentElement;
  const styles = new Map();
  const style = (el) => {
    let s = styles.get(el);
    if (!s) { s = getComputedStyle(el); styles.set(el, s); }
    return s;
  };
  const skipped = new Set(['script', 'style', 'noscript', 'head', 'title', 'template', 'textarea', 'select',
                           'option', 'svg', 'math', 'iframe', 'object', 'canvas', 'video', 'audio']);
  const inline = (el) => {
    const d = style(el).display;
    return d.startsWith('inline') || d === 'contents' || d.startsWith('ruby');
  };
  const blockOf = (el) => {
    while (el && el !== root && inline(el)) el = el.parentElement;
    return el || root;
  };

  // The visible text nodes, in blocks: a block element or a line break between two text nodes puts them
  // in different blocks. Hidden parts are left out.
  const walker = document.createTreeWalker(root, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT, {
    acceptNode: (n) => {
      if (n.nodeType === Node.TEXT_NODE) return NodeFilter.FILTER_ACCEPT;
      return (skipped.has(n.localName) || style(n).display === 'none') ? NodeFilter.FILTER_REJECT
                                                                        : NodeFilter.FILTER_ACCEPT;
    }});
  const blocks = [];
  let current = null, currentElement = null;
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    if (n.nodeType !== Node.TEXT_NODE) {
      if (n.localName === 'br' || !inline(n)) current = null;
      continue;
    }
    const parent = n.parentElement;
    if (!parent || n.data.length === 0 || style(parent).visibility !== 'visible') continue;
    const container = blockOf(parent);
    if (!current || container !== currentElement) {
      current = {text: '', nodes: [], breaks: new Set()};
      blocks.push(current);
      currentElement = container;
    }
    const at = current.text.length;
    current.nodes.push({node: n, at});
    if (/^(pre|break-spaces)/.test(style(parent).whiteSpace)) {
      for (let i = n.data.indexOf('\n'); i >= 0; i = n.data.indexOf('\n', i + 1)) current.breaks.add(at + i);
    }
    current.text += n.data;
  }

  // Sentences: a block's text up to ".", "!" or "?" (with any closing quotes or brackets) and a space,
  // up to a line break shown as one, or to the block's end. A full stop before a word in lower case
  // ("e.g. this") ends none.
  const space = /\s/, closing = /[.!?"'\u201d\u2019\u00bb)\]]/, lower = /\p{Ll}/u, wordy = /[\p{L}\p{N}]/u;
  const sentences = [];
  const add = (block, start, end) => {
    const t = block.text;
    while (start < end && space.test(t[start])) start++;
    while (end > start && space.test(t[end - 1])) end--;
    const text = t.slice(start, end);
    if (!wordy.test(text)) return;
    const pieces = [];
    for (const {node, at} of block.nodes) {
      const from = Math.max(start, at) - at, to = Math.min(end, at + node.data.length) - at;
      if (from < to && /\S/.test(node.data.slice(from, to))) pieces.push({node, from, to});
    }
    sentences.push({text: text.replace(/\s+/g, ' '), pieces});
  };
  for (const block of blocks) {
    const t = block.text;
    let start = 0;
    for (let i = 0; i < t.length; i++) {
      if (block.breaks.has(i)) {
        add(block, start, i);
        start = i + 1;
        continue;
      }
      if (t[i] !== '.' && t[i] !== '!' && t[i] !== '?') continue;
      const stop = i;
      let end = i + 1;
      while (end < t.length && closing.test(t[end])) end++;
      i = end - 1;
      if (end < t.length && !space.test(t[end])) continue;
      if (!/[!?]/.test(t.slice(stop, end))) {
        let next = end;
        while (next < t.length && space.test(t[next])) next++;
        if (next < t.length && lower.test(t[next])) continue;
      }
      add(block, start, end);
      start = end;
    }
    add(block, start, t.length);
  }

  // The sentence the selection starts in: the first that ends after the selection's start.
  let first = 0;
  const selection = window.getSelection();
  if (selection && selection.rangeCount > 0 && !selection.isCollapsed) {
    const chosen = selection.getRangeAt(0);
    const point = document.createRange();
    first = Math.max(0, sentences.findIndex((s) => {
      const last = s.pieces[s.pieces.length - 1];
      point.setStart(last.node, last.to);
      return point.compareBoundaryPoints(Range.START_TO_START, chosen) > 0;
    }));
  }

  // One sentence at a time is marked: each of its pieces of text is split off its text node and wrapped
  // in a mark. Unmarking puts every text node back as it was, the same node with the same text, so
  // that nothing of the page changes; should the page have moved the nodes meanwhile, the marks are
  // unwrapped and their text joined again.
  window.torvaneReadAloud = {
    marks: [],
    mark(index) {
      this.unmark();
      const sentence = sentences[index];
      if (!sentence) return 0;
      for (const {node, from, to} of sentence.pieces) {
        if (!node.isConnected || node.data.length < to) continue;
        const text = node.data;
        const middle = from > 0 ? node.splitText(from) : node;
        const tail = to < text.length ? middle.splitText(to - from) : null;
        const mark = document.createElement('mark');
        mark.className = markClass;
        mark.style.cssText = markStyle;
        middle.before(mark);
        mark.append(middle);
        this.marks.push({node, text, mark, tail});
      }
      if (this.marks.length > 0) this.marks[0].mark.scrollIntoView({block: 'nearest', inline: 'nearest'});
      return this.marks.length;
    },
    unmark() {
      for (const m of this.marks.reverse()) {
        try {
          if (m.node.isConnected && m.mark.isConnected && (!m.tail || m.tail.isConnected)) {
            if (m.node.parentNode === m.mark) m.mark.before(m.node);
            m.mark.remove();
            if (m.tail) m.tail.remove();
            m.node.data = m.text;
          } else if (m.mark.isConnected) {
            const parent = m.mark.parentNode;
            m.mark.replaceWith(...m.mark.childNodes);
            parent.normalize();
          }
        } catch (e) {
          // the page has taken the text away
        }
      }
      this.marks = [];
    },
  };
  return {sentences: sentences.map((s) => s.text), lang: document.documentElement.lang || '', first};
})(...%1))JS")
        .arg(markArgs);
}

PageSentences readSentences(const QVariant& result) {
    const QVariantMap values = result.toMap();
    PageSentences page;
    page.sentences = values.value(QStringLiteral("sentences")).toStringList();
    page.language = values.value(QStringLiteral("lang")).toString().trimmed();
    const int first = values.value(QStringLiteral("first")).toInt();
    page.first = first >= 0 && first < page.sentences.size() ? first : 0;
    return page;
}

QString sentenceMarkScript(int index) {
    return QStringLiteral(
               "(function (i) { const s = window.torvaneReadAloud; return s ? s.mark(i) : 0; })(%1)")
        .arg(index);
}

QString sentenceUnmarkScript() {
    return QStringLiteral("(function () { const s = window.torvaneReadAloud;"
                          " if (s) { s.unmark(); delete window.torvaneReadAloud; } return true; })()");
}

} // namespace torvane::shell
