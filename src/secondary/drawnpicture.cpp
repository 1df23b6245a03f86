#include <secondary/drawnpicture.h>

namespace torvane::secondary {

DrawnPicture::DrawnPicture(std::function<QPixmap()> draw, QWidget* parent)
    : QLabel(parent), draw_(std::move(draw)) {}

const QPixmap& DrawnPicture::picture() {
    if (picture_.isNull()) {
        picture_ = draw_();
        setPixmap(picture_);
    }
    return picture_;
}

void DrawnPicture::setVisible(bool visible) {
    if (visible) {
        picture();
    }
    QLabel::setVisible(visible);
}

} // namespace torvane::secondary
