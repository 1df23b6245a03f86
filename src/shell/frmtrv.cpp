// The main window: building it, its parts, what the learner sees of it, activation.
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <base/messagebox.h>
#include <base/toolbar.h>
#include <base/twips.h>
#include <courselists/liststore.h>
#include <history/frmhist.h>
#include <platform/instancelock.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <secondary/accessiblewindows.h>
#include <secondary/drawnpicture.h>
#include <secondary/toolbarbutton.h>
#include <shell/blockwatch.h>
#include <shell/coursebrowser.h>
#include <shell/frmsplsh.h>
#include <shell/frmtrv.h>
#include <shell/helppicture.h>
#include <shell/pageprinter.h>
#include <shell/qtspeaker.h>
#include <shell/readingaids.h>
#include <shell/videopresenter.h>
#include <shell/wholescreen.h>

namespace torvane::shell {

namespace {

// Design geometry of the window, in twips.
constexpr int kDesignLeft = 1560;
constexpr int kDesignTop = 1950;
constexpr int kDesignClientWidth = 14520;
constexpr int kDesignClientHeight = 11115;
// How long a restored window waits for the restored size its window manager sends after the state.
constexpr int kRestoreSettleMs = 300;

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
    lists_ = std::make_unique<courselists::ListStore>([this] { return programFolder(); });
    buildWindow();
}

frmTRV::~frmTRV() {
    // The browser goes first: a page it is still printing uses the printer the printing part owns.
    delete browser_;
}

void frmTRV::buildWindow() {
    setObjectName(QStringLiteral("frmTRV"));
    setWindowTitle(QStringLiteral("   Torvane"));
    resize(base::twipsToPixels(kDesignClientWidth), base::twipsToPixels(kDesignClientHeight));
    move(base::twipsToPixels(kDesignLeft), base::twipsToPixels(kDesignTop));

    buildToolbar();
    browser_ = new CourseBrowser(*this);
    connect(browser_, &CourseBrowser::documentCompleted, this, &frmTRV::Web1_DocumentComplete);
    video_ = new VideoPresenter(*this);
    blocks_ = new BlockWatch(*this, static_cast<media::ViewerLink&>(*this), *video_);
    printer_ =
        new PagePrinter(*this, *browser_, services_.printing, [this](const QString& text) { message(text); });
    connect(printer_, &PagePrinter::pagePrinted, this, &frmTRV::pagePrinted);
    aids_ = new ReadingAids(*this, *browser_, services_.speaker ? services_.speaker() : makeSystemSpeaker(),
                            [this](const QString& text) { message(text); });
    connect(video_, &VideoPresenter::mediaStarted, aids_, &ReadingAids::stopReading);
    connect(aids_, &ReadingAids::preferencesChanged, this, &frmTRV::keepPreferences);

    frmSplsh = new shell::frmSplsh(this);

    picHelp = new secondary::DrawnPicture([] { return QPixmap::fromImage(drawMainHelpPicture()); }, this);
    picHelp->setObjectName(QStringLiteral("picHelp"));
    picHelp->setGeometry(base::twipsRect(600, 720, 12315, 10425));
    picHelp->setAccessibleName(QStringLiteral("Torvane - Help"));
    picHelp->setAccessibleDescription(mainHelpText());
    picHelp->hide();

    restoreSettling_ = new QTimer(this);
    restoreSettling_->setSingleShot(true);
    restoreSettling_->setInterval(kRestoreSettleMs);
    connect(restoreSettling_, &QTimer::timeout, this, [this] { sizeOrStateChanged(false); });
}

void frmTRV::buildSecondaryWindows() {
    // Built together the first time one is needed: each hands over to the others.
    if (frmSearch_) {
        return;
    }
    auto& host = static_cast<secondary::SecondaryHost&>(*this);
    frmSearch_ = std::make_unique<search::frmSearch>(host);
    frmIndex_ = std::make_unique<search::frmIndex>(host);
    frmHist_ = std::make_unique<history::frmHist>(host);
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

ViewerView frmTRV::view() const {
    ViewerView v;
    v.address = browser_->url();
    video_->describe(v);
    v.helpShown = !picHelp->isHidden();
    v.help = picHelp->geometry();
    v.helpDrawn = picHelp->pixmap().size();
    v.blocksPolled = blocks_->polling();
    v.blocksHeld = blocks_->held();
    aids_->describe(v);
    v.pageHasKeyboard = browser_->pageHasFocus();
    return v;
}

bool frmTRV::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowActivate:
        Form_Activate();
        break;
    case QEvent::Resize:
        sizeOrStateChanged(false);
        break;
    case QEvent::WindowStateChange:
        sizeOrStateChanged(true);
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

int frmTRV::message(const QString& text, int style) {
    return services_.messageBoxes->show(
        {text, style, QString::fromLatin1(base::kAppTitle), this, std::nullopt});
}

} // namespace torvane::shell
