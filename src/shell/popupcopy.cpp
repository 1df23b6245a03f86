#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineView>
#include <base/timing.h>
#include <base/twips.h>
#include <platform/desktopwindows.h>
#include <shell/popupcopy.h>

namespace torvane::shell {

PopupCopy::PopupCopy(QString fileLocn, std::function<void()> end)
    : fileLocn_(std::move(fileLocn)), end_(std::move(end)) {
    TimerPop.setInterval(base::intervals().popupMs);
    connect(&TimerPop, &QTimer::timeout, this, &PopupCopy::TimerPop_Timer);
}

PopupCopy::~PopupCopy() = default;

void PopupCopy::show(const secondcopy::SecondCopyJob& job) {
    frmPopup_ = std::make_unique<media::frmPopup>(static_cast<media::PopupHost&>(*this));
    frmPopup_->showPicture(job.popFile);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPixels = screen != nullptr ? screen->geometry().size() : QSize();
    const double twipsPerPixel = base::kTwipsPerPixel;
    const secondcopy::PopupGeometry g =
        secondcopy::popupGeometry(job.widthPixels, job.heightPixels, QCursor::pos(),
                                  screenPixels * twipsPerPixel, twipsPerPixel, twipsPerPixel);
    const QSize size(base::twipsToPixels(g.widthTwips), base::twipsToPixels(g.heightTwips));
    frmPopup_->Web2->resize(size);
    frmPopup_->resize(size);
    frmPopup_->move(base::twipsToPixels(g.leftTwips), base::twipsToPixels(g.topTwips));
    frmPopup_->raise();
    QCoreApplication::processEvents();
    frmPopup_->show();
    TimerPop.start();
}

QString PopupCopy::fileLocn() const {
    return fileLocn_;
}

void PopupCopy::stopPopupWatch() {
    TimerPop.stop();
}

void PopupCopy::EndTRV() {
    TimerPop.stop();
    end_();
}

void PopupCopy::TimerPop_Timer() {
    if (platform::leftButtonDown()) {
        EndTRV();
    }
}

} // namespace torvane::shell
