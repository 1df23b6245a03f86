// The viewer part's entry: the course viewer's window, or a second copy's popup picture.
#include "viewerentry.h"

#include <QApplication>
#include <QScreen>
#include <QWebEngineProfile>
#include <base/trace.h>
#include <platform/desktopwindows.h>
#include <platform/processend.h>
#include <router/coursescheme.h>
#include <secondcopy/commandline.h>
#include <secondcopy/screenmessageboxes.h>
#include <secondcopy/startup.h>
#include <shell/frmtrv.h>
#include <shell/popupcopy.h>
#include <shell/screenreader.h>

namespace {

using namespace torvane;

// A second copy with a popup picture shows it until the learner clicks; it has no main window.
int showPopup(secondcopy::StartUp& start, QApplication& application) {
    if (start.bundledCourse) {
        router::installCourseScheme(QWebEngineProfile::defaultProfile(), router::bundledCourseRoot());
    }
    shell::PopupCopy popup(start.FileLocn, start.BillDir, [&start] {
        // At once, as the viewer ends: no close handlers of any window.
        start.links.closeLinks();
        start.instanceLock.reset();
        platform::endProcessNow();
    });
    popup.show(secondcopy::parseCommandLine(start.commandLine(), start.FileLocn));
    return application.exec();
}

} // namespace

extern "C" Q_DECL_EXPORT int torvaneViewerMain(int& argc, char** argv, torvane::secondcopy::StartUp& start,
                                               QApplication& application) {
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    using namespace torvane;
    // The bundled course's scheme must be known before the browser engine starts.
    router::registerCourseScheme();
    shell::prepareBrowserForScreenReaders();
    if (start.role() == secondcopy::Role::SecondCopy) {
        return showPopup(start, application);
    }
    secondcopy::ScreenMessageBoxes messageBoxes;
    shell::ViewerServices services;
    services.messageBoxes = &messageBoxes;
    shell::frmTRV viewer(services);
    base::trace("window-built", {});

    if (viewer.Form_Load(start) != secondcopy::Role::FirstCopy) {
        return 2;
    }
    // The viewer starts maximised, so that the window's size class is the screen's. Its normal geometry
    // stays the design's, which the window manager gives it back when the learner restores it. Without a
    // window manager nobody carries out that wish: the window then covers the screen by itself.
    if (!platform::windowManagerRuns()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            viewer.setGeometry(screen->availableGeometry());
        }
    }
    viewer.showMaximized();
    base::trace("window-shown", {});
    return application.exec();
}
