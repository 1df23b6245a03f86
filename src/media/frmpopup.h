#pragma once

#include <QString>
#include <QWidget>

class QWebEngineView;

namespace torvane::router {
class PageStyle;
}

namespace torvane::media {

// What the popup window needs from the copy that shows it.
class PopupHost {
public:
    virtual ~PopupHost() = default;

    // The course folder address, ending in "/".
    virtual QString fileLocn() const = 0;
    // Stops the popup's mouse watch.
    virtual void stopPopupWatch() = 0;
    // Ends the copy at once.
    virtual void EndTRV() = 0;
};

// The popup picture window of a second copy: a browser showing one course picture. The copy ends at
// the next press of the left mouse button anywhere, or of a key while the popup has the focus.
class frmPopup final : public QWidget {
    Q_OBJECT
public:
    explicit frmPopup(PopupHost& viewer);

    // Shows the picture `popFile` of the course folder.
    void showPicture(const QString& popFile);
    // Makes the picture's browser, and the window around it, `size` (pixels).
    void setPictureSize(QSize size);
    // Shows the picture's page in the dark reading mode, as the learner has chosen for the course pages.
    void setDark(bool dark);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Activate();
    void Form_KeyDown();

    PopupHost& viewer_;
    QWebEngineView* Web2 = nullptr;
    router::PageStyle* style_ = nullptr; // owned by Web2's page
    QString popFile_;
};

} // namespace torvane::media
