#pragma once

// The Win32 side of the desktop functions, free of Qt so that it can be built and tested on its own;
// desktopwindows_win.cpp only converts strings around these.

#include <string>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace torvane::platform::win32 {

struct TopLevelWindow final {
    HWND handle = nullptr;
    std::wstring title;
};

// The visible, unowned top-level windows of every process on this desktop, front to back.
std::vector<TopLevelWindow> visibleTopLevelWindows();

// Brings the window that chooseTitle picks among visibleTopLevelWindows() to the foreground,
// restoring it first when minimised. False when no window matches.
bool bringWindowToFront(const std::wstring& title);

// True while the left mouse button is down, whichever window has the pointer.
bool leftButtonDown();

// `arguments` as one command-line tail that CommandLineToArgvW and the C runtime split back into
// exactly these arguments.
std::wstring quotedArguments(const std::vector<std::wstring>& arguments);

// Starts `program` through the shell with its first window shown maximised or normally. False when
// the shell cannot start it.
bool startProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, bool maximized);

// Ends the process `pid` at once. False when there is no such process or it cannot be ended.
bool endProcess(unsigned long pid);

} // namespace torvane::platform::win32
