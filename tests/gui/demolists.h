#pragma once

// The demo course's word lists read plainly, line by line: what the windows should show, worked out
// without the windows' own reader and search.

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QVector>
#include <courselists/ansitext.h>

namespace torvane::testing {

struct DemoLists {
    QStringList files; // record k in files[k - 1]
    QStringList titles;
    QStringList words;
    QVector<QVector<int>> refs;

    static QStringList lines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        QStringList out = courselists::fromAnsi(file.readAll()).split(QStringLiteral("\r\n"));
        if (!out.isEmpty() && out.back().isEmpty()) {
            out.pop_back();
        }
        return out;
    }

    static DemoLists read(const QString& folder) {
        DemoLists lists;
        for (const QString& line : lines(QDir(folder).filePath(QStringLiteral("files.trv")))) {
            const QStringList f = line.split(QLatin1Char('\t'));
            lists.files << f.value(1);
            lists.titles << f.mid(2).join(QLatin1Char('\t'));
        }
        for (const QString& line : lines(QDir(folder).filePath(QStringLiteral("words.trv")))) {
            QStringList f = line.split(QLatin1Char('\t'));
            lists.words << f.takeFirst();
            QVector<int> r;
            for (const QString& n : f) {
                if (!n.isEmpty()) {
                    r << n.toInt();
                }
            }
            lists.refs << r;
        }
        return lists;
    }

    // The record numbers of the pages a word beginning with `prefix` (any case) is on: each page once,
    // in the order the words (in list order) and their references first reach it.
    QVector<int> pagesFor(const QString& prefix) const {
        QVector<int> pages;
        for (int w = 0; w < words.size(); ++w) {
            if (!words[w].startsWith(prefix, Qt::CaseInsensitive)) {
                continue;
            }
            for (const int r : refs[w]) {
                if (!pages.contains(r)) {
                    pages << r;
                }
            }
        }
        return pages;
    }

    QStringList rowsFor(const QVector<int>& pages) const {
        QStringList rows;
        for (const int r : pages) {
            rows << titles.value(r - 1) + QLatin1Char(' ');
        }
        return rows;
    }

    // The title of the page named `file`, or nothing.
    QString titleOf(const QString& file) const {
        const int i = files.indexOf(file);
        return i < 0 ? QString() : titles[i];
    }
};

} // namespace torvane::testing
