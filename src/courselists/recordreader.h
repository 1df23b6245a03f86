#pragma once

// The framing shared by the course's list files ("files.trv", "words.trv") and the history file:
// Windows-1252 text read whole, records ending in CR LF, numbered by position from 1, at most 20000
// of them. It lives here, below the search folder, because the history window reads the page list
// too and the history folder may not use the search folder.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace torvane::courselists {

// Records a list holds; the tables have the slots 0..20000 and slot 0 is never filled.
inline constexpr int kTableCapacity = 20000;

// Removes leading and trailing spaces (character 32 only; TABs and other blanks stay), the trimming the
// lists and the history have always used.
QStringView trimSpaces(QStringView text);

// A signed 16-bit whole number written in decimal, with optional spaces around it and an optional
// sign: " 7", "-32768", "+12". Anything else (empty text, letters, fractions, a value outside
// -32768..32767) gives nothing.
std::optional<int> parseShortInt(QStringView text);

// A character as the lists compare it without regard to case: its single-character upper-case form
// (so a word never changes length when compared, unlike QString::toUpper with "ß").
inline QChar upperChar(QChar c) {
    return c.toUpper();
}
QString upperText(QStringView text);

struct FramingResult {
    int records = 0;       // records handed to the callback
    bool overflow = false; // a record beyond `capacity` was left unread
    bool stopped = false;  // the callback refused a record and the reading ended there
};

// Cuts `text` into records: a record is the text before the next CR; the CR and the one character after
// it (the LF) are dropped. Record k (from 1) is handed to onRecord(k, record); returning false ends the
// reading there. Text after the last CR LF is the last record: the lists are written with a CR LF after
// every record, but a file cut short or edited by hand must not be read as 20000 empty records.
// Empty text holds no record. When a record number would pass `capacity` the reading stops with
// `overflow` set; the records before it have been handed over.
template <typename OnRecord>
FramingResult forEachRecord(QStringView text, int capacity, OnRecord&& onRecord) {
    FramingResult result;
    QStringView rest = text;
    while (!rest.isEmpty()) {
        if (result.records >= capacity) {
            result.overflow = true;
            break;
        }
        const qsizetype cr = rest.indexOf(QLatin1Char('\r'));
        QStringView record;
        if (cr >= 0) {
            record = rest.left(cr);
            rest = rest.mid(std::min(cr + 2, rest.size()));
        } else {
            record = rest;
            rest = {};
        }
        ++result.records;
        if (!onRecord(result.records, record)) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

// Reads a whole file in one read. Nothing when it cannot be opened or read, or is not a regular file
// (a folder, a FIFO, a device).
std::optional<QByteArray> readWholeFile(const QString& path);

} // namespace torvane::courselists
