#include "baseline.h"

#include <courselists/recordreader.h>

namespace torvane::bench {

using courselists::kTableCapacity;
using courselists::trimSpaces;
using courselists::upperText;

namespace {

bool wordMatches(const QString& stored, const QString& searchWord) {
    const QStringView word = trimSpaces(stored);
    return !word.isEmpty() && upperText(word.left(searchWord.size())) == upperText(searchWord);
}

// Walks a reference list: the text before each TAB is the next record number.
template <typename OnReference> void walkReferences(QStringView refs, OnReference&& onReference) {
    while (!refs.isEmpty()) {
        const qsizetype tab = refs.indexOf(QLatin1Char('\t'));
        const QStringView piece = tab < 0 ? refs : refs.left(tab);
        refs = tab < 0 ? QStringView() : refs.mid(tab + 1);
        onReference(piece.toInt());
    }
}

} // namespace

FoundRows literalSearch(const courselists::SearchTables& t, const QString& typed) {
    FoundRows out;
    const QString q = trimSpaces(typed).toString();
    if (q.isEmpty()) {
        return out;
    }
    // One slot more than the table: the repeat test counts the next row before it knows.
    std::vector<QString> foundPage(kTableCapacity + 2);
    const qsizetype space = q.indexOf(QLatin1Char(' '));
    if (space < 0) {
        int n = 0;
        for (int w = 1; w <= kTableCapacity; ++w) {
            if (!wordMatches(t.words.at(w).text, q)) {
                continue;
            }
            walkReferences(t.words.at(w).refs, [&](int r) {
                ++n;
                const QString& file = t.pages.at(r).file;
                for (int i = 1; i <= n; ++i) {
                    if (foundPage[static_cast<std::size_t>(i)] == file) {
                        --n;
                        return;
                    }
                }
                out.rows << t.pages.at(r).title + QLatin1Char(' ');
                foundPage[static_cast<std::size_t>(n)] = file;
            });
        }
        for (int i = 1; i <= n; ++i) {
            out.foundPage << foundPage[static_cast<std::size_t>(i)];
        }
        return out;
    }

    const QString first = q.left(space);
    QString second = trimSpaces(q.mid(space + 1)).toString();
    if (const qsizetype next = second.indexOf(QLatin1Char(' ')); next >= 0) {
        second = second.left(next);
    }
    std::vector<QString> firstFiles;
    std::vector<QString> firstTitles;
    std::vector<QString> secondFiles;
    for (int w = 1; w <= kTableCapacity; ++w) {
        if (wordMatches(t.words.at(w).text, first)) {
            walkReferences(t.words.at(w).refs, [&](int r) {
                firstFiles.push_back(t.pages.at(r).file);
                firstTitles.push_back(t.pages.at(r).title);
            });
        }
    }
    for (int w = 1; w <= kTableCapacity; ++w) {
        if (wordMatches(t.words.at(w).text, second)) {
            walkReferences(t.words.at(w).refs, [&](int r) { secondFiles.push_back(t.pages.at(r).file); });
        }
    }
    int m = 0;
    for (std::size_t e = 0; e < firstFiles.size(); ++e) {
        const QString& file = firstFiles[e];
        if (file.isEmpty()) {
            continue;
        }
        bool inSecond = false;
        for (const QString& s : secondFiles) {
            if (s == file) {
                inSecond = true;
                break;
            }
        }
        if (!inSecond) {
            continue;
        }
        bool listed = false;
        for (int i = 1; i <= m; ++i) {
            if (foundPage[static_cast<std::size_t>(i)] == file) {
                listed = true;
                break;
            }
        }
        if (!listed) {
            ++m;
            out.rows << firstTitles[e] + QLatin1Char(' ');
            foundPage[static_cast<std::size_t>(m)] = file;
            out.foundPage << file;
        }
    }
    return out;
}

void literalNarrow(const courselists::WordTable& indexWord, const QString& typed,
                   const std::function<void(const QString& row)>& addRow) {
    const QString p = upperText(trimSpaces(typed));
    for (int i = 1; i <= kTableCapacity; ++i) {
        const QString& word = indexWord.at(i).text;
        if (!word.isEmpty() && upperText(QStringView(word).left(p.size())) == p) {
            addRow(word + QLatin1Char(' '));
        }
    }
}

std::vector<history::HistRow> literalHistory(const std::vector<QString>& records,
                                             const courselists::PageTable& pages) {
    std::vector<history::HistRow> rows;
    for (const QString& record : records) {
        const QStringView entry = trimSpaces(record);
        if (entry.isEmpty()) {
            continue;
        }
        for (int w = 1; w <= kTableCapacity; ++w) {
            const QStringView name = trimSpaces(pages.at(w).file);
            if (name.isEmpty()) {
                continue;
            }
            if (entry.indexOf(name, 1, Qt::CaseInsensitive) >= 0 && rows.size() < history::kMaxHistRows) {
                rows.push_back({pages.at(w).title, pages.at(w).file});
            }
        }
    }
    return rows;
}

} // namespace torvane::bench
