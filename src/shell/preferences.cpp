#include <QList>
#include <algorithm>
#include <base/logging.h>
#include <courselists/recordreader.h>
#include <optional>
#include <platform/ownfiles.h>
#include <shell/preferences.h>
#include <shell/textsizesteps.h>

namespace torvane::shell {

namespace {

const QByteArray kSection = "[Reading]";

std::optional<bool> flag(const QByteArray& value) {
    if (value == "true" || value == "1") {
        return true;
    }
    if (value == "false" || value == "0") {
        return false;
    }
    return std::nullopt;
}

void take(ReaderPreferences& p, const QByteArray& key, const QByteArray& value) {
    bool ok = false;
    if (key == "TextSize") {
        const int size = value.toInt(&ok);
        if (ok && isTextSizeStep(size)) {
            p.textSize = size;
        }
    } else if (key == "ReadingRate") {
        const double rate = value.toDouble(&ok);
        if (ok && rate >= -1.0 && rate <= 1.0) {
            p.readingRate = rate;
        }
    } else if (key == "Voice") {
        p.voice = QString::fromUtf8(value);
    } else if (key == "DarkMode") {
        p.darkMode = flag(value).value_or(p.darkMode);
    }
}

} // namespace

ReaderPreferences parsePreferences(const QByteArray& text) {
    ReaderPreferences p;
    bool inSection = false;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = line == kSection;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals <= 0) {
            continue;
        }
        take(p, line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return p;
}

QByteArray preferencesText(const ReaderPreferences& p) {
    QByteArray text = kSection + '\n';
    text += "TextSize=" + QByteArray::number(p.textSize) + '\n';
    text += "ReadingRate=" + QByteArray::number(p.readingRate, 'f', 1) + '\n';
    text += "Voice=" + p.voice.simplified().toUtf8() + '\n';
    text += QByteArray("DarkMode=") + (p.darkMode ? "true" : "false") + '\n';
    return text;
}

ReaderPreferences loadPreferences(const QString& billDir) {
    if (billDir.isEmpty()) {
        return {};
    }
    const QString path = billDir + QString::fromLatin1(kPreferencesFileName);
    if (!platform::isOwnFile(path)) {
        return {};
    }
    const std::optional<QByteArray> bytes = courselists::readWholeFile(path);
    if (!bytes) {
        qCWarning(base::lcPlatform) << path << "could not be read: the reading preferences are the defaults";
        return {};
    }
    return parsePreferences(*bytes);
}

bool savePreferences(const QString& billDir, const ReaderPreferences& preferences) {
    if (billDir.isEmpty()) {
        return false;
    }
    const QString path = billDir + QString::fromLatin1(kPreferencesFileName);
    if (!platform::replaceOwnFile(path, preferencesText(preferences))) {
        qCWarning(base::lcPlatform) << "the reading preferences could not be kept in" << path;
        return false;
    }
    return true;
}

} // namespace torvane::shell
