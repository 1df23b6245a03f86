#include "pagetext.h"

#include <algorithm>
#include <courselists/ansitext.h>

namespace torvane::tools {

namespace {

constexpr const char* kStopWords[] = {
    "about", "after",  "all",   "also",  "and",     "any",  "are",   "because", "been",  "before", "being",
    "both",  "but",    "can",   "does",  "each",    "for",  "from",  "had",     "has",   "have",   "how",
    "into",  "its",    "may",   "more",  "most",    "not",  "only",  "other",   "our",   "out",    "over",
    "same",  "should", "some",  "such",  "than",    "that", "the",   "their",   "them",  "then",   "there",
    "these", "they",   "this",  "those", "through", "too",  "under", "very",    "was",   "were",   "what",
    "when",  "where",  "which", "while", "who",     "why",  "will",  "with",    "would", "you",    "your",
};

} // namespace

bool isStopWord(QStringView lowerWord) {
    return std::any_of(std::begin(kStopWords), std::end(kStopWords),
                       [&](const char* w) { return lowerWord == QLatin1String(w); });
}

QStringList indexWords(QStringView text) {
    QStringList words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && !text[i].isLetter()) {
            ++i;
        }
        const qsizetype start = i;
        while (i < text.size() && text[i].isLetter()) {
            ++i;
        }
        if (i - start < 3) {
            continue;
        }
        QString word = text.mid(start, i - start).toString();
        for (QChar& c : word) {
            c = c.toLower();
        }
        const bool encodable = std::all_of(word.begin(), word.end(),
                                           [](QChar c) { return courselists::ansiByte(c).has_value(); });
        if (encodable && !isStopWord(word)) {
            words.push_back(word);
        }
    }
    return words;
}

} // namespace torvane::tools
