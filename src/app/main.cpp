#include <QApplication>
#include <QScreen>
#include <platform/desktopwindowrules.h>
#include <router/coursescheme.h>
#include <shell/frmtrv.h>
#include <shell/screenmessageboxes.h>

int main(int argc, char* argv[]) {
    // The bundled course's scheme must be known before the browser engine starts.
    torvane::router::registerCourseScheme();
    // The viewer finds the desktop's windows through X11: on XWayland under a Wayland session.
    torvane::platform::chooseQpaPlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));

    torvane::shell::ScreenMessageBoxes messageBoxes;
    torvane::shell::ViewerServices services;
    services.messageBoxes = &messageBoxes;
    torvane::shell::frmTRV viewer(services);

    switch (viewer.Form_Load()) {
    case torvane::shell::frmTRV::Role::Stopped:
        return 2;
    case torvane::shell::frmTRV::Role::SecondCopy:
        // A second copy carries out its command line; it lives on only while it waits for a tool or
        // shows a popup picture, and never shows its own main window.
        return viewer.runSecondCopy() ? QApplication::exec() : 0;
    case torvane::shell::frmTRV::Role::FirstCopy:
        break;
    }
    // The viewer starts maximised, so that the window's size class is the screen's. Without a window
    // manager nobody would carry out that wish: the window then covers the screen by itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        viewer.setGeometry(screen->availableGeometry());
    }
    viewer.showMaximized();
    return QApplication::exec();
}
