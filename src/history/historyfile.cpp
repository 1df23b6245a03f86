#include <QFile>
#include <QFileInfo>
#include <history/historyfile.h>
#include <platform/ansitext.h>

namespace torvane::history {

namespace {

bool needsEscape(QChar c) {
    return c == QLatin1Char('"') || c.unicode() < 0x20 || c.unicode() == 0x7F ||
           !platform::ansiByte(c).has_value();
}

void appendPercentEncoded(QByteArray& out, QStringView chars) {
    out.append(chars.toUtf8().toPercentEncoding());
}

// What has to come before the next record so that it starts a line of its own. A record cut short
// (a full disk, or a write the kernel ended early because the process was being killed) would
// otherwise swallow the record after it; finished off with a line end, the fragment stays on its own
// line and every later record stays whole.
QByteArray lineBreakBefore(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1)) {
        return {};
    }
    char last = 0;
    if (!file.getChar(&last) || last == '\n') {
        return {};
    }
    return last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
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
            record.append(*platform::ansiByte(c));
        }
    }
    record.append("\"\r\n");
    return record;
}

bool AppendHistory(const QString& billDir, const QString& pageName) {
    if (billDir.isEmpty()) {
        return false;
    }
    const QString path = billDir + QString::fromLatin1(kHistoryFileName);
    // Something other than a regular file in the history's place is left alone: opening a FIFO would
    // block the window thread until another program came to the other end, and a link that leads
    // nowhere would have the record create a file wherever it points.
    const QFileInfo existing(path);
    if ((existing.exists() || existing.isSymLink()) && !existing.isFile()) {
        return false;
    }
    QByteArray record = historyRecord(pageName);
    record.prepend(lineBreakBefore(path));
    // Unbuffered: the record reaches the file in one write() call, never split over two calls that a
    // kill could fall between.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return false;
    }
    const bool written = file.write(record) == record.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace torvane::history
