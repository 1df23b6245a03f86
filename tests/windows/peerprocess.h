#pragma once

#include <string>
#include <vector>
#include <windows.h>

// winpeer.exe (built beside the tests) running as a separate process, talked to through its standard
// input and output. Ended on destruction if it is still running.
class PeerProcess final {
public:
    explicit PeerProcess(const std::vector<std::wstring>& arguments);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    // The next line the peer prints, without its line end; empty once it has closed its output.
    std::string readLine();
    void writeLine(const std::string& line);
    // Waits for the peer to end and returns its exit code, or -1 when it does not end in time.
    int wait(DWORD milliseconds = 20000);

    // Runs a peer to its end and returns its single line of output.
    static std::string run(const std::vector<std::wstring>& arguments);

private:
    HANDLE process_ = nullptr;
    HANDLE toPeer_ = nullptr;
    HANDLE fromPeer_ = nullptr;
};

// The folder holding the test programs, ending in a backslash.
std::wstring programFolder();

// Where winpeer.exe lies.
std::wstring peerProgram();
