// Windows of other processes found by title and brought to the front, the left button's state, and
// programs started with a window style, on a real (Wine) desktop.
#include "peerprocess.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <platform/win32desktop.h>
#include <thread>

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace torvane::platform::win32 {
namespace {

bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(15)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

HWND windowTitled(const std::wstring& title) {
    for (const TopLevelWindow& window : visibleTopLevelWindows()) {
        if (window.title == title)
            return window.handle;
    }
    return nullptr;
}

HWND awaitWindow(const std::wstring& title) {
    HWND found = nullptr;
    eventually([&] { return (found = windowTitled(title)) != nullptr; });
    return found;
}

// Every window the peer processes show, asked to close and their processes ended at the end.
class DesktopWin : public ::testing::Test {
protected:
    void TearDown() override {
        for (const TopLevelWindow& window : visibleTopLevelWindows()) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window.handle, &owner);
            if (owner != GetCurrentProcessId() && window.title.starts_with(L"T:"))
                PostMessageW(window.handle, WM_CLOSE, 0, 0);
        }
        peers_.clear();
    }

    void showWindow(const std::wstring& title, const wchar_t* how) {
        peers_.push_back(std::make_unique<PeerProcess>(std::vector<std::wstring>{L"window", title, how}));
        ASSERT_TRUE(peers_.back()->started());
    }

    std::vector<std::unique_ptr<PeerProcess>> peers_;
};

TEST_F(DesktopWin, WindowOfAnotherProcessIsFoundByTitleAndBroughtToFront) {
    // Titles carry a "T:" mark so that nothing else on the desktop can match. The later window lies
    // above the earlier, so the exact "T:Kirvolt" comes after a window that merely begins with it.
    showWindow(L"T:Kirvolt", L"normal");
    ASSERT_NE(awaitWindow(L"T:Kirvolt"), nullptr);
    showWindow(L"T:Kirvolt - motor.ckt", L"normal");
    showWindow(L"T:Solidra - lab 3", L"normal");
    showWindow(L"T:Torvane", L"minimized");
    showWindow(L"T:Hidden tool", L"hidden");
    for (const wchar_t* title : {L"T:Kirvolt - motor.ckt", L"T:Solidra - lab 3", L"T:Torvane"})
        ASSERT_NE(awaitWindow(title), nullptr) << "no window appeared";
    ASSERT_TRUE(IsIconic(windowTitled(L"T:Torvane")));

    const struct {
        const wchar_t* wanted;
        const wchar_t* expected; // nullptr: nothing is found
    } rows[] = {
        {L"T:Kirvolt", L"T:Kirvolt"}, // exact beats a window above it that begins with it
        {L"T:Solidra -", L"T:Solidra - lab 3"},
        {L"T:Kirvolt - mo", L"T:Kirvolt - motor.ckt"},
        {L"T:Torvane", L"T:Torvane"}, // minimised: restored as well
        {L"T:kirvolt", nullptr},      // letter case counts
        {L"T:Hidden tool", nullptr},  // hidden windows are not looked at
        {L"T:Solidra - lab 3 and more", nullptr},
        {L"", nullptr},
    };
    for (const auto& row : rows) {
        const std::wstring wanted = row.wanted;
        SCOPED_TRACE(std::string(wanted.begin(), wanted.end()));
        if (row.expected == nullptr) {
            const HWND before = GetForegroundWindow();
            EXPECT_FALSE(bringWindowToFront(wanted));
            EXPECT_EQ(GetForegroundWindow(), before);
            continue;
        }
        const HWND target = windowTitled(row.expected);
        ASSERT_NE(target, nullptr);
        EXPECT_TRUE(bringWindowToFront(wanted));
        EXPECT_TRUE(eventually([&] { return GetForegroundWindow() == target; }))
            << "foreground is another window";
        EXPECT_FALSE(IsIconic(target));
    }
}

TEST_F(DesktopWin, LeftButtonIsTheStateOfTheLeftButtonOnly) {
    const auto press = [](DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        return SendInput(1, &input, sizeof(INPUT)) == 1;
    };
    EXPECT_FALSE(leftButtonDown());
    ASSERT_TRUE(press(MOUSEEVENTF_LEFTDOWN));
    EXPECT_TRUE(eventually([] { return leftButtonDown(); }));
    ASSERT_TRUE(press(MOUSEEVENTF_LEFTUP));
    EXPECT_TRUE(eventually([] { return !leftButtonDown(); }));
    ASSERT_TRUE(press(MOUSEEVENTF_RIGHTDOWN));
    EXPECT_TRUE(eventually([] { return (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0; }));
    EXPECT_FALSE(leftButtonDown());
    press(MOUSEEVENTF_RIGHTUP);
}

TEST(QuotedArguments, SplitBackIntoTheSameArguments) {
    const std::vector<std::vector<std::wstring>> rows{
        {},
        {L"plain"},
        {L"two words", L"C:\\Program Files (x86)\\Parlenta\\Kirvolt\\motor 1.ckt"},
        {L""},
        {L"a", L"", L"b"},
        {L"say \"hi\""},
        {L"C:\\folder with space\\"},    // a closing quote must not be escaped by the last backslash
        {L"C:\\plain\\"},                // no quotes needed, backslashes literal
        {L"a\\\\\"b", L"\\\"", L"\\\\"}, // backslashes before quotes
        {L"tab\there", L"new\nline"},
        {L"\u00dcbung \u2713", L"caf\u00e9"},
    };
    for (const auto& arguments : rows) {
        const std::wstring line = L"prog.exe " + quotedArguments(arguments);
        int count = 0;
        wchar_t** split = CommandLineToArgvW(line.c_str(), &count);
        ASSERT_NE(split, nullptr);
        const std::vector<std::wstring> back(split + 1, split + count);
        LocalFree(split);
        EXPECT_EQ(back, arguments) << std::string(line.begin(), line.end());
    }
}

// The arguments a started peer wrote down, each ended by a NUL.
std::vector<std::wstring> argumentsWritten(const std::wstring& file) {
    std::vector<std::wstring> arguments;
    HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return arguments;
    std::wstring content(4096, L'\0');
    DWORD got = 0;
    ReadFile(in, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &got, nullptr);
    CloseHandle(in);
    content.resize(got / sizeof(wchar_t));
    for (std::size_t start = 0, end; (end = content.find(L'\0', start)) != std::wstring::npos;
         start = end + 1)
        arguments.push_back(content.substr(start, end - start));
    return arguments;
}

TEST_F(DesktopWin, StartsAProgramMaximisedOrNormalWithItsArguments) {
    // Where the tools are installed: a folder name with spaces and parentheses.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"Program Files (x86) " + std::to_wstring(GetCurrentProcessId());
    const std::wstring folder = root + L"\\Kirvolt";
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring program = folder + L"\\kirvolt.exe";
    ASSERT_TRUE(CopyFileW(peerProgram().c_str(), program.c_str(), FALSE));
    const std::wstring argsFile = folder + L"\\arguments";

    const struct {
        const wchar_t* title;
        bool maximized;
    } rows[] = {{L"T:started maximised", true}, {L"T:started normal", false}};
    const std::vector<std::wstring> extra{L"C:\\Users\\me\\Kirvolt files\\", L"say \"hi\"", L"",
                                          L"\u00dcbung"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.maximized ? "maximised" : "normal");
        std::vector<std::wstring> arguments{L"window", row.title, L"default", argsFile};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        ASSERT_TRUE(startProgram(program, arguments, row.maximized));
        const HWND window = awaitWindow(row.title);
        ASSERT_NE(window, nullptr) << "the started program showed no window";
        EXPECT_EQ(IsZoomed(window) != FALSE, row.maximized);
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(argumentsWritten(argsFile), extra);
        PostMessageW(window, WM_CLOSE, 0, 0);
        eventually([&] { return IsWindow(window) == FALSE; });
    }
    EXPECT_FALSE(startProgram(folder + L"\\missing.exe", {}, false));

    eventually([&] { return DeleteFileW(program.c_str()) != FALSE; });
    DeleteFileW(argsFile.c_str());
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(root.c_str());
}

} // namespace
} // namespace torvane::platform::win32
