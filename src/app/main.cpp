// The program: every copy takes the start-up steps first, with no window and no browser. The course
// viewer and a popup picture are the viewer part's work, loaded only then; every other job of a second
// copy is done here, in a small process.
#include "ondemandboxes.h"
#include "viewerentry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <base/trace.h>
#include <platform/desktopwindowrules.h>
#include <platform/folders.h>
#include <secondcopy/commandline.h>
#include <secondcopy/jobs.h>
#include <secondcopy/startup.h>

namespace {

using namespace torvane;

QString commandLineOf(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    return words.join(QLatin1Char(' '));
}

// The folder of the executable itself, links followed: the viewer part and the chapter tests lie there.
QString programFolder(char** argv) {
#ifdef Q_OS_LINUX
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) {
        return QFileInfo(self.canonicalFilePath()).path();
    }
#endif
    return QFileInfo(QString::fromLocal8Bit(argv[0])).canonicalPath();
}

int runViewerPart(int& argc, char** argv, secondcopy::StartUp& start, app::OnDemandBoxes& boxes) {
    const QString path = platform::moduleFile(programFolder(argv), QLatin1String(app::kViewerModule));
    QLibrary part(path);
    const auto entry = reinterpret_cast<app::ViewerEntry>(part.resolve(app::kViewerEntry));
    base::trace("viewer-part-loaded", {});
    if (entry == nullptr) {
        boxes.show({QStringLiteral("Torvane cannot start: a part of it is missing or damaged.\n%1\n\nPlease "
                                   "run Setup on the USB.")
                        .arg(part.errorString()),
                    base::mb::OKOnly | base::mb::Critical});
        return 2;
    }
    QApplication& application = boxes.application();
    base::trace("application", {});
    return entry(argc, argv, start, application);
}

int runJob(int& argc, char** argv, secondcopy::StartUp& start, app::OnDemandBoxes& boxes) {
    const QString line = start.commandLine();
    const secondcopy::SecondCopyJob job = secondcopy::parseCommandLine(line, start.FileLocn);
    if (job.kind == secondcopy::JobKind::Popup) {
        return runViewerPart(argc, argv, start, boxes);
    }
    // The launch timers need an event loop; a box shown meanwhile waits for its end.
    std::unique_ptr<QCoreApplication> loop;
    if (QCoreApplication::instance() == nullptr) {
        loop = std::make_unique<QCoreApplication>(argc, argv);
    }
    secondcopy::JobServices services;
    services.messageBoxes = &boxes;
    services.programFolder = programFolder(argv);
    services.appDataFolder = start.AppDataFolder;
    services.programFilesFolder = start.ProgramFilesFolder;
    services.end = [&start] {
        start.links.closeLinks();
        start.instanceLock.reset();
        QCoreApplication::exit(0);
    };
    {
        secondcopy::SecondCopy copy(start.links, std::move(services));
        if (copy.run(job, line)) {
            QCoreApplication::exec();
        }
    }
    loop.reset();
    boxes.showPending();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    base::trace("start", {});
    // The viewer finds the desktop's windows through X11: on XWayland under a Wayland session.
    platform::chooseQpaPlatform();
    app::OnDemandBoxes boxes(argc, argv);
    secondcopy::StartServices services;
    services.messageBoxes = &boxes;
    services.commandLine = commandLineOf(argc, argv);
    secondcopy::StartUp start(std::move(services));
    const secondcopy::Role role = start.run();
    base::trace("start-up-steps", {});
    switch (role) {
    case secondcopy::Role::Stopped:
        return 2;
    case secondcopy::Role::FirstCopy:
        return runViewerPart(argc, argv, start, boxes);
    case secondcopy::Role::SecondCopy:
        break;
    }
    return runJob(argc, argv, start, boxes);
}
