// What the main window does for the secondary windows and the media windows: it passes their calls on
// to its parts.
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <base/messagebox.h>
#include <shell/blockwatch.h>
#include <shell/coursebrowser.h>
#include <shell/frmtrv.h>
#include <shell/pageprinter.h>

namespace torvane::shell {

QString frmTRV::programFolder() const {
    return services_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : services_.programFolder;
}

void frmTRV::openFoundPage(const QString& address, const QStringList& words) {
    browser_->armSearchHits(words);
    navigateTo(address);
}

void frmTRV::goBack() {
    browser_->stepBack();
}

void frmTRV::print(const QPixmap* picture) {
    if (picture == nullptr) {
        printCommand(nullptr);
        return;
    }
    const QImage image = picture->toImage();
    printCommand(&image);
}

void frmTRV::printCommand(const QImage* picture) {
    printer_->printCommand(picture);
}

int frmTRV::messageBox(const QString& text, int style) {
    return message(text, style);
}

std::optional<int> frmTRV::msgBoxAt(const QString& prompt, int style, const QString& title, QWidget* owner,
                                    const QVariant& x, const QVariant& y) {
    return base::MsgBoxAt(*services_.messageBoxes, prompt, style, title, owner, false, x, y);
}

void frmTRV::ShutOffWithfile() {
    blocks_->links().clearHandOff();
}

void frmTRV::ShutOffTRV() {
    blocks_->links().writeEndFlag(1);
}

} // namespace torvane::shell
