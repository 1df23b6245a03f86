// The navigations the viewer starts itself (toolbar, keys, the secondary windows, resize, placeholders),
// and what happens when the page being left holds its renderer in a script that never returns: that
// renderer is ended and the navigation carried out again.
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <base/timing.h>
#include <base/trace.h>
#include <platform/desktopwindows.h>
#include <shell/frmtrv.h>
#include <shell/rendererwatch.h>

namespace torvane::shell {

void frmTRV::watchRenderer() {
    rendererWatch_ = new RendererWatch(
        *Web1->page(), [this](const std::function<void()>& navigation) { rendererHung(navigation); });
    connect(Web1->page(), &QWebEnginePage::loadingChanged, rendererWatch_,
            [this](const QWebEngineLoadingInfo& info) {
                if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus ||
                    info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
                    rendererWatch_->finished(info.url(),
                                             info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
                }
            });
}

void frmTRV::runInPage(const QString& script, const std::function<void(const QVariant&)>& done) {
    if (done) {
        Web1->page()->runJavaScript(script, done);
    } else {
        Web1->page()->runJavaScript(script);
    }
}

void frmTRV::loadPage(const QUrl& url) {
    const QUrl leaving = Web1->url();
    const auto navigation = [this, url] {
        loadOnItsWay_ = url;
        Web1->setUrl(url);
    };
    navigation();
    rendererWatch_->started(url, leaving, navigation);
}

void frmTRV::stepBack() {
    QWebEngineHistory* history = Web1->history();
    if (!history->canGoBack()) {
        return;
    }
    const QUrl target = history->backItem().url();
    const QUrl leaving = Web1->url();
    // Carried out again after a stuck renderer has been ended, the step goes to that same entry.
    const auto navigation = [this, target] {
        QWebEngineHistory* h = Web1->history();
        if (h->canGoBack() && h->backItem().url() == target) {
            h->back();
        } else {
            Web1->setUrl(target);
        }
    };
    history->back();
    rendererWatch_->started(target, leaving, navigation);
}

void frmTRV::rendererHung(const std::function<void()>& navigation) {
    // The page's script holds its renderer: the learner is not kept on that page. Its end counts with
    // the renderer's other ends, but the page is not loaded again: the learner asked to leave it.
    rendererRecovery_.rendererEnded(Web1->url().toString(), base::TickNow());
    base::trace("renderer-hung", Web1->url().toString().toStdString());
    afterHungRenderer_ = navigation;
    if (!platform::endProcess(Web1->page()->renderProcessPid())) {
        afterHungRenderer_ = nullptr;
    }
}

void frmTRV::onRendererEnded() {
    if (afterHungRenderer_) {
        // From the event loop: not from inside the notice of the renderer's end.
        QTimer::singleShot(0, Web1, [this, navigation = std::move(afterHungRenderer_)] { navigation(); });
        afterHungRenderer_ = nullptr;
        return;
    }
    if (rendererRecovery_.rendererEnded(Web1->url().toString(), base::TickNow())) {
        QTimer::singleShot(0, Web1, [this] { Web1->reload(); });
    }
}

} // namespace torvane::shell
