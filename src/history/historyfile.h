#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace torvane::history {

// The history file's name inside the learner's data folder.
inline constexpr char kHistoryFileName[] = "history.trv";

// One record of the history file: double quote, page name, double quote, CR LF, in Windows-1252.
// A page name is an address part, so a character that would break the record (a double quote, CR,
// LF, any other control character) or that Windows-1252 cannot hold is written percent-encoded as
// the address would carry it (UTF-8 bytes): the record stays one whole line that still names the page.
QByteArray historyRecord(const QString& pageName);

// Appends one record to billDir + "history.trv", creating the file when missing. The file is opened,
// written with one write and closed again; nothing is held open. A file whose last record was cut
// short gets that line ended first, so the new record is a line of its own. False when the record
// was lost (no data folder, a full disk, a locked file...); the caller carries on either way.
bool AppendHistory(const QString& billDir, const QString& pageName);

} // namespace torvane::history
