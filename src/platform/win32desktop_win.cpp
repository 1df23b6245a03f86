// The desktop's windows on Windows: the visible top-level windows by their titles, the asynchronous
// key state of the left button, and ShellExecute with a show command.
#include <platform/titlechoice.h>
#include <platform/win32desktop.h>

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace torvane::platform::win32 {

namespace {

BOOL CALLBACK collect(HWND window, LPARAM data) {
    // Owned windows (dialogs, tool palettes) belong to a main window; it is the main window that is
    // looked for.
    if (IsWindowVisible(window) == FALSE || GetWindow(window, GW_OWNER) != nullptr) {
        return TRUE;
    }
    const int length = GetWindowTextLengthW(window);
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), length + 1)));
    reinterpret_cast<std::vector<TopLevelWindow>*>(data)->push_back({window, std::move(title)});
    return TRUE;
}

void appendQuoted(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    // Backslashes are literal except in front of a quote, where they are halved; so a run of them
    // is doubled before a quote (ours or the closing one) and left alone elsewhere.
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

} // namespace

std::vector<TopLevelWindow> visibleTopLevelWindows() {
    std::vector<TopLevelWindow> found;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool bringWindowToFront(const std::wstring& title) {
    const std::vector<TopLevelWindow> windows = visibleTopLevelWindows();
    std::vector<std::wstring> titles;
    titles.reserve(windows.size());
    for (const TopLevelWindow& window : windows) {
        titles.push_back(window.title);
    }
    const auto chosen = chooseTitle(titles, title);
    if (!chosen) {
        return false;
    }
    HWND window = windows[*chosen].handle;
    if (IsIconic(window) != FALSE) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    return true;
}

bool leftButtonDown() {
    // The high bit is the button's state now; the low bit only says it was pressed since the last ask.
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

std::wstring quotedArguments(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            line += L' ';
        }
        appendQuoted(line, arguments[i]);
    }
    return line;
}

bool startProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, bool maximized) {
    const std::wstring parameters = quotedArguments(arguments);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", program.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                      nullptr, maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL));
    return result > 32;
}

bool endProcess(unsigned long pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (process == nullptr) {
        return false;
    }
    const bool ended = TerminateProcess(process, 1) != 0;
    CloseHandle(process);
    return ended;
}

} // namespace torvane::platform::win32
