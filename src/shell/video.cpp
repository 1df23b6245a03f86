// Video and narration in the main window, and the poll of the shared blocks for narration requests.
#include <QMouseEvent>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <base/timing.h>
#include <media/narrationrequest.h>
#include <media/withfile.h>
#include <media/wmp1.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

namespace {
constexpr int kPlaying = 3;
constexpr int kPlayerTop = 50;
} // namespace

void frmTRV::playVideo(const QString& address) {
    stepBack();
    picAVI->setGeometry(0, 0, state_.ScreenWidth, state_.ScreenHeight);
    picAVI->show();
    picAVI->raise();
    const int width = qRound(state_.ScreenWidth * 0.6);
    const int height = qRound(state_.ScreenHeight * 0.7);
    WMP1->resize(width, height);
    WMP1->move(qRound(state_.ScreenWidth / 2.0 - WMP1->width() * 0.5), kPlayerTop);
    WMP1->show();
    WMP1->raise();
    WMP1->setUiMode(QStringLiteral("none"));
    WMP1->setURL(address);
    WMP1->play();
    base::WaitASecond();
    TimerPREavi->start();
}

void frmTRV::playNarration(const QString& address) {
    stepBack();
    WMP1->setUiMode(QStringLiteral("invisible"));
    WMP1->setURL(address);
    WMP1->play();
}

void frmTRV::stopVideo() {
    TimerAVI->stop();
    TimerPREavi->stop();
    WMP1->stop();
    WMP1->setUiMode(QStringLiteral("invisible"));
    picAVI->hide();
}

void frmTRV::TimerPREavi_Timer() {
    TimerPREavi->stop();
    TimerAVI->start();
}

void frmTRV::TimerAVI_Timer() {
    if (WMP1->playState() == kPlaying) {
        return;
    }
    TimerAVI->stop();
    WMP1->stop();
    WMP1->setUiMode(QStringLiteral("invisible"));
    picAVI->hide();
}

void frmTRV::TimerEnd_Timer() {
    takeNarrationRequest();
    watchHandOff();
}

void frmTRV::watchHandOff() {
    // While a path is handed over to a tool, the companion window offers the way back.
    const std::vector<std::uint8_t> name = links_.kirvoltName().read(0, 1);
    const bool handedOver = !name.empty() && name[0] != 0;
    if (handedOver) {
        if (!withfile_) {
            withfile_ = std::make_unique<media::withfile>(static_cast<media::ViewerLink&>(*this));
        }
        if (!withfile_->isVisible()) {
            withfile_->Form_Load();
        }
    } else if (withfile_ && withfile_->isVisible()) {
        withfile_->hide();
    }
}

void frmTRV::takeNarrationRequest() {
    auto& block = links_.trvWav();
    const std::vector<std::uint8_t> bytes = block.read(0, block.size());
    if (bytes.empty() || bytes[0] == 0) {
        return;
    }
    const media::NarrationRequest request = media::decodeNarrationRequest(bytes);
    const std::uint8_t taken = 0;
    block.writeAndFlush(0, std::span(&taken, 1));
    switch (request.kind) {
    case media::NarrationKind::Stop:
        stopVideo();
        break;
    case media::NarrationKind::Play:
        WMP1->setUiMode(QStringLiteral("invisible"));
        WMP1->setURL(media::narrationClipAddress(state_.FileLocn, request.clip));
        WMP1->play();
        break;
    case media::NarrationKind::None:
    case media::NarrationKind::Refused:
        break;
    }
}

} // namespace torvane::shell
