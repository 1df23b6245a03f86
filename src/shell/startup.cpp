// Start-up of the main window: the course location, the folders, the shared blocks, and the decision
// whether this process is the course viewer or a second copy.
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <media/mediaurl.h>
#include <media/wmp1.h>
#include <platform/instancelock.h>
#include <platform/pathprobe.h>
#include <platform/runtimefolder.h>
#include <router/courselocation.h>
#include <router/coursescheme.h>
#include <router/pagenames.h>
#include <shell/existencechecks.h>
#include <shell/frmtrv.h>
#include <shell/sizeclass.h>

namespace torvane::shell {

frmTRV::Role frmTRV::Form_Load() {
    loaded_ = true;
    if (!SetFileLocn()) {
        return Role::Stopped;
    }
    ProgramFilesFolder = platform::programFilesFolder(services_.environment);
    AppDataFolder = platform::appDataFolder(services_.environment);
    makeBillDir();
    OpenLinks();
    links_.writeEndFlag(0);
    if (!isFirstCopy()) {
        return Role::SecondCopy;
    }
    LastBit();
    return Role::FirstCopy;
}

bool frmTRV::SetFileLocn() {
    const auto location = router::chooseCourseLocation(
        services_.environment(QStringLiteral("TORVANE_COURSE_URL")), router::builtInCourseUrl());
    if (!location.error.isEmpty()) {
        message(location.error, mb::OKOnly | mb::Critical);
        return false;
    }
    FileLocn = location.url;
    if (location.bundled) {
        const QString root =
            services_.courseRoot.isEmpty() ? router::bundledCourseRoot() : services_.courseRoot;
        router::installCourseScheme(Web1->page()->profile(), root);
        // The player opens the bundled course's media from the same folder the browser reads.
        WMP1->setUrlResolver(
            [root](const QString& address) { return media::resolveCourseMediaUrl(address, root); });
    }
    return true;
}

void frmTRV::makeBillDir() {
    if (AppDataFolder.isEmpty()) {
        // Without a home there is no place that belongs to the learner; keep nothing rather than
        // write at the root of the file system.
        BillDir.clear();
        message(QStringLiteral("Torvane cannot find a folder for your data (neither APPDATA nor HOME is "
                               "set). Your page history will not be kept in this session."),
                mb::OKOnly | mb::Exclamation);
        return;
    }
    BillDir = platform::billDir(AppDataFolder);
    if (FolderThere(BillDir)) {
        // A folder that is there but takes no files (read-only medium or permissions) would lose every
        // record without a word; the learner is told once, here.
        if (!platform::canCreateFilesIn(BillDir)) {
            message(QStringLiteral("Torvane cannot write in its data folder\n%1\n\nYour page history will "
                                   "not be kept in this session.")
                        .arg(QDir::toNativeSeparators(BillDir)),
                    mb::OKOnly | mb::Exclamation);
        }
        return;
    }
    if (!QDir().mkpath(BillDir)) {
        message(
            QStringLiteral("Torvane could not create its data folder\n%1\n\nYour page history will not be "
                           "kept in this session.")
                .arg(QDir::toNativeSeparators(BillDir)),
            mb::OKOnly | mb::Exclamation);
    }
}

void frmTRV::OpenLinks() {
    const auto folder = platform::prepareRuntimeFolder(platform::runtimeFolderPath(services_.environment));
    if (!folder.ok()) {
        message(folder.error, mb::OKOnly | mb::Exclamation);
        return;
    }
    runtimeFolder_ = folder.path;
    links_ = media::openLinks(runtimeFolder_, [this](const QString& text) { message(text); });
}

bool frmTRV::isFirstCopy() {
    if (runtimeFolder_.isEmpty()) {
        // No folder to hold the lock in: nothing can tell another copy from this one.
        return true;
    }
    instanceLock_ = std::make_unique<platform::InstanceLock>(runtimeFolder_);
    return instanceLock_->acquire();
}

void frmTRV::LastBit() {
    const QSize screen = wholeScreen();
    ScreenWidth = screen.width();
    ScreenHeight = screen.height();
    SizeClass();
    Web1->setUrl(QUrl(FileLocn + router::contentsPage(ScreenSize)));
    TimerEnd->start();
}

void frmTRV::SizeClass() {
    ScreenSize = sizeClassFor(ScreenWidth, ScreenHeight);
    picAVI->setGeometry(0, 0, ScreenWidth, ScreenHeight);
}

bool frmTRV::FolderThere(const QString& path) {
    return shell::FolderThere(path, *services_.messageBoxes);
}

bool frmTRV::FileThere(const QString& path) {
    return shell::FileThere(path, *services_.messageBoxes, [this] { EndTRV(); });
}

} // namespace torvane::shell
