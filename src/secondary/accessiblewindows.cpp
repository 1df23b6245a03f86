#include <QAccessibleWidget>
#include <QWidget>
#include <secondary/accessiblewindows.h>

namespace torvane::secondary {

namespace {

// Qt describes a plain QWidget as a client area; a top-level one of ours is a window, and its name is
// its caption (QAccessibleWidget names a window by its title).
QAccessibleInterface* windowFactory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType() || !className.startsWith(QLatin1String("torvane::"))) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow()) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void exposeWindowsAsWindows() {
    static const bool installed = [] {
        QAccessible::installFactory(windowFactory);
        return true;
    }();
    (void)installed;
}

} // namespace torvane::secondary
