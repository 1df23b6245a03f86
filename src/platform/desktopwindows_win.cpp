// The desktop's windows on Windows: the visible top-level windows by their titles, the asynchronous
// key state of the left button, and ShellExecute with a show command.
#include <platform/desktopwindows.h>
#include <shellapi.h>
#include <vector>
#include <windows.h>

namespace torvane::platform {

namespace {

struct Found {
    std::vector<HWND> windows;
    QStringList titles;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    if (IsWindowVisible(window) == FALSE || GetWindow(window, GW_OWNER) != nullptr) {
        return TRUE;
    }
    wchar_t text[512] = {};
    const int length = GetWindowTextW(window, text, 512);
    auto* found = reinterpret_cast<Found*>(data);
    found->windows.push_back(window);
    found->titles << QString::fromWCharArray(text, length);
    return TRUE;
}

Found visibleWindows() {
    Found found;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

QStringList topLevelWindowTitles() {
    return visibleWindows().titles;
}

bool bringWindowToFront(const QString& title) {
    const Found found = visibleWindows();
    const auto chosen = chooseWindowByTitle(found.titles, title);
    if (!chosen) {
        return false;
    }
    HWND window = found.windows[static_cast<std::size_t>(*chosen)];
    if (IsIconic(window) != FALSE) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    return true;
}

bool leftButtonDown() {
    return GetAsyncKeyState(VK_LBUTTON) < 0;
}

bool startProgram(const QString& program, const QStringList& arguments, WindowStyle style) {
    QString parameters;
    for (const QString& argument : arguments) {
        parameters += (parameters.isEmpty() ? QString() : QStringLiteral(" ")) + QLatin1Char('"') + argument +
                      QLatin1Char('"');
    }
    const int show = style == WindowStyle::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(program.utf16()),
                      parameters.isEmpty() ? nullptr : reinterpret_cast<const wchar_t*>(parameters.utf16()),
                      nullptr, show));
    return result > 32;
}

} // namespace torvane::platform
