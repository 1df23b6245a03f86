#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace torvane::shell {

class CourseBrowser;

// Find in the page: a bar over the bottom edge of the course browser (the browser keeps its place and
// size). Typing finds as you type, every match marked and the current one distinct, "3 of 12" or
// "Not found" beside the box; Enter or F3 goes to the next match, Shift+Enter or Shift+F3 to the one
// before. Closing it removes the marks and gives the keyboard back to the page.
class FindBar final : public QWidget {
    Q_OBJECT
public:
    FindBar(QWidget& window, CourseBrowser& browser);
    ~FindBar() override;
    Q_DISABLE_COPY_MOVE(FindBar)

    // Shows the bar with the keyboard in its box, the text there chosen so that typing replaces it.
    void open();
    void close();
    bool isOpen() const { return isVisible(); }
    // The next match, or the one before; the bar opens first when it is closed.
    void next();
    void previous();

    // Over the bottom edge of the page's area.
    void place(const QRect& pageArea);
    // What the learner reads beside the box.
    QString status() const;
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void find(bool backward);

    CourseBrowser& browser_;
    QLineEdit* txtFind = nullptr;
    QLabel* lblStatus = nullptr;
    int asked_ = 0; // which search an answer belongs to
};

} // namespace torvane::shell
