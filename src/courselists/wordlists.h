#pragma once

// The word list "words.trv": one record per word, "word TAB references", the references being the
// record numbers of the "files.trv" pages the word occurs on, each followed by a TAB. The page list
// itself is read by courselists::readPageList (the history window reads it too).

#include <QString>
#include <QStringView>
#include <courselists/pagelist.h>
#include <courselists/slottable.h>

namespace torvane::courselists {

using courselists::kTableCapacity;
using courselists::ListReadResult;
using courselists::PageTable;

inline constexpr char kWordListFileName[] = "words.trv";

// One word of the list, as stored (spaces and letter case as written), and its references.
struct WordEntry {
    QString text;
    QString refs;
};
// The words by record number.
using WordTable = SlotTable<WordEntry>;

// Reads the decoded text of "words.trv" into `into`, record k into slot k: the text before the first TAB
// is the word, everything after it the references. A record without a TAB stores nothing.
ListReadResult readWordList(QStringView text, WordTable& into);

// The page list and the word list together: what the search window searches.
struct SearchTables {
    PageTable pages;
    WordTable words;
};

} // namespace torvane::courselists
