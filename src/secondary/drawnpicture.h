#pragma once

#include <QLabel>
#include <QPixmap>
#include <functional>

namespace torvane::secondary {

// A picture the program draws itself (the windows' help pictures), shown in a label. It is drawn the
// first time it is shown or asked for, not when its window is built: most sessions never show it.
class DrawnPicture final : public QLabel {
public:
    DrawnPicture(std::function<QPixmap()> draw, QWidget* parent);

    // The picture, drawn now if it has not been yet.
    const QPixmap& picture();

    void setVisible(bool visible) override;

private:
    std::function<QPixmap()> draw_;
    QPixmap picture_;
};

} // namespace torvane::secondary
