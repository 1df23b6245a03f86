#include "peerprocess.h"

#include <platform/win32desktop.h>

namespace {

void closeHandle(HANDLE& handle) {
    if (handle != nullptr)
        CloseHandle(handle);
    handle = nullptr;
}

} // namespace

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring peerProgram() {
    return programFolder() + L"winpeer.exe";
}

PeerProcess::PeerProcess(const std::vector<std::wstring>& arguments) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE peerIn = nullptr;
    HANDLE peerOut = nullptr;
    if (!CreatePipe(&peerIn, &toPeer_, &inheritable, 0) || !CreatePipe(&fromPeer_, &peerOut, &inheritable, 0))
        return;
    // Our ends stay with us; only the peer's ends are inherited.
    SetHandleInformation(toPeer_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromPeer_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = peerIn;
    startup.hStdOutput = peerOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring commandLine = torvane::platform::win32::quotedArguments({peerProgram()}) + L' ' +
                               torvane::platform::win32::quotedArguments(arguments);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &info)) {
        process_ = info.hProcess;
        CloseHandle(info.hThread);
    }
    CloseHandle(peerIn);
    CloseHandle(peerOut);
}

PeerProcess::~PeerProcess() {
    closeHandle(toPeer_);
    if (process_ != nullptr && WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process_, 1);
    closeHandle(process_);
    closeHandle(fromPeer_);
}

std::string PeerProcess::readLine() {
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (fromPeer_ != nullptr && ReadFile(fromPeer_, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
        if (c != '\r')
            line += c;
    }
    return line;
}

void PeerProcess::writeLine(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(toPeer_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int PeerProcess::wait(DWORD milliseconds) {
    if (process_ == nullptr || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

std::string PeerProcess::run(const std::vector<std::wstring>& arguments) {
    PeerProcess peer(arguments);
    const std::string line = peer.readLine();
    const int code = peer.wait();
    return code == 0 ? line : "exit code " + std::to_string(code) + ": " + line;
}
