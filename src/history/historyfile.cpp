#include <courselists/ansitext.h>
#include <history/historyfile.h>
#include <platform/ownfiles.h>

namespace torvane::history {

namespace {

bool needsEscape(QChar c) {
    return c == QLatin1Char('"') || c.unicode() < 0x20 || c.unicode() == 0x7F ||
           !courselists::ansiByte(c).has_value();
}

void appendPercentEncoded(QByteArray& out, QStringView chars) {
    out.append(chars.toUtf8().toPercentEncoding());
}

// What has to come before the next record so that it starts a line of its own, given the byte the
// file ends with. A record cut short (a full disk, or a write the kernel ended early because the
// process was being killed) would otherwise swallow the record after it; finished off with a line end,
// the fragment stays on its own line and every later record stays whole.
QByteArray lineBreakBefore(std::optional<char> last) {
    if (!last || *last == '\n') {
        return {};
    }
    return *last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
}

} // namespace

QByteArray historyRecord(const QString& pageName) {
    QByteArray record;
    record.reserve(pageName.size() + 4);
    record.append('"');
    for (qsizetype i = 0; i < pageName.size(); ++i) {
        const QChar c = pageName[i];
        if (c.isHighSurrogate() && i + 1 < pageName.size() && pageName[i + 1].isLowSurrogate()) {
            appendPercentEncoded(record, QStringView(pageName).mid(i, 2));
            ++i;
        } else if (needsEscape(c)) {
            appendPercentEncoded(record, QStringView(pageName).mid(i, 1));
        } else {
            record.append(*courselists::ansiByte(c));
        }
    }
    record.append("\"\r\n");
    return record;
}

bool AppendHistory(const QString& billDir, const QString& pageName) {
    if (billDir.isEmpty()) {
        return false;
    }
    // Only into a history file of the learner's own: never through a link planted in its place, nor
    // into a file with another name or owner. Something other than a regular file there (a FIFO that
    // would block the window thread) is left alone too. The record goes out in one write, never split
    // over two calls that a kill could fall between.
    const QByteArray record = historyRecord(pageName);
    return platform::appendToOwnFile(
        billDir + QString::fromLatin1(kHistoryFileName),
        [&record](std::optional<char> last) { return lineBreakBefore(last) + record; });
}

} // namespace torvane::history
