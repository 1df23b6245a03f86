#include <QLatin1String>
#include <initializer_list>
#include <router/moduletable.h>
#include <router/pagenames.h>

namespace torvane::router {

namespace {

constexpr QLatin1String kTrv(".trv");

bool inVariantRange(ScreenSize size) {
    return size >= 1 && size <= 7;
}

// Characters `first`..`first + count - 1` (counted from 1) that exist in `name`; missing ones are
// simply absent, so short names give short (possibly empty) results.
QStringView chars(QStringView name, qsizetype first, qsizetype count) {
    return name.mid(first - 1, count);
}

bool isDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Two decimal digits at position `first`; nothing when either is missing or not '0'..'9'.
std::optional<int> twoDigitsAt(QStringView name, qsizetype first) {
    if (name.size() < first + 1)
        return std::nullopt;
    const QChar tens = name[first - 1];
    const QChar units = name[first];
    if (!isDecimalDigit(tens) || !isDecimalDigit(units))
        return std::nullopt;
    return (tens.unicode() - u'0') * 10 + (units.unicode() - u'0');
}

bool isOneOfVariants(QStringView name, QStringView prefix) {
    // prefix + one letter 'a'..'g' + ".trv", nothing more.
    if (name.size() != prefix.size() + 1 + kTrv.size())
        return false;
    if (!name.startsWith(prefix) || !name.endsWith(kTrv))
        return false;
    const QChar letter = name[prefix.size()];
    return letter >= u'a' && letter <= u'g';
}

bool hasModulePrefix(QStringView name) {
    return name.startsWith(u"mod") || name.startsWith(u"obj") || name.startsWith(u"rev");
}

QString concat(std::initializer_list<QStringView> parts) {
    QString out;
    for (QStringView part : parts)
        out.append(part);
    return out;
}

// The name up to its first ".trv", or the whole name when it has none.
QStringView baseOf(QStringView name) {
    const qsizetype at = name.indexOf(kTrv);
    return at < 0 ? name : name.first(at);
}

} // namespace

std::optional<QChar> variantLetter(ScreenSize size) {
    if (!inVariantRange(size))
        return std::nullopt;
    return QChar(u'a' + (size - 1));
}

QChar letterOrA(ScreenSize size) {
    return variantLetter(size).value_or(QChar(u'a'));
}

std::optional<QString> variantPageName(QStringView base, ScreenSize size) {
    const std::optional<QChar> letter = variantLetter(size);
    if (!letter)
        return std::nullopt;
    return base.toString() + *letter + kTrv;
}

QString contentsPage(ScreenSize size) {
    return QStringLiteral("trv") + letterOrA(size) + kTrv;
}

QString secondContentsPage(ScreenSize size) {
    return QStringLiteral("trvcr") + letterOrA(size) + kTrv;
}

bool isContentsPage(QStringView name) {
    return isOneOfVariants(name, u"trv");
}

bool isSecondContentsPage(QStringView name) {
    return isOneOfVariants(name, u"trvcr");
}

std::optional<int> moduleNumber(QStringView name) {
    if (name.startsWith(u"tr")) {
        if (const std::optional<int> number = twoDigitsAt(name, 3))
            return number;
    }
    if (hasModulePrefix(name))
        return twoDigitsAt(name, 4);
    return std::nullopt;
}

QString caption(QStringView name) {
    const std::optional<int> module = moduleNumber(name);
    if (!module)
        return QStringLiteral("Torvane");
    return QStringLiteral("Torvane - Module ") + QString::number(*module);
}

PageClass classify(QStringView name) {
    if (name.startsWith(u"fig") || name == u"title.trv" || name.startsWith(u"ttv"))
        return PageClass::Video;
    if (name.startsWith(u"v"))
        return PageClass::Narration;
    if (hasModulePrefix(name))
        return PageClass::ModulePage;
    if (name == u"search.trv")
        return PageClass::SearchWindow;
    if (name == u"index.trv")
        return PageClass::IndexWindow;
    if (name == u"hist.trv")
        return PageClass::HistoryWindow;
    if (isContentsPage(name))
        return PageClass::Contents;
    if (isSecondContentsPage(name))
        return PageClass::SecondContents;
    if (isPlaceholder(name))
        return PageClass::ModulePlaceholder;
    return PageClass::Ordinary;
}

std::optional<QString> videoAddress(QStringView fileLocn, QStringView name) {
    if (name == u"title.trv")
        return concat({fileLocn, u"trv/title.avi"});
    if (name.startsWith(u"ttv"))
        return concat({fileLocn, u"TechTips/tt", chars(name, 4, 2), u".avi"});
    if (name.startsWith(u"fig"))
        return concat({fileLocn, u"d", chars(name, 4, 2), u"/", baseOf(name), u".avi"});
    return std::nullopt;
}

std::optional<QString> narrationAddress(QStringView fileLocn, QStringView name) {
    if (!name.startsWith(u"v"))
        return std::nullopt;
    return concat({fileLocn, u"d", chars(name, 2, 2), u"/", baseOf(name), u".wav"});
}

} // namespace torvane::router
