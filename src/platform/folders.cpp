#include <QDir>
#include <QStringList>
#include <platform/folders.h>

namespace torvane::platform {

namespace {

#ifdef Q_OS_WIN
constexpr QChar kSep = u'\\';
constexpr auto kExeSuffix = ".exe";
constexpr auto kModuleSuffix = ".dll";
#else
constexpr QChar kSep = u'/';
constexpr auto kExeSuffix = "";
constexpr auto kModuleSuffix = ".so";
#endif

// Environment values are typed by people and installers; a trailing separator would double up
// when the viewer appends its own parts.
QString withoutTrailingSeparators(QString path) {
    while (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\')))
        path.chop(1);
    return path;
}

QString firstNonEmpty(const Environment& env, const QStringList& names) {
    for (const QString& name : names) {
        const QString value = env(name);
        if (!value.isEmpty())
            return withoutTrailingSeparators(value);
    }
    return {};
}

// Joins parts with the native separator; a trailing separator is added when asked, because the
// folder paths are handed on as prefixes that file names are glued to.
QString joined(const QString& base, const QStringList& parts, bool trailing) {
    QString path = base;
    for (const QString& part : parts)
        path += kSep + part;
    if (trailing)
        path += kSep;
    return path;
}

#ifndef Q_OS_WIN
QString xdgDataHome(const Environment& env) {
    // A relative XDG_DATA_HOME is invalid and must be ignored rather than resolved against
    // whatever the current folder happens to be.
    const QString xdg = withoutTrailingSeparators(env(QStringLiteral("XDG_DATA_HOME")));
    if (QDir::isAbsolutePath(xdg))
        return xdg;
    const QString home = withoutTrailingSeparators(env(QStringLiteral("HOME")));
    if (home.isEmpty())
        return {};
    return joined(home, {QStringLiteral(".local"), QStringLiteral("share")}, false);
}
#endif

} // namespace

Environment systemEnvironment() {
    return [](const QString& name) { return qEnvironmentVariable(name.toLocal8Bit().constData()); };
}

QString programFilesFolder(const Environment& env) {
    const QString found =
        firstNonEmpty(env, {QStringLiteral("ProgramFiles(x86)"), QStringLiteral("ProgramFiles")});
    if (!found.isEmpty())
        return found;
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Program Files");
#else
    return QStringLiteral("/opt");
#endif
}

QString appDataFolder(const Environment& env) {
    const QString appData = firstNonEmpty(env, {QStringLiteral("APPDATA")});
    if (!appData.isEmpty())
        return appData;
#ifdef Q_OS_WIN
    const QString profile = firstNonEmpty(env, {QStringLiteral("USERPROFILE")});
    if (profile.isEmpty())
        return {};
    return joined(profile, {QStringLiteral("AppData"), QStringLiteral("Roaming")}, false);
#else
    return xdgDataHome(env);
#endif
}

QString billDir(const QString& appData) {
    return joined(appData, {QStringLiteral("Parlenta"), QStringLiteral("Torvane")}, true);
}

QString solidraFileFolder(const QString& appData) {
    return joined(appData,
                  {QStringLiteral("Parlenta"), QStringLiteral("Solidra"), QStringLiteral("POE_CIRS")}, true);
}

QString kirvoltFileFolder(const QString& appData) {
    return joined(appData,
                  {QStringLiteral("Parlenta"), QStringLiteral("Kirvolt"), QStringLiteral("TRV_CKTS")}, true);
}

QString solidraProgram(const QString& programFiles) {
    return joined(programFiles,
                  {QStringLiteral("Parlenta"), QStringLiteral("Solidra"),
                   QStringLiteral("Solidra") + QLatin1String(kExeSuffix)},
                  false);
}

QString kirvoltProgram(const QString& programFiles) {
    return joined(programFiles,
                  {QStringLiteral("Parlenta"), QStringLiteral("Kirvolt"),
                   QStringLiteral("kirvolt") + QLatin1String(kExeSuffix)},
                  false);
}

QString chapterTestProgram(const QString& programFolder, const QString& name) {
    return joined(programFolder,
                  {QStringLiteral("ch") + name + QStringLiteral("test") + QLatin1String(kExeSuffix)}, false);
}

QString moduleFile(const QString& folder, const QString& name) {
    return joined(folder, {name + QLatin1String(kModuleSuffix)}, false);
}

} // namespace torvane::platform
