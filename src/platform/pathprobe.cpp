#include <QDir>
#include <QTemporaryFile>
#include <filesystem>
#include <platform/pathprobe.h>
#include <system_error>

namespace torvane::platform {

PathProbe probePath(const QString& path) {
    if (path.isEmpty()) {
        return {PathState::Absent, {}};
    }
    std::error_code ec;
    const auto status = std::filesystem::status(path.toStdString(), ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {PathState::Absent, {}};
    }
    if (ec) {
        return {PathState::Error, QString::fromStdString(ec.message())};
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return {PathState::Directory, {}};
    }
    return {PathState::File, {}};
}

bool canCreateFilesIn(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-probe-XXXXXX")));
    return probe.open(); // removed again when `probe` goes
}

} // namespace torvane::platform
