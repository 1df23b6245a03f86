#pragma once

// Helpers for the bad-input tests: files with exact bytes, calls that must not hang, and running a
// check as an ordinary user (the tests run as root, for whom permission bits mean nothing).

#include <QByteArray>
#include <QFile>
#include <QString>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <grp.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace torvane::badinput {

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Opens both ends of a FIFO without blocking and closes them again, which releases a call stuck
// opening it.
inline void releaseFifo(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int reader = ::open(native.constData(), O_RDONLY | O_NONBLOCK);
    const int writer = ::open(native.constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        ::close(writer);
    if (reader >= 0)
        ::close(reader);
}

// Runs `call` and gives its result, or nothing when it has not returned within `limit`. A call stuck
// on `fifo` is then released so that the test can end.
template <typename T>
std::optional<T> withinLimit(const std::function<T()>& call, std::chrono::milliseconds limit,
                             const QString& fifo = {}) {
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(limit) == std::future_status::ready)
        return result.get();
    if (!fifo.isEmpty()) {
        for (int i = 0;
             i < 50 && result.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready; ++i)
            releaseFifo(fifo);
    }
    return std::nullopt;
}

// The user "nobody" on Debian.
inline constexpr uid_t kNobody = 65534;

// Runs `check` in a child process as an ordinary user: run as root, the child first gives up root for
// the user "nobody". Its exit code is the check's result (0..125), 126 when the child could not change
// user, 127 when it died.
inline int asOrdinaryUser(const std::function<int()>& check) {
    const bool root = ::geteuid() == 0;
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(126);
        ::_exit(check());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return 127;
    return WEXITSTATUS(status);
}

} // namespace torvane::badinput
