#pragma once

#include <QString>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;
class QWebEngineSettings;

namespace torvane::router {

// Declares the bundled course's scheme to the browser engine. Must run before the application object
// is created. The scheme is secure and local files stay out of its pages' reach.
void registerCourseScheme();

// Serves the bundled course: "torvane://course/trv_cbt/trv2/<name>" is the file <name> of the course
// folder on disk. Anything outside that folder is "not found"; course pages are served as web pages.
class CourseSchemeHandler final : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    explicit CourseSchemeHandler(QString courseRoot, QObject* parent = nullptr);
    void requestStarted(QWebEngineUrlRequestJob* job) override;
    const QString& root() const { return root_; }

private:
    QString root_;
};

// The course folder on disk that comes with the program: "course" beside the executable.
QString bundledCourseRoot();

// What a course page may reach: never the learner's local files, and nothing read from local files goes
// out to the network. For every browser that shows course pages (the main window's, the popup's).
void confineCoursePages(QWebEngineSettings* settings);

// Makes `profile` serve the bundled course from `courseRoot`; a profile that served another folder
// serves this one from now on.
void installCourseScheme(QWebEngineProfile* profile, const QString& courseRoot);

} // namespace torvane::router
