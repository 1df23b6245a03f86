#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <base/timing.h>
#include <base/twips.h>
#include <media/wmp1.h>
#include <shell/videopresenter.h>
#include <shell/viewerview.h>

namespace torvane::shell {

namespace {
constexpr int kPlayerTop = 50;
} // namespace

VideoPresenter::VideoPresenter(QWidget& window) : QObject(&window) {
    picAVI = new QWidget(&window);
    picAVI->setObjectName(QStringLiteral("picAVI"));
    picAVI->setAutoFillBackground(true);
    picAVI->setStyleSheet(QStringLiteral("background: black;"));
    picAVI->hide();
    picAVI->installEventFilter(this);

    WMP1 = new media::WMP1(&window);
    WMP1->setObjectName(QStringLiteral("WMP1"));
    WMP1->setGeometry(base::twipsRect(0, 0, 13050, 9600));
    WMP1->hide();

    const auto& iv = base::intervals();
    TimerPREavi = makeTimer("TimerPREavi", iv.preVideoMs);
    TimerAVI = makeTimer("TimerAVI", iv.videoWatchMs);
    connect(TimerPREavi, &QTimer::timeout, this, &VideoPresenter::TimerPREavi_Timer);
    connect(TimerAVI, &QTimer::timeout, this, &VideoPresenter::TimerAVI_Timer);
}

VideoPresenter::~VideoPresenter() = default;

QTimer* VideoPresenter::makeTimer(const char* name, int intervalMs) {
    auto* timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    return timer;
}

void VideoPresenter::setMediaResolver(std::function<QUrl(const QString&)> resolver) {
    WMP1->setUrlResolver(std::move(resolver));
}

void VideoPresenter::sizeBackdrop(QSize screen) {
    picAVI->setGeometry(0, 0, screen.width(), screen.height());
}

void VideoPresenter::showVideo(const QString& address, QSize screen) {
    sizeBackdrop(screen);
    picAVI->show();
    picAVI->raise();
    WMP1->resize(qRound(screen.width() * 0.6), qRound(screen.height() * 0.7));
    WMP1->move(qRound(screen.width() / 2.0 - WMP1->width() * 0.5), kPlayerTop);
    WMP1->show();
    WMP1->raise();
    WMP1->setUiMode(QStringLiteral("none"));
    WMP1->setURL(address);
    WMP1->play();
    emit mediaStarted();
}

void VideoPresenter::watchVideo() {
    TimerPREavi->start();
}

void VideoPresenter::playNarration(const QString& address) {
    WMP1->setUiMode(QStringLiteral("invisible"));
    WMP1->setURL(address);
    WMP1->play();
    emit mediaStarted();
}

void VideoPresenter::stopVideo() {
    TimerAVI->stop();
    TimerPREavi->stop();
    WMP1->stop();
    WMP1->setUiMode(QStringLiteral("invisible"));
    picAVI->hide();
}

void VideoPresenter::TimerPREavi_Timer() {
    TimerPREavi->stop();
    TimerAVI->start();
}

void VideoPresenter::TimerAVI_Timer() {
    if (WMP1->playState() == media::wmppsPlaying) {
        return;
    }
    TimerAVI->stop();
    WMP1->stop();
    WMP1->setUiMode(QStringLiteral("invisible"));
    picAVI->hide();
}

bool VideoPresenter::eventFilter(QObject* watched, QEvent* e) {
    if (watched == picAVI && e->type() == QEvent::MouseButtonPress) {
        stopVideo(); // picAVI_MouseDown
        return true;
    }
    return QObject::eventFilter(watched, e);
}

void VideoPresenter::describe(ViewerView& v) const {
    v.backdropShown = !picAVI->isHidden();
    v.backdrop = picAVI->geometry();
    v.playerShown = !WMP1->isHidden();
    v.player = WMP1->geometry();
    v.playerMode = WMP1->uiMode();
    v.playerUrl = WMP1->URL();
    v.playState = WMP1->playState();
    v.videoStarting = TimerPREavi->isActive();
    v.videoWatched = TimerAVI->isActive();
}

} // namespace torvane::shell
