#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>

class QTimer;
class QUrl;
class QWidget;

namespace torvane::media {
class WMP1;
}

namespace torvane::shell {

struct ViewerView;

// Course videos and narration in the main window: the black backdrop `picAVI` over the whole screen
// size, the player `WMP1` over it, and the two timers that watch a playing video (`TimerPREavi`, the
// pause before its end is watched, then `TimerAVI`). A click on the backdrop stops the video.
class VideoPresenter final : public QObject {
    Q_OBJECT
public:
    // The backdrop and the player are child widgets of `window`.
    explicit VideoPresenter(QWidget& window);
    ~VideoPresenter() override;
    Q_DISABLE_COPY_MOVE(VideoPresenter)

    // Where the player finds an address's media (the bundled course's files).
    void setMediaResolver(std::function<QUrl(const QString&)> resolver);

    // The backdrop covers the screen size the window was classified by.
    void sizeBackdrop(QSize screen);
    // Shows the video at `address` over the backdrop, its player 0.6 x 0.7 of `screen`, and plays it.
    void showVideo(const QString& address, QSize screen);
    // After the start-up pause: the video's end is watched from now on.
    void watchVideo();
    // Plays the sound at `address` with nothing on screen.
    void playNarration(const QString& address);
    // Closes a video: watching off, player stopped and invisible, backdrop hidden.
    void stopVideo();

    // What the learner sees of it.
    void describe(ViewerView& view) const;

signals:
    // The course's own sound starts: a video or a narration clip.
    void mediaStarted();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void TimerPREavi_Timer();
    void TimerAVI_Timer();
    QTimer* makeTimer(const char* name, int intervalMs);

    QWidget* picAVI = nullptr;
    media::WMP1* WMP1 = nullptr;
    QTimer* TimerPREavi = nullptr;
    QTimer* TimerAVI = nullptr;
};

} // namespace torvane::shell
