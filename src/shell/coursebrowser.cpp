#include <QPrinter>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <base/logging.h>
#include <base/timing.h>
#include <base/trace.h>
#include <platform/desktopwindows.h>
#include <router/coursescheme.h>
#include <router/navigation.h>
#include <shell/coursebrowser.h>
#include <shell/rendererwatch.h>

namespace torvane::shell {

namespace {

// The address of the top-level document and the addresses of its links, read in a world of the
// viewer's own so that page scripts cannot interfere.
constexpr char kSnapshotScript[] =
    "(function(){var r=[String(location.href)];"
    "var l=document.links;for(var i=0;i<l.length;i++){r.push(String(l[i].href));}return r;})()";

// What the snapshot script found, `values` (the document's address, then its links), as the
// navigation handler sees it. Without a script result (a document without script) the browser's
// address stands alone. A load that failed (server gone, connection refused) has not brought the
// page asked for: the browser shows its error page, whose address lies outside the course; should
// the address still name a course page (the page before, or the failed address itself), the
// document is taken as an empty one, so that a page that never loaded is neither recorded nor
// followed.
router::DocumentSnapshot documentSnapshot(QStringList values, const QUrl& browserAddress, bool loaded) {
    router::DocumentSnapshot snapshot;
    if (values.isEmpty()) {
        snapshot.locationUrl = browserAddress.toString();
    } else {
        snapshot.locationUrl = values.takeFirst();
        snapshot.links = std::move(values);
    }
    if (!loaded && router::decidePage(snapshot.locationUrl, QString()).inCourse) {
        return {};
    }
    return snapshot;
}

// The page that says a course server's certificate is not trusted: the server's name and the reason.
QString untrustedServerPage(const QString& host, const QString& reason) {
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Course server not trusted</title>"
               "</head><body style=\"font-family: sans-serif; margin: 2em;\">"
               "<h2>The course server %1 is not trusted</h2>"
               "<p>This computer does not trust the certificate of the course server <b>%1</b> (%2), so "
               "Torvane does not show pages from it: someone could be reading or changing them on the "
               "way.</p>"
               "<p>Ask whoever runs the course to give the server a certificate this computer trusts. "
               "The toolbar still works.</p></body></html>")
        .arg(host.toHtmlEscaped(), reason.toHtmlEscaped());
}

} // namespace

CourseBrowser::CourseBrowser(QWidget& window) : QObject(&window) {
    Web1 = new QWebEngineView(&window);
    Web1->setObjectName(QStringLiteral("Web1"));
    Web1->setAccessibleName(QStringLiteral("Course page"));
    router::confineCoursePages(Web1->settings());
    connect(Web1, &QWebEngineView::loadFinished, this, &CourseBrowser::onLoadFinished);
    connect(Web1, &QWebEngineView::loadStarted, this, [] { base::trace("load-started", {}); });
    connect(Web1, &QWebEngineView::printFinished, this, &CourseBrowser::printFinished);
    watchRenderer();
    watchCertificates();
    connect(Web1->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus) {
                    rendererEnded();
                }
            });
}

CourseBrowser::~CourseBrowser() {
    // Script answers the browser still owes (a page whose renderer never answered) are handed over as it
    // goes: they find the browser gone and do nothing.
    *alive_ = false;
    delete Web1;
}

void CourseBrowser::installCourse(const QString& root) {
    router::installCourseScheme(Web1->page()->profile(), root);
}

QUrl CourseBrowser::url() const {
    return Web1->url();
}

void CourseBrowser::setGeometry(const QRect& area) {
    Web1->setGeometry(area);
}

QWidget& CourseBrowser::widget() {
    return *Web1;
}

void CourseBrowser::print(QPrinter& printer) {
    Web1->print(&printer);
}

void CourseBrowser::onLoadFinished(bool ok) {
    base::trace("load-finished", {});
    onItsWay_.clear();
    if (!ok) {
        qCDebug(base::lcBrowser) << "the page did not load:" << Web1->url().toString();
    }
    if (!ok && showUntrustedServer()) {
        return; // the page that says why takes the failed one's place
    }
    Web1->page()->runJavaScript(QString::fromLatin1(kSnapshotScript), QWebEngineScript::ApplicationWorld,
                                [this, ok, alive = alive_](const QVariant& result) {
                                    if (!*alive) {
                                        return;
                                    }
                                    recovery_.documentCompleted(Web1->url().toString());
                                    emit documentCompleted(
                                        documentSnapshot(result.toStringList(), Web1->url(), ok));
                                });
}

// --- navigations ---------------------------------------------------------------------------------

void CourseBrowser::load(const QUrl& url) {
    const QUrl leaving = Web1->url();
    const auto navigation = [this, url] {
        onItsWay_ = url;
        Web1->setUrl(url);
    };
    navigation();
    watch_->started(url, leaving, navigation);
}

void CourseBrowser::stepBack() {
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
    watch_->started(target, leaving, navigation);
}

void CourseBrowser::runInPage(const QString& script, const std::function<void(const QVariant&)>& done) {
    if (done) {
        Web1->page()->runJavaScript(script, done);
    } else {
        Web1->page()->runJavaScript(script);
    }
}

void CourseBrowser::runInViewerWorld(const QString& script,
                                     const std::function<void(const QVariant&)>& done) {
    if (!done) {
        Web1->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld);
        return;
    }
    Web1->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [done, alive = alive_](const QVariant& result) {
                                    if (*alive) {
                                        done(result);
                                    }
                                });
}

void CourseBrowser::armSearchHits(const QStringList& words) {
    searchHits_.arm(words);
}

void CourseBrowser::markSearchHits(const QString& address, bool placeholder) {
    const QStringList words = searchHits_.wordsFor(address, placeholder);
    if (!words.isEmpty()) {
        runInViewerWorld(searchHitScript(words));
    }
}

// --- stuck and dead renderers --------------------------------------------------------------------

// The viewer's own navigations are watched for a renderer stuck in the page being left: that renderer is
// ended and the navigation carried out again.
void CourseBrowser::watchRenderer() {
    watch_ = new RendererWatch(*Web1->page(),
                               [this](const std::function<void()>& navigation) { rendererHung(navigation); });
    connect(Web1->page(), &QWebEnginePage::loadingChanged, watch_, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus ||
            info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
            watch_->finished(info.url(), info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
        }
    });
}

void CourseBrowser::rendererHung(const std::function<void()>& navigation) {
    // The page's script holds its renderer: the learner is not kept on that page. Its end counts with
    // the renderer's other ends, but the page is not loaded again: the learner asked to leave it.
    recovery_.rendererEnded(Web1->url().toString(), base::TickNow());
    base::trace("renderer-hung", Web1->url().toString().toStdString());
    qCWarning(base::lcBrowser) << "the renderer of" << Web1->url().toString()
                               << "does not answer; it is ended and the navigation carried out again";
    afterHungRenderer_ = navigation;
    if (!platform::endProcess(Web1->page()->renderProcessPid())) {
        qCWarning(base::lcBrowser) << "the stuck renderer could not be ended";
        afterHungRenderer_ = nullptr;
    }
}

void CourseBrowser::rendererEnded() {
    if (afterHungRenderer_) {
        // From the event loop: not from inside the notice of the renderer's end.
        QTimer::singleShot(0, Web1, [navigation = std::move(afterHungRenderer_)] { navigation(); });
        afterHungRenderer_ = nullptr;
        return;
    }
    if (recovery_.rendererEnded(Web1->url().toString(), base::TickNow())) {
        qCWarning(base::lcBrowser) << "the renderer of" << Web1->url().toString()
                                   << "ended; the page is loaded again";
        QTimer::singleShot(0, Web1, [this] { Web1->reload(); });
    } else {
        qCWarning(base::lcBrowser) << "the renderer of" << Web1->url().toString()
                                   << "keeps ending; the page is left blank";
    }
}

// --- an https course server whose certificate is not trusted -------------------------------------

// The learner is told so, by name, instead of getting the browser's "This site can't be reached". There
// is no way past it; the toolbar goes on working.
void CourseBrowser::watchCertificates() {
    connect(Web1->page(), &QWebEnginePage::certificateError, this,
            [this](const QWebEngineCertificateError& e) {
                QWebEngineCertificateError error = e;
                error.rejectCertificate();
                qCWarning(base::lcBrowser)
                    << "certificate of" << error.url().host() << "refused:" << error.description();
                untrusted_ = UntrustedServer{error.url(), error.description()};
            });
}

bool CourseBrowser::showUntrustedServer() {
    if (!untrusted_ ||
        untrusted_->url.adjusted(QUrl::RemoveFragment) != Web1->url().adjusted(QUrl::RemoveFragment)) {
        untrusted_.reset();
        return false;
    }
    const UntrustedServer server = *untrusted_;
    untrusted_.reset();
    // A page of its own, outside the course: nothing is recorded or kept from it.
    Web1->setHtml(untrustedServerPage(server.url.host(), server.reason));
    return true;
}

} // namespace torvane::shell
