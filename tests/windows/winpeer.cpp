// The other process for the Windows platform tests: a tool that opens the shared blocks by name, or
// shows a window, as the simulator and the 3-D lab do.
//
//   winpeer block <name> <size> read <offset> <len>     prints "<outcome> <hexbytes>"
//   winpeer block <name> <size> write <offset> <hex>    prints "<outcome> <written>"
//   winpeer hold <name> <size> <offset> <hex>           like write, then keeps the block open until a
//                                                       line arrives on stdin, prints the whole block
//                                                       in hex and ends
//   winpeer window <title> normal|hidden|minimized|default [<argsfile> <arguments>...]
//       shows a window until it is closed (60 s at most); "default" shows it as the program was
//       started. With <argsfile>, first writes every argument after it there, each ended by a NUL.

#include "hex.h"

#include <cstdio>
#include <iostream>
#include <platform/sharedblock.h>
#include <string>
#include <vector>

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace {

using torvane::platform::OpenOutcome;
using torvane::platform::OpenResult;
using torvane::platform::SharedBlock;

const char* outcomeName(OpenResult result) {
    switch (result) {
    case OpenResult::Opened:
        return "opened";
    case OpenResult::Created:
        return "created";
    case OpenResult::CreateFailed:
        return "create-failed";
    case OpenResult::MapFailed:
        return "map-failed";
    }
    return "?";
}

std::string narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end()); // the block arguments are ASCII
}

int blockMode(const std::vector<std::wstring>& args) {
    if (args.size() != 6)
        return 2;
    OpenOutcome outcome = SharedBlock::open({}, narrow(args[1]), std::stoul(args[2]));
    const std::size_t offset = std::stoul(args[4]);
    std::cout << outcomeName(outcome.result) << ' ';
    if (args[3] == L"read")
        std::cout << toHex(outcome.block.read(offset, std::stoul(args[5]))) << std::endl;
    else if (args[3] == L"write")
        std::cout << outcome.block.writeAndFlush(offset, fromHex(narrow(args[5]))) << std::endl;
    else
        return 2;
    return 0;
}

int holdMode(const std::vector<std::wstring>& args) {
    if (args.size() != 5)
        return 2;
    OpenOutcome outcome = SharedBlock::open({}, narrow(args[1]), std::stoul(args[2]));
    std::cout << outcomeName(outcome.result) << ' '
              << outcome.block.writeAndFlush(std::stoul(args[3]), fromHex(narrow(args[4]))) << std::endl;
    std::string line;
    std::getline(std::cin, line);
    std::cout << toHex(outcome.block.read(0, outcome.block.size())) << std::endl;
    return 0;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// What the starting program asked the first window to be, as WinMain receives it in nCmdShow.
int startupShowCommand() {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

bool writeArguments(const std::wstring& file, const std::vector<std::wstring>& arguments) {
    std::wstring content;
    for (const std::wstring& argument : arguments)
        content += argument + L'\0';
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const auto bytes = static_cast<DWORD>(content.size() * sizeof(wchar_t));
    const bool ok = WriteFile(out, content.data(), bytes, &written, nullptr) != FALSE && written == bytes;
    CloseHandle(out);
    return ok;
}

int windowMode(const std::vector<std::wstring>& args) {
    if (args.size() < 3)
        return 2;
    if (args.size() >= 4 && !writeArguments(args[3], {args.begin() + 4, args.end()}))
        return 3;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TorvaneTestPeer";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, args[1].c_str(), WS_OVERLAPPEDWINDOW, 40, 40,
                                  320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        return 4;
    const std::wstring& how = args[2];
    if (how == L"normal")
        ShowWindow(window, SW_SHOWNORMAL);
    else if (how == L"minimized")
        ShowWindow(window, SW_SHOWMINIMIZED);
    else if (how == L"default")
        ShowWindow(window, startupShowCommand());
    SetTimer(window, 1, 60000, [](HWND w, UINT, UINT_PTR, DWORD) { DestroyWindow(w); });
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> args(argv + 1, argv + count);
    LocalFree(argv);
    if (!args.empty() && args[0] == L"block")
        return blockMode(args);
    if (!args.empty() && args[0] == L"hold")
        return holdMode(args);
    if (!args.empty() && args[0] == L"window")
        return windowMode(args);
    std::cerr << "usage: winpeer block|hold|window ...\n";
    return 2;
}
