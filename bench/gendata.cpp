#include "gendata.h"

#include <QRandomGenerator>
#include <QSet>

namespace torvane::bench {

namespace {

QString pageName(int k) {
    return QStringLiteral("tr%1%2.trv")
        .arg(1 + (k - 1) / 1000, 2, 10, QLatin1Char('0'))
        .arg(k, 4, 10, QLatin1Char('0'));
}

// Letters roughly as often as in English words, so that prefixes match realistic numbers of words.
QChar letter(QRandomGenerator& rng) {
    static const char kWeighted[] = "eeeeeeeeeeeettttttttaaaaaaaaoooooooiiiiiiinnnnnnnsssssshhhhhhrrrrrrdddd"
                                    "lllluuucccmmmwwffggyyppbbvkjxqz";
    return QLatin1Char(kWeighted[rng.bounded(static_cast<int>(sizeof(kWeighted) - 1))]);
}

} // namespace

GeneratedCourse generateCourse(const GenerateOptions& o) {
    GeneratedCourse course;
    QRandomGenerator rng(o.seed);
    courselists::SearchTables& t = course.tables;
    for (int k = 1; k <= o.pages; ++k) {
        QString name = pageName(k);
        if (o.awkward && k % 97 == 0) {
            name.clear(); // a blank record in the page list
        } else if (o.awkward && k % 89 == 0) {
            name = pageName(k - 1); // a page listed twice, under another title
        }
        t.pages.at(k).file = name;
        t.pages.at(k).title = QStringLiteral("Page %1 title").arg(k);
    }

    QSet<QString> used;
    for (int w = 1; w <= o.words; ++w) {
        QString word;
        do {
            word.clear();
            const int length = 4 + static_cast<int>(rng.bounded(7));
            for (int i = 0; i < length; ++i) {
                word += letter(rng);
            }
        } while (used.contains(word));
        used.insert(word);
        if (o.awkward && w % 13 == 0) {
            word[0] = word[0].toUpper();
        }
        if (o.awkward && w % 31 == 0) {
            word = QStringLiteral("  ") + word + QLatin1Char(' ');
        }
        t.words.at(w).text = word;
        QString refs;
        const int count = o.minRefs + static_cast<int>(rng.bounded(o.maxRefs - o.minRefs + 1));
        for (int i = 0; i < count; ++i) {
            refs += QString::number(1 + rng.bounded(o.pages)) + QLatin1Char('\t');
        }
        t.words.at(w).refs = refs;
    }

    for (int d = 0; d < o.historyRecords; ++d) {
        QString name = pageName(1 + static_cast<int>(rng.bounded(o.pages)));
        if (o.awkward && d % 7 == 0) {
            name = name.toUpper();
        }
        if (o.awkward && d % 11 == 0) {
            name = QStringLiteral("gone%1.trv").arg(d);
        }
        course.history.push_back(o.awkward && d % 17 == 0 ? QString()
                                                          : QLatin1Char('"') + name + QLatin1Char('"'));
    }
    return course;
}

} // namespace torvane::bench
