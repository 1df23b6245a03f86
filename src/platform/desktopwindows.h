#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace torvane::platform {

// Which of `titles` a look for `title` finds: the first that equals it, else the first that begins
// with it. Nothing when none does (an empty `title` finds nothing).
std::optional<qsizetype> chooseWindowByTitle(const QStringList& titles, const QString& title);

// The titles of the desktop's visible top-level application windows, of every process.
QStringList topLevelWindowTitles();

// Brings the visible top-level window chosen by chooseWindowByTitle to the front and gives it the
// focus. False when there is no such window (or no desktop to look at).
bool bringWindowToFront(const QString& title);

// True while the left mouse button is held down, wherever the pointer is.
bool leftButtonDown();

// How a started program's main window should come up.
enum class WindowStyle { Normal, Maximized };

// Starts a program detached from this one, its window in `style` with the focus. False when it cannot
// be started. (On X11 the style is a wish the program itself decides on.)
bool startProgram(const QString& program, const QStringList& arguments, WindowStyle style);

} // namespace torvane::platform
