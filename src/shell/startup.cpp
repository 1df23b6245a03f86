// Start-up of the main window: the course location, the folders, the shared blocks, and the decision
// whether this process is the course viewer or a second copy.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <media/mediaurl.h>
#include <media/wmp1.h>
#include <platform/desktopwindows.h>
#include <platform/instancelock.h>
#include <platform/ownfiles.h>
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
    switch (previousInstance()) {
    case platform::LockOutcome::HeldByAnother:
        return Role::SecondCopy;
    case platform::LockOutcome::Unusable:
        // Nothing tells whether a viewer runs already. A command line is a job handed to a copy (by a
        // course page or a tool, beside a running viewer): the copy does that job and ends, and never
        // becomes a second viewer. Without one the learner started the viewer, and gets it; the blocks
        // are left as they are, since another viewer may be using them.
        if (!commandLineIsEmpty()) {
            return Role::SecondCopy;
        }
        if (instanceLock_) {
            // The folder is fine (or the learner would have been told) but the lock in it is not.
            message(QStringLiteral("Torvane cannot use its lock file\n%1\n\nIt cannot tell whether "
                                   "Torvane is running already, so starting it again may open a second "
                                   "viewer. Remove what is in the lock file's place to set this right.")
                        .arg(QDir::toNativeSeparators(instanceLock_->path())),
                    mb::OKOnly | mb::Exclamation);
        }
        break;
    case platform::LockOutcome::Acquired:
        clearStaleLinks();
        break;
    }
    if (!billDirWarning_.isEmpty()) {
        message(billDirWarning_, mb::OKOnly | mb::Exclamation);
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
    // The folder is made by every copy; what went wrong is told by the first copy only, once it knows
    // it is the viewer (a popup or a hand-off must not stop on it).
    billDirWarning_.clear();
    if (AppDataFolder.isEmpty()) {
        // Without a home there is no place that belongs to the learner; keep nothing rather than
        // write at the root of the file system.
        BillDir.clear();
        billDirWarning_ =
            QStringLiteral("Torvane cannot find a folder for your data (neither APPDATA nor HOME "
                           "is set). Your page history will not be kept in this session.");
        return;
    }
    BillDir = platform::billDir(AppDataFolder);
    // The folder is the learner's own or none: a link in its place, or a folder of another user, would
    // have the history land where someone else can read or plant it.
    const QString parlenta = QFileInfo(QDir::cleanPath(BillDir)).path();
    QString problem = platform::ownFolderProblem(parlenta);
    if (problem.isEmpty()) {
        problem = platform::ownFolderProblem(BillDir);
    }
    if (!problem.isEmpty()) {
        billDirWarning_ = problem + QStringLiteral("\n\nYour page history will not be kept in this session.");
        BillDir.clear();
        return;
    }
    if (FolderThere(BillDir)) {
        // A folder that is there but takes no files (read-only medium or permissions) would lose every
        // record without a word; the learner is told once.
        if (!platform::canCreateFilesIn(BillDir)) {
            billDirWarning_ =
                QStringLiteral("Torvane cannot write in its data folder\n%1\n\nYour page history "
                               "will not be kept in this session.")
                    .arg(QDir::toNativeSeparators(BillDir));
        }
        return;
    }
    if (!QDir().mkpath(BillDir)) {
        billDirWarning_ =
            QStringLiteral("Torvane could not create its data folder\n%1\n\nYour page history will "
                           "not be kept in this session.")
                .arg(QDir::toNativeSeparators(BillDir));
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

platform::LockOutcome frmTRV::previousInstance() {
    if (runtimeFolder_.isEmpty()) {
        // No folder to hold the lock in (the learner has been told): nothing tells the copies apart.
        return platform::LockOutcome::Unusable;
    }
    instanceLock_ = std::make_unique<platform::InstanceLock>(runtimeFolder_);
    return instanceLock_->tryAcquire();
}

void frmTRV::clearStaleLinks() {
    // The blocks are files of the runtime folder and outlive every program that used them. A hand-off
    // or a narration request left from an earlier session would bring up the companion window or play
    // an old clip at the first look at the blocks. They are cleared unless one of the tools runs now:
    // then they may be its requests (or a hand-off to it), and the viewer takes them up as usual.
    const auto pending = [](const platform::SharedBlock& block) {
        const std::vector<std::uint8_t> first = block.read(0, 1);
        return !first.empty() && first[0] != 0;
    };
    const bool handOffLeft = pending(links_.kirvoltName());
    const bool narrationLeft = pending(links_.trvWav());
    if (!handOffLeft && !narrationLeft) {
        return;
    }
    const QStringList titles = platform::topLevelWindowTitles();
    for (const QString& tool : {QStringLiteral("Kirvolt"), QStringLiteral("Solidra -")}) {
        if (platform::chooseWindowByTitle(titles, tool)) {
            return;
        }
    }
    if (handOffLeft) {
        ShutOffWithfile();
    }
    if (narrationLeft) {
        const std::uint8_t taken = 0;
        links_.trvWav().writeAndFlush(0, std::span(&taken, 1));
    }
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
