#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <router/courselocation.h>
#include <router/coursepath.h>

namespace torvane::router {

std::optional<QString> courseFilePath(const QString& courseRoot, const QString& urlPath) {
    const QString prefix = QString::fromLatin1(kCourseFolderPath);
    if (courseRoot.isEmpty() || !urlPath.startsWith(prefix) || urlPath.contains(QChar(0)) ||
        urlPath.contains(QLatin1Char('\\'))) {
        return std::nullopt;
    }
    const QString relative = urlPath.mid(prefix.size());
    if (relative.isEmpty()) {
        return std::nullopt;
    }
    const QString root = QDir::cleanPath(courseRoot);
    const QString candidate = QDir::cleanPath(root + QLatin1Char('/') + relative);
    if (!candidate.startsWith(root + QLatin1Char('/'))) {
        return std::nullopt;
    }
    return candidate;
}

QByteArray courseMimeType(const QString& fileName) {
    static const QHash<QString, QByteArray> types{
        {"trv", "text/html"},     {"html", "text/html"},      {"htm", "text/html"},
        {"css", "text/css"},      {"js", "text/javascript"},  {"png", "image/png"},
        {"jpg", "image/jpeg"},    {"jpeg", "image/jpeg"},     {"gif", "image/gif"},
        {"svg", "image/svg+xml"}, {"avi", "video/x-msvideo"}, {"wav", "audio/wav"},
    };
    return types.value(QFileInfo(fileName).suffix().toLower(), "application/octet-stream");
}

} // namespace torvane::router
