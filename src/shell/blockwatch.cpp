#include <QTimer>
#include <base/logging.h>
#include <base/timing.h>
#include <media/narrationrequest.h>
#include <media/viewerlink.h>
#include <media/withfile.h>
#include <shell/blockwatch.h>
#include <shell/videopresenter.h>

namespace torvane::shell {

BlockWatch::BlockWatch(QObject& parent, media::ViewerLink& viewer, VideoPresenter& video)
    : QObject(&parent), viewer_(viewer), video_(video) {
    TimerEnd = new QTimer(this);
    TimerEnd->setObjectName(QStringLiteral("TimerEnd"));
    TimerEnd->setInterval(base::intervals().pollMs);
    connect(TimerEnd, &QTimer::timeout, this, &BlockWatch::TimerEnd_Timer);
}

BlockWatch::~BlockWatch() = default;

void BlockWatch::takeLinks(media::Links links) {
    links_ = std::move(links);
}

void BlockWatch::start() {
    TimerEnd->start();
}

void BlockWatch::closeLinks() {
    TimerEnd->stop();
    links_.closeLinks();
}

bool BlockWatch::polling() const {
    return TimerEnd->isActive();
}

int BlockWatch::held() {
    int open = 0;
    for (platform::SharedBlock* block :
         {&links_.trvWav(), &links_.kirvoltPrev(), &links_.kirvoltEnd(), &links_.kirvoltName()}) {
        open += block->isMapped() ? 1 : 0;
    }
    return open;
}

void BlockWatch::TimerEnd_Timer() {
    takeNarrationRequest();
    watchHandOff();
}

void BlockWatch::watchHandOff() {
    // While a path is handed over to a tool, the companion window offers the way back.
    const std::vector<std::uint8_t> name = links_.kirvoltName().read(0, 1);
    const bool handedOver = !name.empty() && name[0] != 0;
    if (handedOver) {
        if (!withfile_) {
            withfile_ = std::make_unique<media::withfile>(viewer_);
        }
        if (!withfile_->isVisible()) {
            withfile_->Form_Load();
        }
    } else if (withfile_ && withfile_->isVisible()) {
        withfile_->hide();
    }
}

void BlockWatch::takeNarrationRequest() {
    auto& block = links_.trvWav();
    const std::vector<std::uint8_t> bytes = block.read(0, block.size());
    if (bytes.empty() || bytes[0] == 0) {
        return;
    }
    const media::NarrationRequest request = media::decodeNarrationRequest(bytes);
    const std::uint8_t taken = 0;
    links_.writeAndFlush(block, std::span(&taken, 1));
    switch (request.kind) {
    case media::NarrationKind::Stop:
        video_.stopVideo();
        break;
    case media::NarrationKind::Play:
        video_.playNarration(media::narrationClipAddress(viewer_.fileLocn(), request.clip));
        break;
    case media::NarrationKind::Refused:
        qCWarning(base::lcBlocks)
            << "narration request refused: its clip name could reach outside the course";
        break;
    case media::NarrationKind::None:
        break;
    }
}

} // namespace torvane::shell
