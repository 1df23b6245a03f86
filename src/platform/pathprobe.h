#pragma once

#include <QString>

namespace torvane::platform {

// What a look at one path found. `Error` means the look itself failed (a medium taken out, a loop of
// links, a name too long...), which is not the same as the path being absent.
enum class PathState { Absent, File, Directory, Error };

struct PathProbe final {
    PathState state = PathState::Absent;
    QString error; // the system's description when state is Error
};

PathProbe probePath(const QString& path);

// Whether a new file can be made in `folder`, found out by making (and removing) one: permission bits
// alone do not tell, since the administrator ignores them and a read-only medium overrides them.
bool canCreateFilesIn(const QString& folder);

} // namespace torvane::platform
