#pragma once

#include <QWidget>

class QLabel;

namespace torvane::media {

class ViewerLink;

// The companion window shown while a file is handed over to a tool: a small always-on-top window at
// the top edge of the screen. A left click on it brings the viewer back and ends the hand-off; a right
// click offers to quit.
class withfile final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 178;
    static constexpr int kHeight = 65;
    static constexpr int kFromRightEdge = 322;

    explicit withfile(ViewerLink& viewer);

    // Places the window (topmost, at the top edge, its left edge 322 pixels left of the screen's
    // right edge) and shows it.
    void Form_Load();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void mouseDown(Qt::MouseButton button, bool onPicture);
    void mouseUp(Qt::MouseButton button);

    ViewerLink& viewer_;
    QLabel* picPoe29 = nullptr; // the pressed face, shown while the left button is down
};

} // namespace torvane::media
