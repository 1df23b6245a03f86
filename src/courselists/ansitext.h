#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace torvane::courselists {

// The system's ANSI code page for the course's text files: Windows-1252. Every byte decodes (the five
// bytes Windows-1252 leaves unassigned decode to the control characters of the same number, as the
// system does).
QString fromAnsi(QByteArrayView bytes);

// The byte for one character, or nothing when Windows-1252 has no byte for it.
std::optional<char> ansiByte(QChar c);

// Encodes `text`; a character without a byte becomes '?'.
QByteArray toAnsi(QStringView text);

} // namespace torvane::courselists
