#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QImage;
class QPrinter;
class QWidget;

namespace torvane::shell {

class CourseBrowser;

// How printing reaches the system; empty entries are the system's own.
struct PrintServices final {
    // The default printer, or nullptr when none is set up.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;
    // Lets the learner choose how to print; false when cancelled.
    std::function<bool(QPrinter&, QWidget*)> printDialog;
};

// The Print command: the page in the course browser through the print dialog, or a help picture on the
// default printer at the page's top-left corner. Failures are told to the learner.
class PagePrinter final : public QObject {
    Q_OBJECT
public:
    // `owner` is the window the dialog and the messages belong to; `tell` shows a message box.
    PagePrinter(QWidget& owner, CourseBrowser& browser, PrintServices services,
                std::function<void(const QString&)> tell);
    ~PagePrinter() override;
    Q_DISABLE_COPY_MOVE(PagePrinter)

    // Prints `picture`, or without one the page.
    void printCommand(const QImage* picture);

signals:
    // The browser has finished printing the page; false when it could not.
    void pagePrinted(bool ok);

private:
    std::unique_ptr<QPrinter> defaultPrinter() const;
    QString printPage();
    QString printPicture(const QImage& picture);

    QWidget& owner_;
    CourseBrowser& browser_;
    PrintServices services_;
    std::function<void(const QString&)> tell_;
    std::unique_ptr<QPrinter> pagePrinter_; // kept until the browser has printed
};

} // namespace torvane::shell
