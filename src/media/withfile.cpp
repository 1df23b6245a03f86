#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <base/messageboxcodes.h>
#include <media/companionpicture.h>
#include <media/viewerlink.h>
#include <media/withfile.h>
#include <platform/desktopwindows.h>

namespace torvane::media {

withfile::withfile(ViewerLink& viewer)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      viewer_(viewer) {
    setObjectName(QStringLiteral("withfile"));
    setWindowTitle(QStringLiteral("Exercise in progress - back to the course"));
    setFixedSize(kWidth, kHeight);
    auto* face = new QLabel(this);
    face->setPixmap(QPixmap::fromImage(drawCompanionFace(false)));
    face->setGeometry(0, 0, kWidth, kHeight);
    face->setAttribute(Qt::WA_TransparentForMouseEvents);
    picPoe29 = new QLabel(this);
    picPoe29->setObjectName(QStringLiteral("picPoe29"));
    picPoe29->setPixmap(QPixmap::fromImage(drawCompanionFace(true)));
    picPoe29->setGeometry(0, 0, kWidth, kHeight);
    picPoe29->hide();
    picPoe29->installEventFilter(this);
    setToolTip(QStringLiteral("Left click: back to the course.  Right click: quit Torvane."));
}

void withfile::Form_Load() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->geometry().width() : 0;
    setGeometry(screenWidth - kFromRightEdge, 0, kWidth, kHeight);
    show();
    raise();
}

bool withfile::eventFilter(QObject* watched, QEvent* e) {
    if (watched == picPoe29) {
        if (e->type() == QEvent::MouseButtonPress) {
            mouseDown(static_cast<QMouseEvent*>(e)->button(), true);
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            mouseUp(static_cast<QMouseEvent*>(e)->button());
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void withfile::mousePressEvent(QMouseEvent* e) {
    mouseDown(e->button(), false);
}

void withfile::mouseReleaseEvent(QMouseEvent* e) {
    mouseUp(e->button());
}

void withfile::mouseDown(Qt::MouseButton button, bool onPicture) {
    if (button == Qt::LeftButton) {
        picPoe29->show();
        return;
    }
    if (button != Qt::RightButton) {
        return;
    }
    const auto answer = viewer_.msgBoxAt(QStringLiteral("Are you sure you want to quit?"),
                                         base::mb::QuitStyle, QStringLiteral("Torvane"), this, -150, 80);
    if (answer == base::mb::Yes) {
        viewer_.ShutOffTRV();
        if (onPicture) {
            viewer_.setFromWithfile();
        }
        viewer_.EndTRV();
        return;
    }
    picPoe29->hide();
}

void withfile::mouseUp(Qt::MouseButton button) {
    if (button != Qt::LeftButton) {
        return;
    }
    platform::bringWindowToFront(QStringLiteral("Torvane"));
    picPoe29->hide();
    hide(); // unloaded: the next poll finds the hand-off over and leaves it so
    viewer_.ShutOffWithfile();
}

} // namespace torvane::media
