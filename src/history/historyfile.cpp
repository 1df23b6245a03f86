#include <QFile>
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
    QFile file(billDir + QString::fromLatin1(kHistoryFileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    // One write of the whole record: a record is never torn by a crash between two writes.
    const QByteArray record = historyRecord(pageName);
    const bool written = file.write(record) == record.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace torvane::history
