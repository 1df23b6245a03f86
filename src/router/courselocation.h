#pragma once

#include <QString>

namespace torvane::router {

// The address of the bundled demo course, served by the viewer itself (see coursescheme.h).
inline constexpr char kCourseScheme[] = "torvane";
inline constexpr char kBundledCourseUrl[] = "torvane://course/trv_cbt/trv2/";
// Every course folder address ends with this path.
inline constexpr char kCourseFolderPath[] = "/trv_cbt/trv2/";

struct CourseLocation final {
    QString url;   // the course folder address (FileLocn); empty when `error` is set
    QString error; // why the chosen address cannot be used
    bool bundled = false;
};

// True for an http or https address with a host whose path ends in "/trv_cbt/trv2/", and for the
// bundled course's own address.
bool isCourseFolderUrl(const QString& url);
// True for the bundled course's own address, however its scheme and host are written.
bool isBundledCourseUrl(const QString& url);

// Chooses the course folder: the environment's value, else the build's, else the bundled course.
// A chosen value that is not a course folder address gives an error that names the expected form.
CourseLocation chooseCourseLocation(const QString& fromEnvironment, const QString& fromBuild);

// The course address the program was built with (empty for the bundled course).
QString builtInCourseUrl();

} // namespace torvane::router
