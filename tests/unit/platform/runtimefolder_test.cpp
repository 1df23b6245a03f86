#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <platform/runtimefolder.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torvane::platform {
namespace {

Environment fakeEnvironment(QMap<QString, QString> vars) {
    return [vars = std::move(vars)](const QString& name) { return vars.value(name); };
}

#ifndef Q_OS_WIN

mode_t modeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode;
}

TEST(RuntimeFolderTest, PathComesFromXdgRuntimeDirOrPerUserTmp) {
    const QString tmpFolder = QStringLiteral("/tmp/torvane-%1").arg(::geteuid());
    const struct {
        QMap<QString, QString> vars;
        QString expected;
    } cases[] = {
        {{{"XDG_RUNTIME_DIR", "/run/user/42"}}, "/run/user/42/torvane"},
        {{{"XDG_RUNTIME_DIR", "/run/user/42/"}}, "/run/user/42/torvane"},
        {{{"XDG_RUNTIME_DIR", ""}}, tmpFolder},
        {{}, tmpFolder},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtimeFolderPath(fakeEnvironment(c.vars)), c.expected);
}

class PreparedFolderTest : public ::testing::Test {
protected:
    QTemporaryDir base;
    QString target() const { return base.filePath(QStringLiteral("torvane")); }
};

TEST_F(PreparedFolderTest, MissingFolderIsCreatedPrivate) {
    const RuntimeFolder folder = prepareRuntimeFolder(target());
    ASSERT_TRUE(folder.ok()) << folder.error.toStdString();
    EXPECT_EQ(folder.path, target());
    EXPECT_TRUE(S_ISDIR(modeOf(target())));
    EXPECT_EQ(modeOf(target()) & 07777, 0700u);
}

TEST_F(PreparedFolderTest, ExistingFolderGetsExactlyOwnerAccess) {
    for (const mode_t start : {0755u, 0777u, 0500u, 0700u}) {
        ASSERT_TRUE(QDir().mkpath(target()));
        ASSERT_EQ(::chmod(QFile::encodeName(target()).constData(), start), 0);
        const RuntimeFolder folder = prepareRuntimeFolder(target());
        EXPECT_TRUE(folder.ok()) << std::oct << start << ": " << folder.error.toStdString();
        EXPECT_EQ(modeOf(target()) & 07777, 0700u) << std::oct << start;
    }
}

TEST(RuntimeFolderTest, UnsafeOrUnusablePlacesAreRefusedWithTheirPathNamed) {
    QTemporaryDir elsewhere;
    const auto makeFile = [](const QString& p) {
        QFile f(p);
        return f.open(QIODevice::WriteOnly);
    };
    const struct {
        const char* label;
        const char* relativePath;
        std::function<bool(const QString&)> plant;
        const char* expectedText;
    } cases[] = {
        {"symlink to a folder", "torvane", [&](const QString& p) { return QFile::link(elsewhere.path(), p); },
         "symbolic link"},
        {"dangling symlink", "torvane",
         [](const QString& p) { return QFile::link(QStringLiteral("/nonexistent"), p); }, "symbolic link"},
        {"regular file", "torvane", makeFile, "not a folder"},
        {"parent missing", "absent/torvane", [](const QString&) { return true; }, "cannot create"},
    };
    for (const auto& c : cases) {
        QTemporaryDir scratch;
        const QString path = scratch.filePath(QLatin1String(c.relativePath));
        ASSERT_TRUE(c.plant(path)) << c.label;
        const RuntimeFolder folder = prepareRuntimeFolder(path);
        EXPECT_FALSE(folder.ok()) << c.label;
        EXPECT_TRUE(folder.path.isEmpty()) << c.label;
        EXPECT_TRUE(folder.error.contains(path)) << c.label << ": " << folder.error.toStdString();
        EXPECT_TRUE(folder.error.contains(QLatin1String(c.expectedText)))
            << c.label << ": " << folder.error.toStdString();
    }
    // Nothing may have been done through the link to the folder it points at.
    EXPECT_EQ(modeOf(elsewhere.path()) & 07777, 0700u);
}

TEST_F(PreparedFolderTest, FolderOfAnotherUserIsRefusedAndLeftAlone) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    ASSERT_TRUE(QDir().mkpath(target()));
    const QByteArray native = QFile::encodeName(target());
    ASSERT_EQ(::chown(native.constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(native.constData(), 0755), 0);
    const RuntimeFolder folder = prepareRuntimeFolder(target());
    EXPECT_FALSE(folder.ok());
    EXPECT_EQ(folder.error, QStringLiteral("The folder %1 belongs to another user; Torvane cannot share its "
                                           "data there safely.")
                                .arg(target()));
    EXPECT_EQ(modeOf(target()) & 07777, 0755u);
}

#endif

TEST(RuntimeFolderTest, EmptyPathIsAnErrorNotTheCurrentFolder) {
    const RuntimeFolder folder = prepareRuntimeFolder(QString());
    EXPECT_FALSE(folder.ok());
    EXPECT_FALSE(folder.error.isEmpty());
}

} // namespace
} // namespace torvane::platform
