#include <QDir>
#include <QFile>
#include <platform/runtimefolder.h>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torvane::platform {

namespace {

RuntimeFolder failure(const QString& text) {
    return {QString(), text};
}

#ifndef Q_OS_WIN

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

RuntimeFolder checkOpenedFolder(const QString& path, int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return failure(
            QStringLiteral("Torvane cannot examine the folder %1: %2.").arg(path, systemReason(errno)));
    if (st.st_uid != ::geteuid())
        return failure(QStringLiteral("The folder %1 belongs to another user; Torvane cannot share its "
                                      "data there safely.")
                           .arg(path));
    // Anything but 0700 is wrong: wider lets other users meddle with the blocks, narrower (an odd
    // umask) would stop us creating them.
    if ((st.st_mode & 07777) != 0700 && ::fchmod(fd, 0700) != 0)
        return failure(QStringLiteral("Torvane cannot restrict the folder %1 to its owner: %2.")
                           .arg(path, systemReason(errno)));
    return {path, QString()};
}

RuntimeFolder refusalFor(const QString& path, int openError) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            return failure(QStringLiteral("The folder %1 is a symbolic link; Torvane cannot share its data "
                                          "there safely.")
                               .arg(path));
        if (!S_ISDIR(st.st_mode))
            return failure(
                QStringLiteral("%1 is not a folder; Torvane cannot share its data there.").arg(path));
    }
    return failure(
        QStringLiteral("Torvane cannot open the folder %1: %2.").arg(path, systemReason(openError)));
}

#endif

} // namespace

QString runtimeFolderPath(const Environment& env) {
#ifdef Q_OS_WIN
    const QString local = env(QStringLiteral("LOCALAPPDATA"));
    if (local.isEmpty())
        return {};
    return QDir::toNativeSeparators(local + QStringLiteral("/Torvane"));
#else
    QString base = env(QStringLiteral("XDG_RUNTIME_DIR"));
    while (base.size() > 1 && base.endsWith(u'/'))
        base.chop(1);
    if (!base.isEmpty())
        return base + QStringLiteral("/torvane");
    return QStringLiteral("/tmp/torvane-%1").arg(::geteuid());
#endif
}

RuntimeFolder prepareRuntimeFolder(const QString& path) {
    if (path.isEmpty())
        return failure(QStringLiteral("Torvane cannot find a folder for its shared data."));
#ifdef Q_OS_WIN
    // The blocks are kernel objects here; the folder only holds the lock, and the profile folder
    // it lives in is already private to the user.
    if (!QDir().mkpath(path))
        return failure(QStringLiteral("Torvane cannot create the folder %1.").arg(path));
    return {path, QString()};
#else
    const QByteArray native = QFile::encodeName(path);
    // Only the last part is created: a missing XDG_RUNTIME_DIR means a broken session, and making it
    // ourselves would produce a folder with the wrong owner and lifetime.
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return failure(
            QStringLiteral("Torvane cannot create the folder %1: %2.").arg(path, systemReason(errno)));
    // The checks and the mode change go through a descriptor of the folder itself, opened without
    // following a symlink, so they apply to the very object checked, not to a swapped-in path.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return refusalFor(path, errno);
    RuntimeFolder result = checkOpenedFolder(path, fd);
    ::close(fd);
    return result;
#endif
}

RuntimeFolder runtimeFolder() {
    return prepareRuntimeFolder(runtimeFolderPath(systemEnvironment()));
}

} // namespace torvane::platform
