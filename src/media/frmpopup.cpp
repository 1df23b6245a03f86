#include <QApplication>
#include <QKeyEvent>
#include <QWebEngineView>
#include <media/frmpopup.h>
#include <router/coursescheme.h>
#include <router/offscreenwindows.h>
#include <router/pagestyle.h>

namespace torvane::media {

frmPopup::frmPopup(PopupHost& viewer)
    // A tool window to the window manager, so that a look for the viewer's window by its title never
    // takes the popup for it; it still takes the focus and the keys.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), viewer_(viewer) {
    setObjectName(QStringLiteral("frmPopup"));
    setWindowTitle(QStringLiteral("Torvane - picture"));
    Web2 = new QWebEngineView(this);
    Web2->setObjectName(QStringLiteral("Web2"));
    router::confineCoursePages(Web2->settings());
    style_ = new router::PageStyle(*Web2->page(), false);
    connect(Web2, &QWebEngineView::loadFinished, this,
            [] { router::keepOffscreenWindowsFromScreenReaders(); });
    // Keys pressed while the picture has the focus end the popup as well.
    qApp->installEventFilter(this);
}

void frmPopup::showPicture(const QString& popFile) {
    popFile_ = popFile;
    Web2->setUrl(QUrl(viewer_.fileLocn() + popFile_));
}

void frmPopup::setDark(bool dark) {
    style_->setDark(dark);
}

void frmPopup::setPictureSize(QSize size) {
    Web2->resize(size);
    resize(size);
}

bool frmPopup::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(e);
}

bool frmPopup::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this && watched == QApplication::focusWidget()) {
            Form_KeyDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void frmPopup::Form_Activate() {
    QCoreApplication::processEvents();
    Web2->setUrl(QUrl(viewer_.fileLocn() + popFile_));
}

void frmPopup::Form_KeyDown() {
    viewer_.stopPopupWatch();
    viewer_.EndTRV();
}

} // namespace torvane::media
