#include <QGuiApplication>
#include <QWindow>
#include <router/offscreenwindows.h>

namespace torvane::router {

void keepOffscreenWindowsFromScreenReaders() {
    for (QWindow* window : QGuiApplication::allWindows()) {
        // Never shown, never given a window of the system's: its type is only what the accessibility
        // bridge reads, and desktop windows are no application windows to it.
        if (window->type() != Qt::Desktop && !window->isVisible() && window->inherits("QQuickWindow") &&
            window->title() == QLatin1String("Offscreen")) {
            window->setFlags(Qt::Desktop);
        }
    }
}

} // namespace torvane::router
