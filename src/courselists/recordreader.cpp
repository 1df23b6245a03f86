#include <QFile>
#include <QFileInfo>
#include <courselists/recordreader.h>

namespace torvane::courselists {

QStringView trimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' ')) {
        ++begin;
    }
    while (end > begin && text[end - 1] == QLatin1Char(' ')) {
        --end;
    }
    return text.mid(begin, end - begin);
}

std::optional<int> parseShortInt(QStringView text) {
    const QStringView t = trimSpaces(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size()) {
        return std::nullopt;
    }
    long value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        if (value > 32768) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

QString upperText(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    QChar* o = out.data();
    for (const QChar c : text) {
        *o++ = upperChar(c);
    }
    return out;
}

std::optional<QByteArray> readWholeFile(const QString& path) {
    // Only a regular file (or a link to one) is read. Opening a FIFO for reading would block the window
    // thread until some writer came along, and a device such as /dev/zero would never end.
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential()) {
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace torvane::courselists
