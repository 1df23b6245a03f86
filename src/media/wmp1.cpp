#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QMediaDevices>
#include <QPainter>
#include <QSlider>
#include <QToolButton>
#include <base/logging.h>
#include <base/timing.h>
#include <media/mediaurl.h>
#include <media/wmp1.h>

namespace torvane::media {

namespace {

constexpr int kControlRowHeight = 28;

const QString kModeNone = QStringLiteral("none");
const QString kModeInvisible = QStringLiteral("invisible");
const QString kModeFull = QStringLiteral("full");

// The multimedia backend Qt loads: the one named in QT_MEDIA_BACKEND, else the platform's default
// for Qt 6.4.
QString mediaBackendName() {
    const QString chosen = qEnvironmentVariable("QT_MEDIA_BACKEND").toLower();
    if (!chosen.isEmpty()) {
        return chosen;
    }
#if defined(Q_OS_WIN)
    return QStringLiteral("windows");
#elif defined(Q_OS_DARWIN)
    return QStringLiteral("darwin");
#else
    return QStringLiteral("gstreamer");
#endif
}

// Whether to give the player an audio output. Where the system has a sound device, always. Without
// one it depends on the backend:
// - GStreamer needs an output for any media with sound: without one its audio stream is not linked
//   and playback fails at once ("Internal data stream error"). With one, its automatic sink falls
//   back to a silent sink that runs on the clock, so sound-only media plays in real time to its end.
// - FFmpeg crashes in its audio thread when an output is attached without a device, and other
//   backends are untried there; they go without, and sound-only media gets the silent clock.
bool attachesAudioOutput(bool systemHasAudioDevice, const QString& backend) {
    return systemHasAudioDevice || backend == QLatin1String("gstreamer");
}

bool isLoaded(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
           status == QMediaPlayer::BufferedMedia || status == QMediaPlayer::StalledMedia;
}

QUrl resolveAgainstBundledCourse(const QString& address) {
    return resolveCourseMediaUrl(address, QDir(QCoreApplication::applicationDirPath()).filePath("course"));
}

// The classic play state for what Qt's player reports. Qt keeps PlayingState after an error and some
// backends report it for a moment at the end of the media, so "playing" is only claimed while the
// media is loaded and nothing went wrong. `playRequested` tells a stopped player (1) from one that is
// merely ready (10) because nobody has asked it to play since its media was set.
int classicPlayState(QMediaPlayer::PlaybackState playback, QMediaPlayer::MediaStatus status,
                     QMediaPlayer::Error error, bool playRequested) {
    if (error != QMediaPlayer::NoError) {
        return wmppsStopped;
    }
    switch (status) {
    case QMediaPlayer::NoMedia:
        return wmppsUndefined;
    case QMediaPlayer::InvalidMedia:
        return wmppsStopped;
    case QMediaPlayer::EndOfMedia:
        return wmppsMediaEnded;
    case QMediaPlayer::LoadingMedia:
        return wmppsTransitioning;
    default:
        break;
    }
    switch (playback) {
    case QMediaPlayer::PlayingState:
        return wmppsPlaying;
    case QMediaPlayer::PausedState:
        return wmppsPaused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return playRequested ? wmppsStopped : wmppsReady;
}

} // namespace

WMP1::WMP1(QWidget* parent, UrlResolver resolver)
    : QWidget(parent), resolver_(resolver ? std::move(resolver) : resolveAgainstBundledCourse),
      uiMode_(kModeInvisible) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    silentClock_.setSingleShot(true);
    connect(&silentClock_, &QTimer::timeout, this, &WMP1::onSilentClockEnd);
    loadGiveUp_.setSingleShot(true);
    loadGiveUp_.setInterval(base::kMediaLoadGiveUpMs);
    connect(&loadGiveUp_, &QTimer::timeout, this, &WMP1::onLoadGiveUp);
    buildControlRow();
    // Hidden explicitly, so that showing the parent does not show the control before it is asked to.
    applyVisibility();
}

WMP1::~WMP1() {
    if (engine_) {
        // The player hands its sink a last empty frame while it is torn down; nothing here may take it.
        disconnect(&engine_->sink, nullptr, this, nullptr);
        disconnect(&engine_->player, nullptr, this, nullptr);
    }
}

WMP1::Engine& WMP1::engine() {
    if (engine_) {
        return *engine_;
    }
    engine_ = std::make_unique<Engine>();
    QMediaPlayer& player = engine_->player;
    player.setVideoSink(&engine_->sink);
    connect(&engine_->sink, &QVideoSink::videoFrameChanged, this, &WMP1::onVideoFrame);
    const auto stateMayHaveChanged = [this] {
        runSilentClockIfNeeded();
        scheduleStateCheck();
    };
    connect(&player, &QMediaPlayer::playbackStateChanged, this, stateMayHaveChanged);
    connect(&player, &QMediaPlayer::mediaStatusChanged, this, stateMayHaveChanged);
    connect(&player, &QMediaPlayer::errorOccurred, this, stateMayHaveChanged);
    connect(&player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& why) {
        qCWarning(base::lcMedia) << "cannot play" << url_ << ":" << why;
    });
    connect(&player, &QMediaPlayer::hasAudioChanged, this, stateMayHaveChanged);
    connect(&player, &QMediaPlayer::hasVideoChanged, this, stateMayHaveChanged);
    connect(&player, &QMediaPlayer::durationChanged, this, stateMayHaveChanged);
    connect(&player, &QMediaPlayer::durationChanged, positionSlider_,
            [this](qint64 duration) { positionSlider_->setRange(0, static_cast<int>(duration)); });
    connect(&player, &QMediaPlayer::positionChanged, positionSlider_, [this](qint64 position) {
        if (!positionSlider_->isSliderDown()) {
            positionSlider_->setValue(static_cast<int>(position));
        }
    });
    connect(positionSlider_, &QSlider::sliderMoved, &player, &QMediaPlayer::setPosition);
    return *engine_;
}

void WMP1::setUrlResolver(UrlResolver resolver) {
    resolver_ = resolver ? std::move(resolver) : resolveAgainstBundledCourse;
}

void WMP1::setURL(const QString& url) {
    url_ = url;
    resetSilentClock();
    playRequested_ = false;
    loadAbandoned_ = false;
    frame_ = QVideoFrame();
    engine(); // before the audio output is chosen for it
    chooseAudioOutput();
    const QUrl source = resolver_(url);
    if (source.isEmpty() && !url.isEmpty()) {
        qCDebug(base::lcMedia) << "refused:" << url;
    }
    engine_->player.setSource(source);
    loadGiveUp_.start();
    update();
    scheduleStateCheck();
}

void WMP1::setUiMode(const QString& mode) {
    const QString wanted = mode.toLower();
    if (wanted != kModeNone && wanted != kModeInvisible && wanted != kModeFull) {
        return;
    }
    uiMode_ = wanted;
    applyVisibility();
}

int WMP1::playState() const {
    if (loadAbandoned_) {
        return wmppsStopped;
    }
    if (silentClock_.isActive()) {
        return wmppsPlaying;
    }
    if (silentEnded_) {
        return wmppsMediaEnded;
    }
    if (!engine_) {
        return classicPlayState(QMediaPlayer::StoppedState, QMediaPlayer::NoMedia, QMediaPlayer::NoError,
                                playRequested_);
    }
    const QMediaPlayer& player = engine_->player;
    return classicPlayState(player.playbackState(), player.mediaStatus(), player.error(), playRequested_);
}

void WMP1::play() {
    if (source().isEmpty() || loadAbandoned_) {
        return;
    }
    playRequested_ = true;
    if (silentEnded_) {
        resetSilentClock();
    }
    engine_->player.play();
    runSilentClockIfNeeded();
    scheduleStateCheck();
}

void WMP1::pause() {
    if (silentClock_.isActive()) {
        silentLeftMs_ = silentClock_.remainingTime();
        silentClock_.stop();
    }
    if (engine_) {
        engine_->player.pause();
    }
    scheduleStateCheck();
}

void WMP1::stop() {
    playRequested_ = true;
    resetSilentClock();
    if (engine_) {
        engine_->player.stop();
    }
    frame_ = QVideoFrame();
    update();
    scheduleStateCheck();
}

void WMP1::setVisible(bool visible) {
    containerVisible_ = visible;
    applyVisibility();
}

void WMP1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (frame_.isValid()) {
        QVideoFrame::PaintOptions options;
        options.backgroundColor = Qt::black;
        options.aspectRatioMode = Qt::KeepAspectRatio;
        frame_.paint(&painter, pictureRect(), options);
    }
}

void WMP1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControlRow();
}

void WMP1::buildControlRow() {
    controlRow_ = new QWidget(this);
    controlRow_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(controlRow_);
    row->setContentsMargins(4, 2, 4, 2);
    const auto addButton = [this, row](const QString& text, void (WMP1::*action)()) {
        auto* button = new QToolButton(controlRow_);
        button->setText(text);
        connect(button, &QToolButton::clicked, this, action);
        row->addWidget(button);
    };
    addButton(tr("Play"), &WMP1::play);
    addButton(tr("Pause"), &WMP1::pause);
    addButton(tr("Stop"), &WMP1::stop);
    positionSlider_ = new QSlider(Qt::Horizontal, controlRow_);
    row->addWidget(positionSlider_, 1); // follows the player once there is one (engine())
}

void WMP1::layoutControlRow() {
    controlRow_->setGeometry(0, height() - kControlRowHeight, width(), kControlRowHeight);
}

void WMP1::applyVisibility() {
    controlRow_->setVisible(uiMode_ == kModeFull);
    layoutControlRow();
    QWidget::setVisible(containerVisible_ && uiMode_ != kModeInvisible);
    update();
}

QRect WMP1::pictureRect() const {
    return uiMode_ == kModeFull ? rect().adjusted(0, 0, 0, -kControlRowHeight) : rect();
}

void WMP1::chooseAudioOutput() {
    const QList<QAudioDevice> devices = QMediaDevices::audioOutputs();
    if (!attachesAudioOutput(!devices.isEmpty(), mediaBackendName())) {
        engine_->player.setAudioOutput(nullptr);
        return;
    }
    if (!audioOutput_) {
        audioOutput_ = std::make_unique<QAudioOutput>();
    }
    // Follow the system's current default; devices may have come or gone since the last media.
    audioOutput_->setDevice(QMediaDevices::defaultAudioOutput());
    engine_->player.setAudioOutput(audioOutput_.get());
}

void WMP1::onVideoFrame(const QVideoFrame& frame) {
    frame_ = frame;
    if (isVisible()) {
        update(pictureRect());
    }
}

// Without an audio output some backends never advance sound-only media, although it reports playing.
bool WMP1::needsSilentClock() const {
    return engine_ && !audioOutputAttached() && engine_->player.hasAudio() && !engine_->player.hasVideo();
}

void WMP1::runSilentClockIfNeeded() {
    if (!needsSilentClock() || silentClock_.isActive() || silentEnded_) {
        return;
    }
    const QMediaPlayer& player = engine_->player;
    if (player.playbackState() != QMediaPlayer::PlayingState || !isLoaded(player.mediaStatus())) {
        return;
    }
    const qint64 left = silentLeftMs_ >= 0 ? silentLeftMs_ : player.duration() - player.position();
    if (silentLeftMs_ < 0 && player.duration() <= 0) {
        return; // length not known yet: durationChanged comes back here
    }
    silentLeftMs_ = -1;
    silentClock_.start(static_cast<int>(std::max<qint64>(left, 0)));
}

void WMP1::onSilentClockEnd() {
    silentEnded_ = true;
    engine_->player.stop(); // the clock runs only for a player's media
    scheduleStateCheck();
}

void WMP1::resetSilentClock() {
    silentClock_.stop();
    silentLeftMs_ = -1;
    silentEnded_ = false;
}

// Qt reports a change of playback state and of media status one after the other; reporting once both
// have arrived keeps transient mixtures (such as "stopped" just before "media ended") out of the signal.
void WMP1::onLoadGiveUp() {
    if (!engine_ || engine_->player.mediaStatus() != QMediaPlayer::LoadingMedia) {
        return;
    }
    loadAbandoned_ = true;
    qCWarning(base::lcMedia) << url_ << "was still loading after" << base::kMediaLoadGiveUpMs
                             << "ms: given up";
    engine_->player.stop();
    scheduleStateCheck();
}

void WMP1::scheduleStateCheck() {
    if (stateCheckPending_) {
        return;
    }
    stateCheckPending_ = true;
    QMetaObject::invokeMethod(this, &WMP1::checkState, Qt::QueuedConnection);
}

void WMP1::checkState() {
    stateCheckPending_ = false;
    const int state = playState();
    if (state != reportedState_) {
        reportedState_ = state;
        emit playStateChanged(state);
    }
}

} // namespace torvane::media
