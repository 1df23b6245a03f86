#pragma once

#include <QByteArray>
#include <QString>

namespace torvane::shell {

// What the learner chose for reading, kept across runs in "viewer.ini" in the data folder, beside the
// history (which a confirmed quit deletes; these stay). Nothing else is configured through it.
struct ReaderPreferences final {
    int textSize = 100;       // the course pages' zoom, per cent: one of the text-size steps
    double readingRate = 0.0; // reading aloud: -1.0 slowest .. 0 normal .. 1.0 fastest
    QString voice;            // reading aloud: the voice last used; empty for the engine's own choice
    bool darkMode = false;    // the dark reading mode of the course pages
    bool operator==(const ReaderPreferences&) const = default;
};

inline constexpr char kPreferencesFileName[] = "viewer.ini";

// The file's text: a [Reading] section of key=value lines. Unknown keys and sections are passed over; a
// value that cannot be read, or lies outside its range, leaves that preference at its default.
ReaderPreferences parsePreferences(const QByteArray& text);
QByteArray preferencesText(const ReaderPreferences& preferences);

// The preferences in `billDir` (the data folder, ending in a separator): the defaults when there is no
// data folder, no file, or a file that is not the learner's own plain file or cannot be read.
ReaderPreferences loadPreferences(const QString& billDir);
// Writes them there at once (a new file put in place of the old); false when they could not be kept.
bool savePreferences(const QString& billDir, const ReaderPreferences& preferences);

} // namespace torvane::shell
