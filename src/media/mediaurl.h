#pragma once

#include <QString>
#include <QUrl>

namespace torvane::media {

// The address the media backend is given for a course media address, or an empty URL when the
// address must not be opened at all:
// - "torvane://course/trv_cbt/trv2/<name>", which only the viewer itself serves, becomes the file
//   <name> of `courseRoot`, provided it stays inside that folder (also through symbolic links);
// - http and https addresses are the course's own web server and pass unchanged;
// - everything else (local files named directly, data:, javascript:, empty text) is refused.
QUrl resolveCourseMediaUrl(const QString& address, const QString& courseRoot);

} // namespace torvane::media
