#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <router/courselocation.h>
#include <router/coursepath.h>
#include <router/coursescheme.h>

namespace torvane::router {

void registerCourseScheme() {
    QWebEngineUrlScheme scheme(kCourseScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

CourseSchemeHandler::CourseSchemeHandler(QString courseRoot, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), root_(std::move(courseRoot)) {}

void CourseSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const auto path = courseFilePath(root_, job->requestUrl().path(QUrl::FullyDecoded));
    if (!path) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // A link inside the folder that points out of it is refused as well.
    const QString canonicalRoot = QFileInfo(root_).canonicalFilePath();
    const QFileInfo info(*path);
    if (!info.isFile() || !info.canonicalFilePath().startsWith(canonicalRoot + QLatin1Char('/'))) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(*path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        delete file;
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    job->reply(courseMimeType(*path), file);
}

void confineCoursePages(QWebEngineSettings* settings) {
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

QString bundledCourseRoot() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("course"));
}

void installCourseScheme(QWebEngineProfile* profile, const QString& courseRoot) {
    if (const QWebEngineUrlSchemeHandler* installed = profile->urlSchemeHandler(kCourseScheme)) {
        const auto* course = qobject_cast<const CourseSchemeHandler*>(installed);
        if (course != nullptr && course->root() == courseRoot) {
            return;
        }
        profile->removeUrlScheme(kCourseScheme);
    }
    profile->installUrlSchemeHandler(kCourseScheme, new CourseSchemeHandler(courseRoot, profile));
}

} // namespace torvane::router
