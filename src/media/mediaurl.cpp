#include <QFileInfo>
#include <media/mediaurl.h>
#include <router/courselocation.h>
#include <router/coursepath.h>

namespace torvane::media {

namespace {

constexpr char kBundledCourseHost[] = "course";

// A file that exists must still lie inside the course folder once links are followed.
bool staysInsideCourse(const QString& path, const QString& courseRoot) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return true; // nothing to escape through; the player reports the missing file itself
    }
    const QString root = QFileInfo(courseRoot).canonicalFilePath();
    return !root.isEmpty() && info.canonicalFilePath().startsWith(root + QLatin1Char('/'));
}

QUrl bundledCourseFile(const QUrl& url, const QString& courseRoot) {
    if (url.host() != QLatin1String(kBundledCourseHost) || !url.userInfo().isEmpty() || url.port() != -1) {
        return {};
    }
    const auto path = router::courseFilePath(courseRoot, url.path(QUrl::FullyDecoded));
    if (!path || !staysInsideCourse(*path, courseRoot)) {
        return {};
    }
    return QUrl::fromLocalFile(*path);
}

} // namespace

QUrl resolveCourseMediaUrl(const QString& address, const QString& courseRoot) {
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid()) {
        return {};
    }
    const QString scheme = url.scheme();
    if (scheme == QLatin1String(router::kCourseScheme)) {
        return bundledCourseFile(url, courseRoot);
    }
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty()) {
        return url;
    }
    return {};
}

} // namespace torvane::media
