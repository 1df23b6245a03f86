#pragma once

#include <QObject>
#include <QSize>

class QScreen;
class QWidget;

namespace torvane::shell {

// The whole screen a window shows on, in pixels: what a maximised window is classified by. It says when
// that screen changes (another resolution, another monitor), so that a maximised window is classified
// again.
class WholeScreen : public QObject {
    Q_OBJECT
public:
    WholeScreen();
    ~WholeScreen() override;

    // The screen `window` shows on (before it shows, the primary screen).
    virtual QSize sizeFor(const QWidget& window) const;
    // Follows `window` from screen to screen.
    void watch(QWidget& window);

signals:
    void changed();

private:
    void follow(QScreen* screen);

    QMetaObject::Connection geometry_;
};

} // namespace torvane::shell
