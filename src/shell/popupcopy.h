#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <media/frmpopup.h>
#include <memory>
#include <secondcopy/commandline.h>

namespace torvane::shell {

// A second copy's popup picture: the popup window, placed by the pointer, and the watch that ends the
// copy at the next press of the left mouse button anywhere. It needs no main window.
class PopupCopy final : public QObject, public media::PopupHost {
public:
    // `fileLocn` is the course folder address; `billDir` the learner's data folder, whose reading
    // preferences the picture follows; `end` ends the copy.
    PopupCopy(QString fileLocn, QString billDir, std::function<void()> end);
    ~PopupCopy() override;

    // Shows the picture of a "/POPJPG=" command line and starts the watch.
    void show(const secondcopy::SecondCopyJob& job);

    QString fileLocn() const override;
    void stopPopupWatch() override;
    void EndTRV() override;

private:
    void TimerPop_Timer();

    QString fileLocn_;
    QString billDir_;
    std::function<void()> end_;
    std::unique_ptr<media::frmPopup> frmPopup_;
    QTimer TimerPop;
};

} // namespace torvane::shell
