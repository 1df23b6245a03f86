#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <secondcopy/screenmessageboxes.h>

namespace torvane::secondcopy {

namespace mb = base::mb;
using base::BoxPlacement;

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

namespace {

// Keeps a placed box where its placement puts it. The box's frame is known only once the window manager
// has framed it, and some window managers move a dialog where they like when it maps; so the position is
// computed again from the reference window and the box's real frame whenever the box is shown, moved,
// resized or activated, until it closes.
class BoxKeeper final : public QObject {
public:
    BoxKeeper(QMessageBox& box, const QWidget& owner, const BoxPlacement& placement)
        : QObject(&box), box_(box), owner_(owner), placement_(placement) {
        box.installEventFilter(this);
    }

    void place() {
        const QRect reference =
            placement_.desktop ? owner_.screen()->virtualGeometry() : owner_.frameGeometry();
        const QPoint wanted = placeBox(reference, box_.frameGeometry().size(), placement_);
        if (box_.frameGeometry().topLeft() != wanted) {
            box_.move(wanted);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == &box_) {
            switch (e->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
                place();
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    QMessageBox& box_;
    const QWidget& owner_;
    BoxPlacement placement_;
};

} // namespace

int ScreenMessageBoxes::show(const base::MessageBoxRequest& request) {
    QMessageBox box(iconFor(request.style), request.title, request.text, buttonsFor(request.style),
                    request.owner);
    if ((request.style & mb::SetForeground) != 0) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    if (request.placement && request.owner != nullptr) {
        // Placed before it becomes visible, so it never shows anywhere else first, and kept there.
        box.adjustSize();
        auto* keeper = new BoxKeeper(box, *request.owner, *request.placement);
        keeper->place();
    }
    return resultFor(box.exec());
}

} // namespace torvane::secondcopy
