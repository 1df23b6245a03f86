#pragma once

// The history window's list: the history records turned into the titles of their pages.

#include <QString>
#include <QStringView>
#include <courselists/pagelist.h>
#include <vector>

namespace torvane::history {

// One row of the history window: the text shown and the page it opens (empty: it opens nothing).
struct HistRow {
    QString text;
    QString page;
};

struct HistoryEntries {
    std::vector<QString> records; // record k of the file in records[k - 1], double quotes and all
    bool overflow = false;        // more than 20000 records: the first 20000 were kept
};

// Splits the decoded history file into its records (at most 20000; text after the last CR LF is one
// more record rather than the start of 20000 empty ones).
HistoryEntries splitHistory(QStringView text);

// The row shown for a record while the page list is unusable: the record unchanged, double quotes
// included. It opens the page the record names: the record without its spaces and enclosing double
// quotes (the history file writes every page name quoted). A record naming nothing opens nothing.
HistRow provisionalRow(const QString& record);
std::vector<HistRow> provisionalRows(const std::vector<QString>& records);

// The most rows the list holds: the window keeps the page of each row in a table of 20000 slots.
inline constexpr std::size_t kMaxHistRows = courselists::kTableCapacity;

// The history list proper. In history order, each record that is not blank gives one row for every
// page record whose page name occurs in the record from its second character on (the first is the
// opening double quote), compared without regard to letter case; several matching page records give
// rows in page-list order. The row shows the page record's title and opens its page file.
// Page records with a blank name are passed over and the pages after them still count: the page
// list may hold empty records, and stopping at the first one would hide every page after it.
// At most kMaxHistRows rows; the rest of a longer list is left out.
std::vector<HistRow> matchHistory(const std::vector<QString>& records, const courselists::PageTable& pages);

} // namespace torvane::history
