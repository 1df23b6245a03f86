#include <router/coursescheme.h>
#include <shell/frmtrv.h>
#include <shell/screenmessageboxes.h>

#include <QApplication>

int main(int argc, char* argv[]) {
    // The bundled course's scheme must be known before the browser engine starts.
    torvane::router::registerCourseScheme();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Torvane"));

    torvane::shell::ScreenMessageBoxes messageBoxes;
    torvane::shell::ViewerServices services;
    services.messageBoxes = &messageBoxes;
    torvane::shell::frmTRV viewer(services);

    switch (viewer.Form_Load()) {
    case torvane::shell::frmTRV::Role::Stopped:
        return 2;
    case torvane::shell::frmTRV::Role::SecondCopy:
        // Until second copies have jobs of their own, one simply ends without touching the viewer.
        return 0;
    case torvane::shell::frmTRV::Role::FirstCopy:
        break;
    }
    viewer.showMaximized();
    return QApplication::exec();
}
