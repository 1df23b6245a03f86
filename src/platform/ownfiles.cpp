#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <platform/ownfiles.h>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torvane::platform {

#ifdef Q_OS_WIN

// The profile folders are the user's own; links there are made only by the user.
QString ownFolderProblem(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir()
               ? QStringLiteral("%1 is not a folder.").arg(QDir::toNativeSeparators(path))
               : QString();
}

bool appendToOwnFile(const QString& path,
                     const std::function<QByteArray(std::optional<char> last)>& compose) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        return false;
    }
    std::optional<char> last;
    char c = 0;
    if (file.size() > 0 && file.seek(file.size() - 1) && file.getChar(&c)) {
        last = c;
    }
    const QByteArray bytes = compose(last);
    return file.write(bytes) == bytes.size();
}

bool isOwnFile(const QString& path) {
    return QFileInfo(path).isFile();
}

#else

namespace {

// The path without trailing separators, as the system looks the last part up.
QByteArray nativeName(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return QFile::encodeName(path);
}

bool ownSingleFile(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == ::geteuid();
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (put > 0) {
            done += put;
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

QString ownFolderProblem(const QString& path) {
    struct stat st {};
    if (::lstat(nativeName(path).constData(), &st) != 0) {
        return QString();
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (S_ISLNK(st.st_mode)) {
        return QStringLiteral("The folder %1 is a symbolic link; Torvane does not keep your data where it "
                              "leads.")
            .arg(shown);
    }
    if (!S_ISDIR(st.st_mode)) {
        return QStringLiteral("%1 is not a folder.").arg(shown);
    }
    if (st.st_uid != ::geteuid()) {
        return QStringLiteral("The folder %1 belongs to another user; Torvane does not keep your data there.")
            .arg(shown);
    }
    return QString();
}

bool appendToOwnFile(const QString& path,
                     const std::function<QByteArray(std::optional<char> last)>& compose) {
    // O_NOFOLLOW refuses a link in the file's place; O_NONBLOCK keeps a FIFO there from blocking the
    // window thread (it is then refused as no regular file).
    const int fd = ::open(nativeName(path).constData(),
                          O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool written = false;
    if (::fstat(fd, &st) == 0 && ownSingleFile(st)) {
        std::optional<char> last;
        char c = 0;
        if (st.st_size > 0 && ::pread(fd, &c, 1, st.st_size - 1) == 1) {
            last = c;
        }
        written = writeAll(fd, compose(last));
    }
    ::close(fd);
    return written;
}

bool isOwnFile(const QString& path) {
    struct stat st {};
    return ::lstat(nativeName(path).constData(), &st) == 0 && ownSingleFile(st);
}

#endif

bool replaceOwnFile(const QString& path, const QByteArray& bytes) {
    if (QFileInfo(path).isSymLink() || (QFileInfo::exists(path) && !isOwnFile(path))) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace torvane::platform
