#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>

namespace torvane::shell {

// What the learner sees of the main window at one moment: the page in the browser, a video over its
// black backdrop, the help picture, and whether the window's timers are watching.
struct ViewerView final {
    QUrl address; // the page in the browser

    bool backdropShown = false; // the black backdrop behind a video
    QRect backdrop;
    bool playerShown = false;
    QRect player;
    QString playerMode; // "none" while a video shows, "invisible" for narration and after
    QString playerUrl;  // the media the player was last given
    int playState = 0;  // 3 while playing

    bool helpShown = false;
    QRect help;
    QSize helpDrawn; // the help picture as drawn; empty until it was first shown

    bool videoStarting = false; // the pause after a video starts, before its end is watched
    bool videoWatched = false;  // the video's end is watched
    bool blocksPolled = false;  // the shared blocks are polled for narration and hand-offs
    int blocksHeld = 0;         // how many of the four shared blocks the window holds open

    // The reading aids.
    int textSize = 100;         // the pages' zoom, per cent
    bool textSizeShown = false; // the "Text size ..." indicator is up
    bool findBarShown = false;
    QString findText;   // what the find bar's box holds
    QString findStatus; // "3 of 12", "Not found" or nothing
    bool darkMode = false;
    bool keysPanelShown = false;
    bool readingAloud = false; // a page is read aloud (or paused)
    bool readingPaused = false;
    bool pageHasKeyboard = false; // the keyboard is in the page (else in the toolbar row or elsewhere)
};

} // namespace torvane::shell
