#pragma once

// The word list "words.trv": one record per word, "word TAB references", the references being the
// record numbers of the "files.trv" pages the word occurs on, each followed by a TAB. The page list
// itself is read by courselists::readPageList (the history window reads it too).

#include <QString>
#include <QStringView>
#include <courselists/pagelist.h>
#include <vector>

namespace torvane::courselists {

using courselists::kTableCapacity;
using courselists::ListReadResult;
using courselists::PageTable;

inline constexpr char kWordListFileName[] = "words.trv";

// Words and their reference lists by record number; slot 0 is never filled, an unfilled slot is empty.
struct WordTable {
    explicit WordTable(bool withRefs = true)
        : text(kTableCapacity + 1), refs(withRefs ? kTableCapacity + 1 : 0) {}
    std::vector<QString> text;
    std::vector<QString> refs; // empty when the table keeps the words alone (the index window)
};

// Reads the decoded text of "words.trv" into `into`, record k into slot k: the text before the first TAB
// is the word, everything after it the references (kept only when `into` has room for them). A record
// without a TAB stores nothing.
ListReadResult readWordList(QStringView text, WordTable& into);

// The page list and the word list together: what the search window searches.
struct SearchTables {
    PageTable pages;
    WordTable words;
};

} // namespace torvane::courselists
