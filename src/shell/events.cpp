// Events the main window takes from its children and from the whole application.
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <secondary/drawnpicture.h>
#include <shell/frmtrv.h>
#include <shell/readingaids.h>

namespace torvane::shell {

bool frmTRV::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        if (watched == picHelp) {
            picHelp_Click();
            return true;
        }
        break;
    case QEvent::Wheel: {
        // Ctrl with the wheel over the page: the text size, in the learner's steps.
        const auto* wheel = static_cast<QWheelEvent*>(e);
        auto* widget = qobject_cast<QWidget*>(watched);
        if ((wheel->modifiers() & Qt::ControlModifier) != 0 && widget != nullptr &&
            widget->window() == this && wheel->angleDelta().y() != 0) {
            aids_->wheel(wheel->angleDelta().y() > 0 ? 1 : -1);
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
        // Key events arrive at the focus widget (often inside the browser); each is handled once,
        // there, when that widget belongs to this window.
        if (watched == QApplication::focusWidget() ||
            (QApplication::focusWidget() == nullptr && watched == this)) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == this) {
                return handleKeyEvent(static_cast<QKeyEvent*>(e));
            }
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace torvane::shell
