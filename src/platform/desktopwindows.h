#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace torvane::platform {

// Which of `titles` a look for `title` finds: the first that equals it, else the first that begins
// with it. Nothing when none does (an empty `title` finds nothing).
std::optional<qsizetype> chooseWindowByTitle(const QStringList& titles, const QString& title);

// The titles of the desktop's top-level application windows, of every process: shown ones, minimised
// ones and those on another workspace, but no hidden window, box, dialog, splash, tool palette, menu or
// other transient window.
QStringList topLevelWindowTitles();

// Brings the application window chosen by chooseWindowByTitle among those to the front, restored if it
// was minimised, and gives it the focus. False when there is no such window (or no desktop to look at).
bool bringWindowToFront(const QString& title);

// True while a window manager looks after the desktop's windows (maximises, restores, frames them).
bool windowManagerRuns();

// True while the left mouse button is held down, wherever the pointer is.
bool leftButtonDown();

// How a started program's main window should come up.
enum class WindowStyle { Normal, Maximized };

// Starts a program detached from this one, its window in `style` with the focus. False when it cannot
// be started. (On X11 a maximised program's first window is maximised once it shows, within half a
// minute; this needs the application object's event loop.)
bool startProgram(const QString& program, const QStringList& arguments, WindowStyle style);

// Ends the process `pid` at once (a browser renderer stuck in a page's script). False when there is no
// such process or it cannot be ended.
bool endProcess(qint64 pid);

} // namespace torvane::platform
