#pragma once

#include <QString>
#include <optional>

namespace torvane::router {

// The file behind a path of the bundled course's address, or nothing when the path lies outside the
// course folder (not under "/trv_cbt/trv2/", or climbing out of it with "..").
// `courseRoot` is the course folder on disk; `urlPath` is the fully decoded path of the address.
std::optional<QString> courseFilePath(const QString& courseRoot, const QString& urlPath);

// The content type the course server gives a file: course pages (".trv") are web pages.
QByteArray courseMimeType(const QString& fileName);

} // namespace torvane::router
