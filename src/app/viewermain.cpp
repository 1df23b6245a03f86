// The viewer part's entry: the course viewer's window, or a second copy's popup picture.
#include "viewerentry.h"

#include <QApplication>
#include <QScreen>
#include <base/trace.h>
#include <router/coursescheme.h>
#include <secondcopy/screenmessageboxes.h>
#include <secondcopy/startup.h>
#include <shell/frmtrv.h>
#include <shell/screenreader.h>

extern "C" Q_DECL_EXPORT int torvaneViewerMain(int& argc, char** argv, torvane::secondcopy::StartUp& start,
                                               QApplication& application) {
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    using namespace torvane;
    // The bundled course's scheme must be known before the browser engine starts.
    router::registerCourseScheme();
    shell::prepareBrowserForScreenReaders();
    secondcopy::ScreenMessageBoxes messageBoxes;
    shell::ViewerServices services;
    services.messageBoxes = &messageBoxes;
    services.commandLine = start.commandLine();
    shell::frmTRV viewer(services);
    base::trace("window-built", {});

    switch (viewer.Form_Load(start)) {
    case secondcopy::Role::Stopped:
        return 2;
    case secondcopy::Role::SecondCopy:
        // A second copy shows its popup picture until the learner clicks; it never shows the main window.
        return viewer.runSecondCopy() ? application.exec() : 0;
    case secondcopy::Role::FirstCopy:
        break;
    }
    // The viewer starts maximised, so that the window's size class is the screen's. Without a window
    // manager nobody would carry out that wish: the window then covers the screen by itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        viewer.setGeometry(screen->availableGeometry());
    }
    viewer.showMaximized();
    base::trace("window-shown", {});
    return application.exec();
}
