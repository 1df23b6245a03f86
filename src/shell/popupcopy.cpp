#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineView>
#include <base/timing.h>
#include <base/twips.h>
#include <cmath>
#include <platform/desktopwindows.h>
#include <shell/popupcopy.h>
#include <shell/preferences.h>

namespace torvane::shell {

PopupCopy::PopupCopy(QString fileLocn, QString billDir, std::function<void()> end)
    : fileLocn_(std::move(fileLocn)), billDir_(std::move(billDir)), end_(std::move(end)) {
    TimerPop.setInterval(base::intervals().popupMs);
    connect(&TimerPop, &QTimer::timeout, this, &PopupCopy::TimerPop_Timer);
}

PopupCopy::~PopupCopy() = default;

namespace {

// The screen a popup at `pointer` shows on, as twips see it: its area in pixels and how many twips make
// one of its pixels (from its logical dots per inch).
struct ScreenInTwips final {
    QRect area;
    double perPixelX = base::kTwipsPerPixel;
    double perPixelY = base::kTwipsPerPixel;
};

ScreenInTwips screenAt(QPoint pointer) {
    ScreenInTwips s;
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return s;
    }
    s.area = screen->geometry();
    if (screen->logicalDotsPerInchX() > 0 && screen->logicalDotsPerInchY() > 0) {
        s.perPixelX = base::kTwipsPerInch / screen->logicalDotsPerInchX();
        s.perPixelY = base::kTwipsPerInch / screen->logicalDotsPerInchY();
    }
    return s;
}

int toPixels(int twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

} // namespace

void PopupCopy::show(const secondcopy::SecondCopyJob& job) {
    frmPopup_ = std::make_unique<media::frmPopup>(static_cast<media::PopupHost&>(*this));
    frmPopup_->setDark(loadPreferences(billDir_).darkMode);
    frmPopup_->showPicture(job.popFile);
    // Placed on the screen under the pointer, in that screen's twips.
    const QPoint pointer = QCursor::pos();
    const ScreenInTwips screen = screenAt(pointer);
    const QSize screenTwips(static_cast<int>(std::lround(screen.area.width() * screen.perPixelX)),
                            static_cast<int>(std::lround(screen.area.height() * screen.perPixelY)));
    const secondcopy::PopupGeometry g =
        secondcopy::popupGeometry(job.widthPixels, job.heightPixels, pointer - screen.area.topLeft(),
                                  screenTwips, screen.perPixelX, screen.perPixelY);
    const QSize size(toPixels(g.widthTwips, screen.perPixelX), toPixels(g.heightTwips, screen.perPixelY));
    frmPopup_->setPictureSize(size);
    frmPopup_->move(screen.area.topLeft() +
                    QPoint(toPixels(g.leftTwips, screen.perPixelX), toPixels(g.topTwips, screen.perPixelY)));
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
