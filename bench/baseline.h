#pragma once

// The search, the index narrowing and the history matching done the plain step-by-step way the viewer
// first did them: linear rescans, a fresh 20001-slot table per search, a scan of every page name
// for every history record. Kept as the baseline the fast versions are measured and checked against.

#include <QString>
#include <QStringList>
#include <courselists/wordlists.h>
#include <functional>
#include <history/histlist.h>
#include <vector>

namespace torvane::bench {

struct FoundRows {
    QStringList rows;      // title and a space, in list order
    QStringList foundPage; // the page file name behind each row
};

// cmdFTS_Click's search for what was typed (one or two words).
FoundRows literalSearch(const courselists::SearchTables& tables, const QString& typed);

// txtInput_Change's narrowing: every slot compared, each matching row added on its own.
void literalNarrow(const courselists::WordTable& indexWord, const QString& typed,
                   const std::function<void(const QString& row)>& addRow);

// LoadHist's third phase: every history record searched for every page name. Empty page names are
// passed over (the mended rule), and the list stops at 20000 rows, as the window's table does.
std::vector<history::HistRow> literalHistory(const std::vector<QString>& records,
                                             const courselists::PageTable& pages);

} // namespace torvane::bench
