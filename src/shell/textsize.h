#pragma once

#include <QObject>

class QLabel;
class QRect;
class QTimer;
class QWidget;

namespace torvane::shell {

class CourseBrowser;

// The text size of the course pages (the browser's zoom, in the browsers' steps from 50 % to 300 %),
// and the short "Text size 125 %" that shows over the page when it changes. The window's size class and
// the page variants follow the window, never the text size.
class TextSize final : public QObject {
    Q_OBJECT
public:
    TextSize(QWidget& window, CourseBrowser& browser);
    ~TextSize() override;
    Q_DISABLE_COPY_MOVE(TextSize)

    void bigger();
    void smaller();
    void normal();
    // The size kept from an earlier run (a step; anything else is the normal size), without the indicator.
    void set(int percent);
    int size() const { return size_; }

    // The indicator goes at the top of the page's area.
    void place(const QRect& pageArea);
    bool indicatorShown() const;

signals:
    void changed(int percent);

private:
    void apply(int percent);

    CourseBrowser& browser_;
    int size_ = 100;
    QLabel* indicator_ = nullptr;
    QTimer* hide_ = nullptr;
};

} // namespace torvane::shell
