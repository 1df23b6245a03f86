// Start-up of the main window: it takes over what the start-up steps found, and the course viewer
// loads its first page.
#include <media/mediaurl.h>
#include <platform/instancelock.h>
#include <router/coursescheme.h>
#include <router/pagenames.h>
#include <secondcopy/existencechecks.h>
#include <secondcopy/startup.h>
#include <shell/blockwatch.h>
#include <shell/coursebrowser.h>
#include <shell/frmtrv.h>
#include <shell/preferences.h>
#include <shell/readingaids.h>
#include <shell/videopresenter.h>

namespace torvane::shell {

secondcopy::Role frmTRV::Form_Load(secondcopy::StartUp& start) {
    loaded_ = true;
    if (start.role() != secondcopy::Role::FirstCopy) {
        return start.role(); // a second copy's jobs need no viewer window
    }
    takeOver(start);
    LastBit();
    return start.role();
}

void frmTRV::takeOver(secondcopy::StartUp& start) {
    state_.FileLocn = start.FileLocn;
    state_.ProgramFilesFolder = start.ProgramFilesFolder;
    state_.AppDataFolder = start.AppDataFolder;
    state_.BillDir = start.BillDir;
    commandLineEmpty_ = start.commandLine().isEmpty();
    blocks_->takeLinks(std::move(start.links));
    instanceLock_ = std::move(start.instanceLock);
    aids_->setPreferences(loadPreferences(state_.BillDir));
    if (start.bundledCourse) {
        const QString root =
            services_.courseRoot.isEmpty() ? router::bundledCourseRoot() : services_.courseRoot;
        browser_->installCourse(root);
        // The player opens the bundled course's media from the same folder the browser reads.
        video_->setMediaResolver(
            [root](const QString& address) { return media::resolveCourseMediaUrl(address, root); });
    }
}

void frmTRV::LastBit() {
    const QSize screen = wholeScreen();
    state_.ScreenWidth = screen.width();
    state_.ScreenHeight = screen.height();
    SizeClass();
    browser_->load(QUrl(state_.FileLocn + router::contentsPage(state_.ScreenSize)));
    blocks_->start();
}

bool frmTRV::FolderThere(const QString& path) {
    return secondcopy::FolderThere(path, *services_.messageBoxes);
}

bool frmTRV::FileThere(const QString& path) {
    return secondcopy::FileThere(path, *services_.messageBoxes, [this] { EndTRV(); });
}

} // namespace torvane::shell
