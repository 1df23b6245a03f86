// The desktop functions on Windows: the Win32 work is in win32desktop_win.cpp; this only carries the
// strings across.
#include <platform/desktopwindows.h>
#include <platform/win32desktop.h>

namespace torvane::platform {

namespace {

std::vector<std::wstring> wide(const QStringList& strings) {
    std::vector<std::wstring> converted;
    converted.reserve(static_cast<std::size_t>(strings.size()));
    for (const QString& s : strings) {
        converted.push_back(s.toStdWString());
    }
    return converted;
}

} // namespace

QStringList topLevelWindowTitles() {
    QStringList titles;
    for (const win32::TopLevelWindow& window : win32::visibleTopLevelWindows()) {
        titles << QString::fromStdWString(window.title);
    }
    return titles;
}

bool bringWindowToFront(const QString& title) {
    return win32::bringWindowToFront(title.toStdWString());
}

bool windowManagerRuns() {
    return true; // the desktop itself
}

bool leftButtonDown() {
    return win32::leftButtonDown();
}

bool startProgram(const QString& program, const QStringList& arguments, WindowStyle style) {
    return win32::startProgram(program.toStdWString(), wide(arguments), style == WindowStyle::Maximized);
}

bool endProcess(qint64 pid) {
    return pid > 0 && win32::endProcess(static_cast<unsigned long>(pid));
}

} // namespace torvane::platform
