#pragma once

#include <QString>
#include <platform/folders.h>

namespace torvane::platform {

// The per-user folder holding the shared block files and the instance lock, or the reason it
// cannot be used. The error text is written for the user; the caller decides how to show it.
struct RuntimeFolder final {
    QString path;  // no trailing separator; empty on error
    QString error; // empty on success

    bool ok() const { return error.isEmpty(); }
};

// Where the runtime folder lives: $XDG_RUNTIME_DIR/torvane, or /tmp/torvane-<uid> without
// XDG_RUNTIME_DIR; on Windows %LOCALAPPDATA%\Torvane.
QString runtimeFolderPath(const Environment& env);

// Makes `path` usable as the runtime folder: creates it (mode 0700) when missing, refuses a
// symlink, a non-folder or another user's folder, and sets its mode to exactly 0700.
RuntimeFolder prepareRuntimeFolder(const QString& path);

// prepareRuntimeFolder(runtimeFolderPath(systemEnvironment())).
RuntimeFolder runtimeFolder();

} // namespace torvane::platform
