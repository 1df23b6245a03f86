// The navigation handler: every document the browser completes becomes the viewer's state here.
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <base/logging.h>
#include <base/timing.h>
#include <base/trace.h>
#include <history/frmhist.h>
#include <history/historyfile.h>
#include <router/navigation.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <shell/coursebrowser.h>
#include <shell/frmtrv.h>
#include <shell/readingaids.h>
#include <shell/videopresenter.h>

namespace torvane::shell {

using router::Step;

namespace {

// `text` as a script string literal.
QString scriptString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// A placeholder is replaced or stepped back from at once.
bool isPlaceholder(const router::PageDecision& decision) {
    return std::any_of(decision.steps.begin(), decision.steps.end(), [](Step step) {
        return step == Step::ShowPage || step == Step::Video || step == Step::Narration ||
               step == Step::OpenWindow;
    });
}

} // namespace

bool frmTRV::courseWindowVisible() const {
    return isVisible() ||
           (frmSearch_ && (frmSearch_->isVisible() || frmIndex_->isVisible() || frmHist_->isVisible()));
}

void frmTRV::bringBack() {
    // Shown and made the active window, so that it hides the secondary windows: one course window at a
    // time, also where activation is not reported (no window manager) or comes late.
    show();
    raise();
    activateWindow();
    Form_Activate();
}

void frmTRV::Web1_DocumentComplete(const router::DocumentSnapshot& snapshot) {
    lastDocument_ = snapshot;
    aids_->pageShown(snapshot.locationUrl);
    const router::PageDecision decision = router::decidePage(snapshot.locationUrl, state_.FileLocn);
    state_.CurPage = decision.curPage;
    if (!decision.inCourse) {
        if (!courseWindowVisible()) {
            // A page opened from a secondary window that did not load (missing page, server gone), or one
            // outside the course: the secondary window has gone, so the main window comes back with what
            // the browser shows and its toolbar, and the learner can go on.
            bringBack();
        }
        finishDocument(decision, snapshot);
        return;
    }
    if (!isVisible()) {
        bringBack();
    }
    if (decision.module) {
        state_.CurModule = *decision.module;
    }
    setWindowTitle(decision.caption);
    runSteps(decision, snapshot, 0);
}

void frmTRV::runSteps(router::PageDecision decision, router::DocumentSnapshot snapshot, std::size_t next) {
    // A step that pauses (a video's start, a window's opening) ends this run's first half; the steps after
    // it run once the pause is over. Pages that complete and commands that are clicked meanwhile run at
    // once, to their end.
    for (; next < decision.steps.size(); ++next) {
        const auto rest = [this, decision, snapshot, next] { runSteps(decision, snapshot, next + 1); };
        if (runStep(decision.steps[next], decision, snapshot, rest)) {
            return;
        }
    }
    finishDocument(decision, snapshot);
}

bool frmTRV::runStep(Step step, const router::PageDecision& decision,
                     const router::DocumentSnapshot& snapshot, const std::function<void()>& then) {
    switch (step) {
    case Step::KeepLinks:
        keepLinks(snapshot.links);
        return false;
    case Step::Record:
        record();
        return false;
    case Step::Video:
        video(decision.mediaAddress, then);
        return true;
    case Step::Narration:
        playNarration(decision.mediaAddress);
        return false;
    case Step::OpenWindow:
        openWindow(decision.window, then);
        return true;
    case Step::ContentsRedirect:
        contentsRedirect();
        return false;
    case Step::ShowPage:
        ShowPage(decision.placeholderBase);
        return false;
    }
    return false;
}

void frmTRV::finishDocument(const router::PageDecision& decision, const router::DocumentSnapshot& snapshot) {
    browser_->markSearchHits(snapshot.locationUrl, isPlaceholder(decision));
    layoutBrowser();
    state_.GoingBack = false;
    base::trace("document-complete", snapshot.locationUrl.toStdString());
    emit documentCompleted(snapshot);
}

void frmTRV::keepLinks(const QStringList& links) {
    const auto kept = router::keepLinks({state_.SecnLink, state_.PrevLink, state_.NextLink}, links);
    state_.SecnLink = kept.section;
    state_.PrevLink = kept.previous;
    state_.NextLink = kept.next;
}

void frmTRV::record() {
    // Without a data folder there is no history (the learner was told at start-up).
    if (!history::AppendHistory(state_.BillDir, state_.CurPage) && !state_.BillDir.isEmpty()) {
        qCWarning(base::lcHistory) << "could not record" << state_.CurPage << "in the history file of"
                                   << state_.BillDir;
    }
}

void frmTRV::ShowPage(const QString& base) {
    if (state_.GoingBack) {
        // Back passes over placeholders.
        browser_->stepBack();
        state_.GoingBack = false;
        return;
    }
    keepLinks(lastDocument_.links);
    browser_->load(QUrl(router::modulePageAddress(state_.FileLocn, base,
                                                  static_cast<router::ScreenSize>(state_.ScreenSize))));
    record();
}

void frmTRV::runInPage(const QString& script, const std::function<void(const QVariant&)>& done) {
    browser_->runInPage(script, done);
}

void frmTRV::playVideo(const QString& address) {
    video(address, [] {});
}

void frmTRV::video(const QString& address, const std::function<void()>& then) {
    browser_->stepBack();
    video_->showVideo(address, QSize(state_.ScreenWidth, state_.ScreenHeight));
    base::WaitASecond(*this, [this, then] {
        video_->watchVideo();
        then();
    });
}

void frmTRV::playNarration(const QString& address) {
    browser_->stepBack();
    video_->playNarration(address);
}

void frmTRV::stopVideo() {
    video_->stopVideo();
}

void frmTRV::contentsRedirect() {
    SizeClass();
    const QString contents =
        state_.FileLocn + router::contentsPage(static_cast<router::ScreenSize>(state_.ScreenSize));
    state_.SecnLink = contents;
    state_.PrevLink = contents;
    state_.NextLink = contents;
    // Link 5 of the page leads to the contents page of the right size.
    const QString script =
        QStringLiteral("(function(){var l=document.links;if(l.length>5){l[5].href=%1;}})()")
            .arg(scriptString(contents));
    // Only on the page it was meant for: a page that completed after it may be showing by now.
    if (browser_->url().toString() == lastDocument_.locationUrl) {
        browser_->runInViewerWorld(script);
    }
}

secondary::SecondaryWindow& frmTRV::windowFor(router::SecondaryWindow window) {
    switch (window) {
    case router::SecondaryWindow::Search:
        return searchWindow();
    case router::SecondaryWindow::Index:
        return indexWindow();
    case router::SecondaryWindow::History:
        break;
    }
    return historyWindow();
}

void frmTRV::openWindow(router::SecondaryWindow window, const std::function<void()>& then) {
    base::WaitASecond(*this, [this, window, then] {
        bool& loaded = window == router::SecondaryWindow::Search  ? state_.SearchLoaded
                       : window == router::SecondaryWindow::Index ? state_.IndexLoaded
                                                                  : state_.HistLoaded;
        secondary::SecondaryWindow& target = windowFor(window);
        const bool firstTime = !loaded;
        loaded = true;
        if (firstTime) {
            const QRect main = frameGeometry();
            frmSplsh->move(main.left() + main.width() / 3, main.top() + main.height() / 3);
            frmSplsh->show();
            frmSplsh->repaint();
        }
        target.open(firstTime);
        frmSplsh->hide();
        then();
    });
}

} // namespace torvane::shell
