#pragma once

// The page list "files.trv": one record per searchable page, "number TAB page file TAB title". A
// record's position is its identity: the word list and the history window refer to pages by it.

#include <QString>
#include <QStringView>
#include <courselists/recordreader.h>
#include <courselists/slottable.h>

namespace torvane::courselists {

inline constexpr char kPageListFileName[] = "files.trv";

// One page of the list: its file name, relative to the course folder, and the title its rows show.
struct PageEntry {
    QString file;
    QString title;
};
// The pages by record number.
using PageTable = SlotTable<PageEntry>;

struct ListReadResult {
    int records = 0;       // records read, the empty ones included
    bool overflow = false; // more than 20000 records: the first 20000 were kept
    bool failed = false;   // a bad record ended the reading; the records before it were kept
};

// The fields of one "files.trv" record. A record without a TAB stores nothing and is not checked. A
// record with a TAB has its first field checked as a 16-bit whole number (`valid`); with a second TAB it
// also names a page (`stores`): the file name between the two TABs, the title everything after the
// second TAB, further TABs included.
struct PageRecord {
    bool valid = true;
    bool stores = false;
    QStringView file;
    QStringView title;
};
PageRecord splitPageRecord(QStringView record);

// Reads the decoded text of "files.trv" into `into`, record k into slot k. A first field that is not a
// whole number from -32768 to 32767 ends the reading there (`failed`).
ListReadResult readPageList(QStringView text, PageTable& into);

} // namespace torvane::courselists
