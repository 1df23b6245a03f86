#pragma once

#include <QWidget>

class QWebEngineView;

namespace torvane::media {

class ViewerLink;

// The popup picture window of a second copy: a browser showing one course picture. The copy ends at
// the next press of the left mouse button anywhere, or of a key while the popup has the focus.
class frmPopup final : public QWidget {
    Q_OBJECT
public:
    explicit frmPopup(ViewerLink& viewer);

    // Shows the picture `popFile` of the course folder.
    void showPicture(const QString& popFile);

    QWebEngineView* Web2 = nullptr;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Activate();
    void Form_KeyDown();

    ViewerLink& viewer_;
    QString popFile_;
};

} // namespace torvane::media
