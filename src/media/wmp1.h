#pragma once

#include <QMediaPlayer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>
#include <functional>
#include <memory>

class QAudioOutput;
class QSlider;

namespace torvane::media {

// Play states, numbered like those of the classic embeddable media-player control the window's code
// was written against.
enum WmpPlayState : int {
    wmppsUndefined = 0,
    wmppsStopped = 1,
    wmppsPaused = 2,
    wmppsPlaying = 3,
    wmppsBuffering = 6,
    wmppsWaiting = 7,
    wmppsMediaEnded = 8,
    wmppsTransitioning = 9,
    wmppsReady = 10,
};

// The main window's media player control: course videos in a rectangle of the window, narration
// with nothing on screen. It mirrors the properties the window's code uses: URL, uiMode, playState
// and the play/stop controls.
//
// uiMode is "invisible" when the control is made (the window never wants the player's own controls,
// so nothing may flash up before it chooses a mode); "none" shows the picture alone; "full" adds a
// row of play, pause and stop buttons and a position slider. The control is on screen only while
// its container is visible (show/hide/setVisible) and uiMode is not "invisible".
//
// The picture is painted from a plain video sink rather than through QVideoWidget: with Qt 6.4's
// GStreamer player, a video started as soon as its QVideoWidget is first shown (which is how the
// window plays videos) now and then fails with "Internal data stream error" or never leaves
// LoadedMedia; through a plain sink neither happens.
class WMP1 final : public QWidget {
    Q_OBJECT
public:
    // Maps an address given to setURL to what the media backend opens; an empty URL opens nothing.
    using UrlResolver = std::function<QUrl(const QString&)>;

    // Without a resolver, course addresses are looked up in the "course" folder beside the program.
    explicit WMP1(QWidget* parent = nullptr, UrlResolver resolver = {});
    ~WMP1() override;

    void setUrlResolver(UrlResolver resolver);

    // Loads the media of `url` without starting it. An address the resolver refuses clears the media,
    // so a later play() does nothing.
    void setURL(const QString& url);
    QString URL() const { return url_; }
    // What the backend was given for the current URL (empty when refused).
    QUrl source() const { return engine_ ? engine_->player.source() : QUrl(); }

    // "none", "invisible" or "full" (any case); other values are ignored.
    void setUiMode(const QString& mode);
    QString uiMode() const { return uiMode_; }

    // 3 only while the media really plays; 8 at its end; 1 after stop() or an error; 2 paused;
    // 9 while the media opens; 10 loaded but not yet asked to play; 0 without media.
    int playState() const;

    void play();
    void pause();
    void stop();

    // The container's own visibility as last requested; the control shows only when uiMode allows.
    void setVisible(bool visible) override;
    bool containerVisible() const { return containerVisible_; }

    // Whether sound goes to an audio output for the current media (see wmp1.cpp for when it does).
    bool audioOutputAttached() const { return engine_ && engine_->player.audioOutput() != nullptr; }

signals:
    // The value playState() now returns, once per change.
    void playStateChanged(int state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The media backend's player and the sink the picture is painted from. Made when the first media
    // is set: starting the backend (GStreamer) takes a good part of a second, which a viewer that has
    // shown no video yet need not spend at start-up. Until then the control reports no media.
    struct Engine final {
        QVideoSink sink;
        QMediaPlayer player; // after its outputs: destroyed before them
    };
    Engine& engine();

    void buildControlRow();
    void layoutControlRow();
    void applyVisibility();
    QRect pictureRect() const;
    void chooseAudioOutput();
    void onVideoFrame(const QVideoFrame& frame);
    bool needsSilentClock() const;
    void runSilentClockIfNeeded();
    void onSilentClockEnd();
    void resetSilentClock();
    void scheduleStateCheck();
    void checkState();
    void onLoadGiveUp();

    UrlResolver resolver_;
    QString url_;
    QString uiMode_;
    bool containerVisible_ = false;
    bool playRequested_ = false;

    QVideoFrame frame_;
    std::unique_ptr<QAudioOutput> audioOutput_;
    std::unique_ptr<Engine> engine_; // after the audio output: destroyed before it

    // Keeps time for audio-only media that has no audio output to run the player's clock.
    QTimer silentClock_;
    qint64 silentLeftMs_ = -1;
    bool silentEnded_ = false;

    // Runs while media loads; media still loading when it ends counts as broken.
    QTimer loadGiveUp_;
    bool loadAbandoned_ = false;

    QWidget* controlRow_ = nullptr;
    QSlider* positionSlider_ = nullptr;

    int reportedState_ = wmppsUndefined;
    bool stateCheckPending_ = false;
};

} // namespace torvane::media
