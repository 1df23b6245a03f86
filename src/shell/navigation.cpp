// The navigation handler: every document the browser completes becomes the viewer's state here.
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineHistory>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <base/timing.h>
#include <base/trace.h>
#include <history/frmhist.h>
#include <history/historyfile.h>
#include <media/wmp1.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

using router::Step;

namespace {

// `text` as a script string literal.
QString scriptString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace

void frmTRV::documentComplete(const router::DocumentSnapshot& snapshot) {
    // The handler can pause (a video, a secondary window), and pages go on completing meanwhile. Each
    // completed document gets a whole run of its own, in the order the documents completed: one that
    // completes during a run waits for the run to end instead of running inside it.
    pendingDocuments_.push_back(snapshot);
    if (handlingDocument_) {
        return;
    }
    handlingDocument_ = true;
    while (!pendingDocuments_.empty()) {
        const router::DocumentSnapshot next = std::move(pendingDocuments_.front());
        pendingDocuments_.pop_front();
        Web1_DocumentComplete(next);
    }
    handlingDocument_ = false;
}

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
    const router::PageDecision decision = router::decidePage(snapshot.locationUrl, state_.FileLocn);
    state_.CurPage = decision.curPage;
    if (decision.inCourse) {
        if (!isVisible()) {
            bringBack();
        }
        if (decision.module) {
            state_.CurModule = *decision.module;
        }
        setWindowTitle(decision.caption);
        for (const Step step : decision.steps) {
            runStep(step, decision, snapshot);
        }
    } else if (!courseWindowVisible()) {
        // A page opened from a secondary window that did not load (missing page, server gone), or one
        // outside the course: the secondary window has gone, so the main window comes back with what the
        // browser shows and its toolbar, and the learner can go on.
        bringBack();
    }
    showSearchHits(decision, snapshot.locationUrl);
    finish();
    base::trace("document-complete", snapshot.locationUrl.toStdString());
    emit documentCompleted(snapshot);
}

void frmTRV::runStep(Step step, const router::PageDecision& decision,
                     const router::DocumentSnapshot& snapshot) {
    switch (step) {
    case Step::KeepLinks:
        keepLinks(snapshot.links);
        break;
    case Step::Record:
        record();
        break;
    case Step::Video:
        playVideo(decision.mediaAddress);
        break;
    case Step::Narration:
        playNarration(decision.mediaAddress);
        break;
    case Step::OpenWindow:
        openWindow(decision.window);
        break;
    case Step::ContentsRedirect:
        contentsRedirect();
        break;
    case Step::ShowPage:
        ShowPage(decision.placeholderBase);
        break;
    }
}

void frmTRV::openFoundPage(const QString& address, const QStringList& words) {
    searchHits_.arm(words);
    navigateTo(address);
}

void frmTRV::showSearchHits(const router::PageDecision& decision, const QString& address) {
    // A placeholder is replaced or stepped back from at once: the words wait for the page shown.
    const bool placeholder = std::any_of(decision.steps.begin(), decision.steps.end(), [](Step step) {
        return step == Step::ShowPage || step == Step::Video || step == Step::Narration ||
               step == Step::OpenWindow;
    });
    const QStringList words = searchHits_.wordsFor(address, placeholder);
    if (!words.isEmpty()) {
        Web1->page()->runJavaScript(searchHitScript(words), QWebEngineScript::ApplicationWorld);
    }
}

void frmTRV::keepLinks(const QStringList& links) {
    const auto kept = router::keepLinks({state_.SecnLink, state_.PrevLink, state_.NextLink}, links);
    state_.SecnLink = kept.section;
    state_.PrevLink = kept.previous;
    state_.NextLink = kept.next;
}

void frmTRV::record() {
    history::AppendHistory(state_.BillDir, state_.CurPage);
}

void frmTRV::ShowPage(const QString& base) {
    if (state_.GoingBack) {
        // Back passes over placeholders.
        stepBack();
        state_.GoingBack = false;
        return;
    }
    keepLinks(lastDocument_.links);
    loadPage(QUrl(router::modulePageAddress(state_.FileLocn, base,
                                            static_cast<router::ScreenSize>(state_.ScreenSize))));
    record();
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
    if (Web1->url().toString() == lastDocument_.locationUrl) {
        Web1->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld);
    }
}

void frmTRV::openWindow(router::SecondaryWindow window) {
    base::WaitASecond();
    const bool search = window == router::SecondaryWindow::Search;
    const bool index = window == router::SecondaryWindow::Index;
    bool& loaded = search ? state_.SearchLoaded : index ? state_.IndexLoaded : state_.HistLoaded;
    secondary::SecondaryWindow& target = search  ? static_cast<secondary::SecondaryWindow&>(searchWindow())
                                         : index ? static_cast<secondary::SecondaryWindow&>(indexWindow())
                                                 : static_cast<secondary::SecondaryWindow&>(historyWindow());
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
}

void frmTRV::finish() {
    layoutBrowser();
    state_.GoingBack = false;
}

} // namespace torvane::shell
