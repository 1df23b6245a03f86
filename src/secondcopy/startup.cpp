// The start-up steps every copy takes before it has a window: the course location, the folders, the
// shared blocks, and the decision whether this process is the course viewer or a second copy.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <base/messagebox.h>
#include <platform/desktopwindows.h>
#include <platform/ownfiles.h>
#include <platform/pathprobe.h>
#include <platform/runtimefolder.h>
#include <router/courselocation.h>
#include <secondcopy/existencechecks.h>
#include <secondcopy/startup.h>

namespace torvane::secondcopy {

namespace mb = base::mb;

StartUp::StartUp(StartServices services) : services_(std::move(services)) {
    if (!services_.environment) {
        services_.environment = platform::systemEnvironment();
    }
}

QString StartUp::commandLine() const {
    if (services_.commandLine) {
        return *services_.commandLine;
    }
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

int StartUp::message(const QString& text, int style) {
    return services_.messageBoxes->show({text, style});
}

Role StartUp::run() {
    role_ = Role::Stopped;
    if (!SetFileLocn()) {
        return role_;
    }
    ProgramFilesFolder = platform::programFilesFolder(services_.environment);
    AppDataFolder = platform::appDataFolder(services_.environment);
    makeBillDir();
    OpenLinks();
    links.writeEndFlag(0);
    role_ = decide(previousInstance());
    if (role_ == Role::FirstCopy && !billDirWarning_.isEmpty()) {
        message(billDirWarning_, mb::OKOnly | mb::Exclamation);
    }
    return role_;
}

bool StartUp::SetFileLocn() {
    const auto location = router::chooseCourseLocation(
        services_.environment(QStringLiteral("TORVANE_COURSE_URL")), router::builtInCourseUrl());
    if (!location.error.isEmpty()) {
        message(location.error, mb::OKOnly | mb::Critical);
        return false;
    }
    FileLocn = location.url;
    bundledCourse = location.bundled;
    return true;
}

Role StartUp::decide(platform::LockOutcome lock) {
    switch (lock) {
    case platform::LockOutcome::HeldByAnother:
        return Role::SecondCopy;
    case platform::LockOutcome::Unusable:
        // Nothing tells whether a viewer runs already. A command line is a job handed to a copy (by a
        // course page or a tool, beside a running viewer): the copy does that job and ends, and never
        // becomes a second viewer. Without one the learner started the viewer, and gets it; the blocks
        // are left as they are, since another viewer may be using them.
        if (!commandLine().isEmpty()) {
            return Role::SecondCopy;
        }
        if (instanceLock) {
            // The folder is fine (or the learner would have been told) but the lock in it is not.
            message(QStringLiteral("Torvane cannot use its lock file\n%1\n\nIt cannot tell whether "
                                   "Torvane is running already, so starting it again may open a second "
                                   "viewer. Remove what is in the lock file's place to set this right.")
                        .arg(QDir::toNativeSeparators(instanceLock->path())),
                    mb::OKOnly | mb::Exclamation);
        }
        return Role::FirstCopy;
    case platform::LockOutcome::Acquired:
        clearStaleLinks();
        return Role::FirstCopy;
    }
    return Role::FirstCopy;
}

void StartUp::makeBillDir() {
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
    if (FolderThere(BillDir, *services_.messageBoxes)) {
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

void StartUp::OpenLinks() {
    const auto folder = platform::prepareRuntimeFolder(platform::runtimeFolderPath(services_.environment));
    if (!folder.ok()) {
        message(folder.error, mb::OKOnly | mb::Exclamation);
        return;
    }
    runtimeFolder = folder.path;
    links = media::openLinks(runtimeFolder, [this](const QString& text) { message(text, mb::OKOnly); });
}

platform::LockOutcome StartUp::previousInstance() {
    if (runtimeFolder.isEmpty()) {
        // No folder to hold the lock in (the learner has been told): nothing tells the copies apart.
        return platform::LockOutcome::Unusable;
    }
    instanceLock = std::make_unique<platform::InstanceLock>(runtimeFolder);
    return instanceLock->tryAcquire();
}

void StartUp::clearStaleLinks() {
    // The blocks are files of the runtime folder and outlive every program that used them. A hand-off
    // or a narration request left from an earlier session would bring up the companion window or play
    // an old clip at the first look at the blocks. They are cleared unless one of the tools runs now:
    // then they may be its requests (or a hand-off to it), and the viewer takes them up as usual.
    const auto pending = [](const platform::SharedBlock& block) {
        const std::vector<std::uint8_t> first = block.read(0, 1);
        return !first.empty() && first[0] != 0;
    };
    const bool handOffLeft = pending(links.kirvoltName());
    const bool narrationLeft = pending(links.trvWav());
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
        links.clearHandOff();
    }
    if (narrationLeft) {
        const std::uint8_t taken = 0;
        links.trvWav().writeAndFlush(0, std::span(&taken, 1));
    }
}

} // namespace torvane::secondcopy
