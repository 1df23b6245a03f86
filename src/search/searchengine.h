#pragma once

// The full-text search over the two word lists: which pages one word, or two words together, reach.

#include <QString>
#include <QStringView>
#include <courselists/wordlists.h>
#include <search/prefixorder.h>
#include <vector>

namespace torvane::search {

// What the learner typed, made into search words: spaces around it removed; no space inside gives one
// word; otherwise the first word is the text before the first space and the second the next word after
// it (more spaces between them change nothing); any further words are ignored.
struct SearchQuery {
    int wordCount = 0; // 0: nothing to search for
    QString first;
    QString second;
};
SearchQuery parseQuery(QStringView text);

// The page record numbers of one reference list. The lists are built as numbers each followed by a TAB;
// one broken by hand is read as safely as it goes: text after the last TAB counts as one more number, an
// empty or blank piece is passed over, and so is a piece that is not a whole number from 0 to 20000.
// The rest of the list still counts.
std::vector<int> parseReferences(QStringView refs);

// The count line under a search: "Found:  " (two spaces), the number of rows, " pages".
QString foundPagesLine(std::size_t rows);

class SearchIndex final {
public:
    SearchIndex() = default;
    // Prepares the lookups over `tables` (the word keys, the parsed references and one number per
    // distinct page file name). Later changes to `tables` are not seen.
    explicit SearchIndex(const courselists::SearchTables& tables);

    // The word records a search word matches: the word, spaces around it removed, begins with the search
    // word, without regard to case. In table order.
    std::vector<int> matchingWords(QStringView word) const;

    // The result rows as page record numbers, in row order. One word: each page once, in the order the
    // matching words (in table order) and their references (in list order) first reach it. Two words:
    // the pages both reach, once each, in the order the first word reaches them. Pages are told apart by
    // their file names, exactly (letter case counts); a page with an empty file name is never listed.
    // Nothing is cut at 20000: the pages are at most the page list's 20000 records.
    std::vector<int> search(const SearchQuery& query) const;

private:
    std::vector<int> searchOne(QStringView word) const;
    std::vector<int> searchTwo(QStringView first, QStringView second) const;

    PrefixOrder words_;
    std::vector<int> refStart_; // word slot -> first entry in refs_; refStart_[slot + 1] ends it
    std::vector<int> refs_;     // page record numbers
    std::vector<int> pageId_;   // page record number -> number of its file name; -1 for an empty name
    int pageIdCount_ = 0;
};

} // namespace torvane::search
