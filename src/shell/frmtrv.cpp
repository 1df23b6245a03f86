#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <base/timing.h>
#include <base/toolbar.h>
#include <base/trace.h>
#include <base/twips.h>
#include <history/frmhist.h>
#include <media/withfile.h>
#include <media/wmp1.h>
#include <platform/instancelock.h>
#include <router/coursescheme.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <secondary/accessiblewindows.h>
#include <secondary/secondarylayout.h>
#include <secondary/toolbarbutton.h>
#include <shell/frmsplsh.h>
#include <shell/frmtrv.h>
#include <shell/helppicture.h>
#include <shell/popupcopy.h>
#include <shell/wholescreen.h>

namespace torvane::shell {

namespace {

// Design geometry of the window and its controls, in twips.
constexpr int kDesignLeft = 1560;
constexpr int kDesignTop = 1950;
constexpr int kDesignClientWidth = 14520;
constexpr int kDesignClientHeight = 11115;
// How long a restored window waits for the restored size its window manager sends after the state.
constexpr int kRestoreSettleMs = 300;

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
router::DocumentSnapshot documentSnapshot(QStringList values, const QUrl& browserAddress, bool loaded,
                                          const QString& fileLocn) {
    router::DocumentSnapshot snapshot;
    if (values.isEmpty()) {
        snapshot.locationUrl = browserAddress.toString();
    } else {
        snapshot.locationUrl = values.takeFirst();
        snapshot.links = std::move(values);
    }
    if (!loaded && router::decidePage(snapshot.locationUrl, fileLocn).inCourse) {
        return {};
    }
    return snapshot;
}

} // namespace

frmTRV::frmTRV(ViewerServices services) : QWidget(nullptr), services_(std::move(services)) {
    Q_ASSERT(services_.messageBoxes != nullptr);
    secondary::exposeWindowsAsWindows();
    if (!services_.environment) {
        services_.environment = platform::systemEnvironment();
    }
    if (services_.screen == nullptr) {
        ownScreen_ = std::make_unique<WholeScreen>();
    }
    screen_ = services_.screen != nullptr ? services_.screen : ownScreen_.get();
    connect(screen_, &WholeScreen::changed, this, &frmTRV::screenChanged);
    buildWindow();
}

void frmTRV::buildSecondaryWindows() {
    // Built together the first time one is needed: each hands over to the others.
    if (frmSearch_) {
        return;
    }
    frmSearch_ = std::make_unique<search::frmSearch>(static_cast<secondary::SecondaryHost&>(*this));
    frmIndex_ = std::make_unique<search::frmIndex>(static_cast<secondary::SecondaryHost&>(*this));
    frmHist_ = std::make_unique<history::frmHist>(static_cast<secondary::SecondaryHost&>(*this));
    for (secondary::SecondaryWindow* window : {static_cast<secondary::SecondaryWindow*>(frmSearch_.get()),
                                               static_cast<secondary::SecondaryWindow*>(frmIndex_.get()),
                                               static_cast<secondary::SecondaryWindow*>(frmHist_.get())}) {
        window->setPeers(frmSearch_.get(), frmIndex_.get(), frmHist_.get());
    }
}

search::frmSearch& frmTRV::searchWindow() {
    buildSecondaryWindows();
    return *frmSearch_;
}

search::frmIndex& frmTRV::indexWindow() {
    buildSecondaryWindows();
    return *frmIndex_;
}

history::frmHist& frmTRV::historyWindow() {
    buildSecondaryWindows();
    return *frmHist_;
}

frmTRV::~frmTRV() {
    // The browser goes first: a page it is still printing uses the printer owned by this window. Script
    // answers it still owes (a page whose renderer never answered) are handed over as it goes: they find
    // the window closing and do nothing.
    closing_ = true;
    delete Web1;
}

void frmTRV::buildWindow() {
    setObjectName(QStringLiteral("frmTRV"));
    setWindowTitle(QStringLiteral("   Torvane"));
    resize(base::twipsToPixels(kDesignClientWidth), base::twipsToPixels(kDesignClientHeight));
    move(base::twipsToPixels(kDesignLeft), base::twipsToPixels(kDesignTop));

    buildToolbar();
    connectToolbar();

    Web1 = new QWebEngineView(this);
    Web1->setObjectName(QStringLiteral("Web1"));
    Web1->setAccessibleName(QStringLiteral("Course page"));
    router::confineCoursePages(Web1->settings());
    connect(Web1, &QWebEngineView::loadFinished, this, &frmTRV::onLoadFinished);
    connect(Web1, &QWebEngineView::loadStarted, this, [] { base::trace("load-started", {}); });
    watchRenderer();
    watchCertificates();
    connect(Web1->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus) {
                    onRendererEnded();
                }
            });

    picAVI = new QWidget(this);
    picAVI->setObjectName(QStringLiteral("picAVI"));
    picAVI->setAutoFillBackground(true);
    picAVI->setStyleSheet(QStringLiteral("background: black;"));
    picAVI->hide();

    WMP1 = new media::WMP1(this);
    WMP1->setObjectName(QStringLiteral("WMP1"));
    WMP1->setGeometry(base::twipsRect(0, 0, 13050, 9600));
    WMP1->hide();

    frmSplsh = new shell::frmSplsh(this);

    picHelp = new secondary::DrawnPicture([] { return QPixmap::fromImage(drawMainHelpPicture()); }, this);
    picHelp->setObjectName(QStringLiteral("picHelp"));
    picHelp->setGeometry(base::twipsRect(600, 720, 12315, 10425));
    picHelp->setAccessibleName(QStringLiteral("Torvane - Help"));
    picHelp->setAccessibleDescription(mainHelpText());
    picHelp->hide();

    const auto& iv = base::intervals();
    TimerPREavi = makeTimer("TimerPREavi", iv.preVideoMs);
    TimerAVI = makeTimer("TimerAVI", iv.videoWatchMs);
    TimerEnd = makeTimer("TimerEnd", iv.pollMs);
    connect(TimerPREavi, &QTimer::timeout, this, &frmTRV::TimerPREavi_Timer);
    connect(TimerAVI, &QTimer::timeout, this, &frmTRV::TimerAVI_Timer);
    connect(TimerEnd, &QTimer::timeout, this, &frmTRV::TimerEnd_Timer);

    restoreSettling_ = new QTimer(this);
    restoreSettling_->setSingleShot(true);
    restoreSettling_->setInterval(kRestoreSettleMs);
    connect(restoreSettling_, &QTimer::timeout, this, [this] { sizeOrStateChanged(QEvent::Resize); });
}

void frmTRV::buildToolbar() {
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < base::kMainToolbar.size(); ++i) {
        QPushButton* button = secondary::makeToolbarButton(this, static_cast<int>(i), base::kMainToolbar[i]);
        if (previous != nullptr) {
            setTabOrder(previous, button);
        }
        previous = button;
        toolbar_[i] = button;
    }
}

QTimer* frmTRV::makeTimer(const char* name, int intervalMs) {
    auto* timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    return timer;
}

ViewerView frmTRV::view() const {
    ViewerView v;
    v.address = Web1->url();
    v.backdropShown = !picAVI->isHidden();
    v.backdrop = picAVI->geometry();
    v.playerShown = !WMP1->isHidden();
    v.player = WMP1->geometry();
    v.playerMode = WMP1->uiMode();
    v.playerUrl = WMP1->URL();
    v.playState = WMP1->playState();
    v.helpShown = !picHelp->isHidden();
    v.help = picHelp->geometry();
    v.helpDrawn = picHelp->pixmap().size();
    v.videoStarting = TimerPREavi->isActive();
    v.videoWatched = TimerAVI->isActive();
    v.blocksPolled = TimerEnd->isActive();
    return v;
}

bool frmTRV::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowActivate:
        Form_Activate();
        break;
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        sizeOrStateChanged(e->type());
        break;
    case QEvent::Show:
        if (!screenWatched_) {
            screenWatched_ = true;
            screen_->watch(*this);
        }
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void frmTRV::Form_Activate() {
    // An activation that arrives after the window was hidden again (a window manager reports it late)
    // must not hide the secondary window that is now on screen.
    if (!isVisible() || !frmSearch_) {
        return;
    }
    frmHist_->hide();
    frmIndex_->hide();
    frmSearch_->hide();
}

void frmTRV::onLoadFinished(bool ok) {
    base::trace("load-finished", {});
    loadOnItsWay_.clear();
    if (!ok && showUntrustedServer()) {
        return; // the page that says why takes the failed one's place
    }
    Web1->page()->runJavaScript(
        QString::fromLatin1(kSnapshotScript), QWebEngineScript::ApplicationWorld,
        [this, ok](const QVariant& result) {
            if (closing_) {
                return;
            }
            rendererRecovery_.documentCompleted(Web1->url().toString());
            documentComplete(documentSnapshot(result.toStringList(), Web1->url(), ok, state_.FileLocn));
        });
}

int frmTRV::message(const QString& text, int style, const QString& title) {
    return services_.messageBoxes->show({text, style, title, this, std::nullopt});
}

} // namespace torvane::shell
