#pragma once

#include <QString>
#include <functional>

namespace torvane::platform {

// Reads one environment variable; an unset variable reads as an empty string. Passing the lookup in
// lets the start-up folder rules be exercised without touching the real process environment.
using Environment = std::function<QString(const QString& name)>;

// The lookup backed by the real process environment.
Environment systemEnvironment();

// Where the tools are installed: ProgramFiles(x86), else ProgramFiles, else the system's usual
// place for add-on software. Never ends in a separator.
QString programFilesFolder(const Environment& env);

// The user's roaming data folder: APPDATA, else (off Windows) the XDG data home. Never ends in a
// separator. Empty when the environment names no home at all; callers must treat that as unusable.
QString appDataFolder(const Environment& env);

// The viewer's own data folder under appData, ending in a separator.
QString billDir(const QString& appData);

// Folders the tools read hand-off files from, ending in a separator.
QString solidraFileFolder(const QString& appData);
QString kirvoltFileFolder(const QString& appData);

// Full paths of the tool programs under programFiles.
QString solidraProgram(const QString& programFiles);
QString kirvoltProgram(const QString& programFiles);

// The chapter test program `name` in the program's folder: "ch<name>test.exe" on Windows, "ch<name>test"
// elsewhere.
QString chapterTestProgram(const QString& programFolder, const QString& name);

// The loadable module `name` ("torvane-viewer") in `folder`: ".dll" on Windows, ".so" elsewhere.
QString moduleFile(const QString& folder, const QString& name);

} // namespace torvane::platform
