#include <QUrl>
#include <router/courselocation.h>

namespace torvane::router {

bool isCourseFolderUrl(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    // A course server speaks http or https; other schemes (file:, ftp:) the browser cannot show a course
    // from. The bundled course's own address is one too.
    const QString scheme = parsed.scheme();
    const bool served = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    return parsed.isValid() && (served || isBundledCourseUrl(url)) && !parsed.host().isEmpty() &&
           !parsed.hasQuery() && !parsed.hasFragment() && parsed.path().endsWith(kCourseFolderPath);
}

bool isBundledCourseUrl(const QString& url) {
    return QUrl(url, QUrl::StrictMode) == QUrl(QString::fromLatin1(kBundledCourseUrl));
}

CourseLocation chooseCourseLocation(const QString& fromEnvironment, const QString& fromBuild) {
    const QString env = fromEnvironment.trimmed();
    const QString build = fromBuild.trimmed();
    const QString chosen = !env.isEmpty() ? env : build;
    if (chosen.isEmpty() || isBundledCourseUrl(chosen)) {
        return {QString::fromLatin1(kBundledCourseUrl), {}, true};
    }
    if (!isCourseFolderUrl(chosen)) {
        const QString source = !env.isEmpty()
                                   ? QStringLiteral("TORVANE_COURSE_URL")
                                   : QStringLiteral("the course address this program was built with");
        return {{},
                QStringLiteral("The course address \"%1\" (from %2) cannot be used.\n\n"
                               "Torvane needs the address of a course folder: an http or https address "
                               "whose path ends in \"/trv_cbt/trv2/\", for example "
                               "https://courses.example.org/trv_cbt/trv2/")
                    .arg(chosen, source),
                false};
    }
    return {chosen, {}, false};
}

QString builtInCourseUrl() {
    return QString::fromUtf8(TORVANE_BUILD_COURSE_URL);
}

} // namespace torvane::router
