#pragma once

#include <QObject>
#include <media/links.h>
#include <memory>

class QTimer;

namespace torvane::media {
class ViewerLink;
class withfile;
} // namespace torvane::media

namespace torvane::shell {

class VideoPresenter;

// The viewer's side of the four blocks it shares with the tools and the other copies: it holds them from
// start-up to the end, and once a second (`TimerEnd`) takes a narration request a tool left in "TRVwav"
// (the clip is played, or the video stopped) and shows the companion window `withfile` while a file is
// handed over in "KirvoltName".
class BlockWatch final : public QObject {
    Q_OBJECT
public:
    // `viewer` is what the companion window reaches; narration goes to `video`.
    BlockWatch(QObject& parent, media::ViewerLink& viewer, VideoPresenter& video);
    ~BlockWatch() override;
    Q_DISABLE_COPY_MOVE(BlockWatch)

    // The blocks the start-up steps opened.
    void takeLinks(media::Links links);
    media::Links& links() { return links_; }

    // Starts the poll; stops it and closes the blocks in their order.
    void start();
    void closeLinks();
    bool polling() const;
    // How many of the four blocks are open.
    int held();

private:
    void TimerEnd_Timer();
    void takeNarrationRequest();
    void watchHandOff();

    media::ViewerLink& viewer_;
    VideoPresenter& video_;
    media::Links links_;
    QTimer* TimerEnd = nullptr;
    std::unique_ptr<media::withfile> withfile_;
};

} // namespace torvane::shell
