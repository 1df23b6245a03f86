// Start-up of the main window: it takes over what the start-up steps found, and the course viewer
// loads its first page.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <media/mediaurl.h>
#include <media/wmp1.h>
#include <platform/instancelock.h>
#include <router/courselocation.h>
#include <router/coursescheme.h>
#include <router/pagenames.h>
#include <secondcopy/existencechecks.h>
#include <shell/frmtrv.h>
#include <shell/sizeclass.h>

namespace torvane::shell {

frmTRV::Role frmTRV::Form_Load() {
    secondcopy::StartServices services;
    services.messageBoxes = services_.messageBoxes;
    services.environment = services_.environment;
    services.commandLine = services_.commandLine;
    secondcopy::StartUp start(std::move(services));
    start.run();
    return Form_Load(start);
}

frmTRV::Role frmTRV::Form_Load(secondcopy::StartUp& start) {
    loaded_ = true;
    if (start.role() == Role::Stopped) {
        return Role::Stopped;
    }
    takeOver(start);
    if (start.role() == Role::FirstCopy) {
        LastBit();
    }
    return start.role();
}

void frmTRV::takeOver(secondcopy::StartUp& start) {
    state_.FileLocn = start.FileLocn;
    installCourse(start.bundledCourse);
    state_.ProgramFilesFolder = start.ProgramFilesFolder;
    state_.AppDataFolder = start.AppDataFolder;
    state_.BillDir = start.BillDir;
    links_ = std::move(start.links);
    instanceLock_ = std::move(start.instanceLock);
}

void frmTRV::installCourse(bool bundled) {
    if (!bundled) {
        return;
    }
    const QString root = services_.courseRoot.isEmpty() ? router::bundledCourseRoot() : services_.courseRoot;
    router::installCourseScheme(Web1->page()->profile(), root);
    // The player opens the bundled course's media from the same folder the browser reads.
    WMP1->setUrlResolver(
        [root](const QString& address) { return media::resolveCourseMediaUrl(address, root); });
}

void frmTRV::LastBit() {
    const QSize screen = wholeScreen();
    state_.ScreenWidth = screen.width();
    state_.ScreenHeight = screen.height();
    SizeClass();
    loadOnItsWay_ = QUrl(state_.FileLocn + router::contentsPage(state_.ScreenSize));
    Web1->setUrl(loadOnItsWay_);
    TimerEnd->start();
}

void frmTRV::SizeClass() {
    state_.ScreenSize = sizeClassFor(state_.ScreenWidth, state_.ScreenHeight);
    picAVI->setGeometry(0, 0, state_.ScreenWidth, state_.ScreenHeight);
}

bool frmTRV::FolderThere(const QString& path) {
    return secondcopy::FolderThere(path, *services_.messageBoxes);
}

bool frmTRV::FileThere(const QString& path) {
    return secondcopy::FileThere(path, *services_.messageBoxes, [this] { EndTRV(); });
}

} // namespace torvane::shell
