// What the main window does for the secondary windows and the media windows.
#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <shell/frmtrv.h>

namespace torvane::shell {

QString frmTRV::programFolder() const {
    return services_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : services_.programFolder;
}

void frmTRV::goBack() {
    stepBack();
}

void frmTRV::print(const QPixmap* picture) {
    if (picture == nullptr) {
        printCommand(nullptr);
        return;
    }
    const QImage image = picture->toImage();
    printCommand(&image);
}

std::optional<int> frmTRV::msgBoxAt(const QString& prompt, int style, const QString& title, QWidget* owner,
                                    const QVariant& x, const QVariant& y) {
    return MsgBoxAt(*services_.messageBoxes, prompt, style, title, owner, false, x, y);
}

void frmTRV::ShutOffWithfile() {
    links_.clearHandOff();
}

} // namespace torvane::shell
