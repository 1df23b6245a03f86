#pragma once

#include <QObject>

class QWebEnginePage;

namespace torvane::router {

// How the viewer styles the course pages of a browser, from its own script world, without changing
// their links or their text: a visible focus ring on links and controls reached with the keyboard, and
// the dark reading mode, a low-glare rendering of the page whose pictures keep their own colours.
class PageStyle final : public QObject {
    Q_OBJECT
public:
    PageStyle(QWebEnginePage& page, bool focusRing);
    ~PageStyle() override;
    Q_DISABLE_COPY_MOVE(PageStyle)

    // Switches the dark reading mode on or off, for the page shown and every page after it.
    void setDark(bool dark);
    bool dark() const { return dark_; }

private:
    void install();

    QWebEnginePage& page_;
    bool focusRing_;
    bool dark_ = false;
};

// The style sheet the viewer adds to a course page.
QString pageStyleSheet(bool focusRing, bool dark);

} // namespace torvane::router
