#include <QMessageBox>
#include <QScreen>
#include <shell/screenmessageboxes.h>

namespace torvane::shell {

namespace {

QMessageBox::StandardButtons buttonsFor(int style) {
    switch (style & 7) {
    case mb::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case mb::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int resultFor(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return mb::Cancel;
    case QMessageBox::Yes:
        return mb::Yes;
    case QMessageBox::No:
        return mb::No;
    default:
        return mb::OK;
    }
}

} // namespace

int ScreenMessageBoxes::show(const MessageBoxRequest& request) {
    QMessageBox box(iconFor(request.style), request.title, request.text, buttonsFor(request.style),
                    request.owner);
    if (request.placement && request.owner != nullptr) {
        // Placed before it becomes visible, so it never shows anywhere else first.
        box.adjustSize();
        const QRect reference = request.placement->desktop ? request.owner->screen()->virtualGeometry()
                                                           : request.owner->frameGeometry();
        box.move(placeBox(reference, box.frameSize(), *request.placement));
    }
    if ((request.style & mb::SetForeground) != 0) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    return resultFor(box.exec());
}

} // namespace torvane::shell
