#include <algorithm>
#include <media/narrationrequest.h>

namespace torvane::media {

namespace {

QString decodeUtf16Le(std::span<const std::uint8_t> block) {
    QString text;
    text.reserve(static_cast<qsizetype>(block.size() / 2));
    for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
        const auto unit = static_cast<char16_t>(block[i] | (block[i + 1] << 8));
        if (unit == u'\0') {
            break; // tools pad the rest of the block with zero bytes
        }
        text.append(QChar(unit));
    }
    return text;
}

// Only U+0020 counts as padding; tabs or other blanks are part of the (then refused) name.
QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') {
        ++first;
    }
    while (last > first && text[last - 1] == u' ') {
        --last;
    }
    return text.sliced(first, last - first);
}

bool isSafeNameCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_' ||
           u == u'-' || u == u'.';
}

bool isSafeClipName(const QString& name) {
    if (name.isEmpty() || name.contains(QStringLiteral(".."))) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), isSafeNameCharacter);
}

} // namespace

NarrationRequest decodeNarrationRequest(std::span<const std::uint8_t> block) {
    if (block.empty() || block[0] == 0) {
        return {};
    }
    const QString name = trimSpaces(decodeUtf16Le(block));
    if (name == QStringView(kStopClip)) {
        return {NarrationKind::Stop, name};
    }
    return {isSafeClipName(name) ? NarrationKind::Play : NarrationKind::Refused, name};
}

QString narrationClipAddress(const QString& fileLocn, const QString& clip) {
    return fileLocn + QLatin1Char('d') + clip.mid(1, 2) + QLatin1Char('/') + clip + QStringLiteral(".wav");
}

} // namespace torvane::media
