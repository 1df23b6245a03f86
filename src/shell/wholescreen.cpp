#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <shell/wholescreen.h>

namespace torvane::shell {

WholeScreen::WholeScreen() {
    follow(QGuiApplication::primaryScreen());
}

WholeScreen::~WholeScreen() = default;

QSize WholeScreen::sizeFor(const QWidget& window) const {
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

void WholeScreen::watch(QWidget& window) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        return;
    }
    follow(handle->screen());
    connect(handle, &QWindow::screenChanged, this, [this](QScreen* screen) {
        follow(screen);
        emit changed();
    });
}

void WholeScreen::follow(QScreen* screen) {
    disconnect(geometry_);
    if (screen != nullptr) {
        geometry_ = connect(screen, &QScreen::geometryChanged, this, &WholeScreen::changed);
    }
}

} // namespace torvane::shell
