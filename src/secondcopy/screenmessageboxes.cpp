#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
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

// Puts a placed box where its placement puts it as it comes up. The box's frame is known only once the
// window manager has framed it, and some window managers move a dialog where they like while they map
// it; so until the box has come to rest on screen the position is computed again from the reference
// window and the box's real frame whenever the box is shown, moved, resized or activated. Once nothing
// has moved it for a moment it is the learner's: a drag leaves it where it was dragged.
class BoxKeeper final : public QObject {
public:
    BoxKeeper(QMessageBox& box, const QWidget& owner, const BoxPlacement& placement)
        : QObject(&box), box_(box), owner_(owner), placement_(placement) {
        settled_.setSingleShot(true);
        settled_.setInterval(kSettleMs);
        connect(&settled_, &QTimer::timeout, this, [this] { box_.removeEventFilter(this); });
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
                if (box_.isVisible()) {
                    settled_.start(); // rests once the window manager has let it be for a moment
                }
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    // How long a box shown on screen stays unmoved before it is taken to have come to rest.
    static constexpr int kSettleMs = 500;

    QMessageBox& box_;
    const QWidget& owner_;
    BoxPlacement placement_;
    QTimer settled_;
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
