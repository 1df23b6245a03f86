#pragma once

#include <QEvent>
#include <QPointer>
#include <QSize>
#include <QUrl>
#include <QWidget>
#include <array>
#include <base/messagebox.h>
#include <courselists/liststore.h>
#include <deque>
#include <functional>
#include <media/links.h>
#include <media/viewerlink.h>
#include <memory>
#include <optional>
#include <platform/folders.h>
#include <router/documentsnapshot.h>
#include <router/navigation.h>
#include <secondary/drawnpicture.h>
#include <secondary/secondaryhost.h>
#include <secondcopy/jobs.h>
#include <secondcopy/startup.h>
#include <shell/rendererrecovery.h>
#include <shell/searchhits.h>
#include <shell/viewerstate.h>
#include <shell/viewerview.h>

class QPrinter;
class QPushButton;
class QTimer;
class QCloseEvent;
class QImage;
class QKeyEvent;
class QWebEngineView;

namespace torvane::history {
class frmHist;
}
namespace torvane::media {
class WMP1;
class withfile;
} // namespace torvane::media
namespace torvane::platform {
class InstanceLock;
enum class LockOutcome;
} // namespace torvane::platform
namespace torvane::search {
class frmIndex;
class frmSearch;
} // namespace torvane::search

namespace torvane::secondcopy {
struct SecondCopyJob;
}

namespace torvane::shell {

namespace mb = base::mb;
using base::kAppTitle;
using base::MessageBoxes;
using base::MessageBoxRequest;
using base::MsgBoxAt;
using secondcopy::SecondCopyJob;

class PopupCopy;
class RendererWatch;
class WholeScreen;

// The page that says a course server's certificate is not trusted: the server's name and the reason.
QString untrustedServerPage(const QString& host, const QString& reason);

// What the main window takes from its surroundings. The defaults are the real system; tests replace
// single entries.
struct ViewerServices final {
    MessageBoxes* messageBoxes = nullptr; // required
    platform::Environment environment;    // empty: the process environment
    WholeScreen* screen = nullptr;        // the whole screen in pixels; none: the window's own screen
    std::function<void()> endProcess;     // last step of EndTRV; empty: end the process at once
    std::optional<QString> commandLine;   // what follows the program's name; none: the real one
    // The default printer, or nullptr when none is set up; empty: the system's.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;
    // Lets the learner choose how to print; false when cancelled. Empty: the system's print dialog.
    std::function<bool(QPrinter&, QWidget*)> printDialog;
    // Starts a program detached; false when it cannot be started. Empty: the system's way.
    std::function<bool(const QString&, const QStringList&)> startProgram;
    QString programFolder; // where the word lists lie; empty: the program's own folder
    QString courseRoot;    // bundled course on disk; empty: "course" beside the program
};

// The main course-viewer window: the course browser under the toolbar row, the video area, the timers,
// and the state every other window reads.
class frmTRV final : public QWidget, private secondary::SecondaryHost, private media::ViewerLink {
    Q_OBJECT
public:
    using Role = secondcopy::Role;

    explicit frmTRV(ViewerServices services);
    ~frmTRV() override;

    // Start-up, in its fixed order; decides what this process is.
    Role Form_Load();
    // The rest of start-up, after the steps that need no window have run: the window takes over what
    // they found, and the course viewer loads its first page.
    Role Form_Load(secondcopy::StartUp& start);
    void LastBit();
    // A second copy carries out its command line. True when the copy lives on (waiting for a tool's
    // window, or showing a popup picture) until a timer or the learner ends it.
    bool runSecondCopy();
    // The command line: what follows the program's name, the arguments joined by single spaces.
    QString commandLine() const;
    void SizeClass();
    void Form_Resize();
    // A module placeholder has completed: the module page of the screen's size replaces it.
    void ShowPage(const QString& base);
    // Closes a video: watching off, player stopped and invisible, backdrop hidden.
    void stopVideo();
    bool FolderThere(const QString& path);
    bool FileThere(const QString& path);
    // Ends the program: polling off, the shared blocks closed in order, the process ended at once.
    void EndTRV() override;
    // Raises the end flag in "KirvoltEnd" for the tools; the program goes on.
    void ShutOffTRV() override;
    // Ends a hand-off: "KirvoltName" cleared with 255 zero bytes, flushed.
    void ShutOffWithfile() override;
    // The quit question; on Yes the history file is deleted and the program ends.
    void AskQuit();
    // Prints a picture on the default printer, or without one the page in Web1 through the print dialog.
    void printCommand(const QImage* picture);

    // The toolbar commands.
    void cmdCont_Click();
    void cmdPrint_Click();
    void cmdSearch_Click();
    void cmdBack_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdHist_Click();
    void cmdCalc_Click();
    void cmdHelp_Click();
    void cmdSecn_Click();
    void picHelp_Click();
    // The window's keys; a key code or character set to 0 is swallowed.
    void Form_KeyDown(int& keyCode, int shift);
    void Form_KeyPress(int& character);

    // What the window knows: the places found at start-up, the screen, where the learner is.
    ViewerState& state() { return state_; }
    const ViewerState& state() const { return state_; }

    // What the learner sees of the window now.
    ViewerView view() const;
    // Opens an address in the course browser, as a followed link does; an address that is not the
    // course's kind (a script, a local file) leads nowhere.
    void navigateTo(const QString& address);
    // Runs a script in the course page's own world, as the page's own script would; `done` gets its
    // result.
    void runInPage(const QString& script, const std::function<void(const QVariant&)>& done = {});
    // Shows a video over the black backdrop; its end is watched after the start-up pause.
    void playVideo(const QString& address);

    QPushButton* toolbarButton(int position) const { return toolbar_.at(static_cast<std::size_t>(position)); }
    // The search, index and history windows, built the first time one of them is needed.
    search::frmSearch& searchWindow();
    search::frmIndex& indexWindow();
    history::frmHist& historyWindow();
    media::Links& links() { return links_; }

    // The browser has completed a document (main frame): the navigation handler runs for it, after the
    // run for any document that completed before it has ended.
    void documentComplete(const router::DocumentSnapshot& snapshot);

    // The document the browser completed last, as the browser reported it.
    const router::DocumentSnapshot& lastDocument() const { return lastDocument_; }

signals:
    // Raised after every completed document of Web1 has been handled.
    void documentCompleted(const torvane::router::DocumentSnapshot& snapshot);
    // Raised when the browser has finished printing the page; false when it could not.
    void pagePrinted(bool ok);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // What the secondary windows and the media windows ask of the main window.
    QString fileLocn() const override { return state_.FileLocn; }
    QString billDir() const override { return state_.BillDir; }
    QString programFolder() const override;
    courselists::ListStore& courseLists() override { return lists_; }
    int screenSize() const override { return state_.ScreenSize; }
    QWidget* mainWindow() override { return this; }
    void navigate(const QString& address) override { navigateTo(address); }
    void openFoundPage(const QString& address, const QStringList& words) override;
    void goBack() override;
    void print(const QPixmap* picture) override;
    void endProgram() override { EndTRV(); }
    void endAfterQuit() override;
    void startCalculator() override;
    bool fileThere(const QString& path) override { return FileThere(path); }
    int messageBox(const QString& text, int style) override { return message(text, style); }
    std::optional<int> msgBoxAt(const QString& prompt, int style, const QString& title, QWidget* owner,
                                const QVariant& x, const QVariant& y) override;
    void setFromWithfile() override { state_.FromWithfile = true; }

    void buildWindow();
    void buildToolbar();
    void buildSecondaryWindows();
    QTimer* makeTimer(const char* name, int intervalMs);

    void takeOver(secondcopy::StartUp& start);
    void installCourse(bool bundled);
    void Form_Activate();
    void onLoadFinished(bool ok);
    void onRendererEnded();
    // The viewer's own navigations, watched for a renderer stuck in the page being left.
    void watchRenderer();
    void loadPage(const QUrl& url);
    void stepBack();
    void rendererHung(const std::function<void()>& navigation);
    // An https course server whose certificate is not trusted: the learner is told by name.
    void watchCertificates();
    bool showUntrustedServer();
    void Web1_DocumentComplete(const router::DocumentSnapshot& snapshot);
    bool courseWindowVisible() const;
    void bringBack();
    void runStep(router::Step step, const router::PageDecision& decision,
                 const router::DocumentSnapshot& snapshot);
    void keepLinks(const QStringList& links);
    void showSearchHits(const router::PageDecision& decision, const QString& address);
    void record();
    void playNarration(const QString& address);
    void openWindow(router::SecondaryWindow window);
    void contentsRedirect();
    void finish();
    void layoutBrowser();
    // What a resize is measured by: the maximised state, else the inner size.
    struct WindowLayout final {
        bool maximized = false;
        QSize inner;
        bool operator==(const WindowLayout&) const = default;
    };
    WindowLayout currentLayout() const;
    // A Resize or WindowStateChange event: runs Form_Resize when the window's layout really changed.
    void sizeOrStateChanged(QEvent::Type type);
    int captionHeight() const;
    QSize wholeScreen() const;
    // The screen changed under the window (resolution, monitor): a maximised window is classified again.
    void screenChanged();
    void TimerPREavi_Timer();
    void TimerAVI_Timer();
    void TimerEnd_Timer();
    void takeNarrationRequest();
    void watchHandOff();
    void showPopup(const SecondCopyJob& job);
    void connectToolbar();
    void openSecondary(QWidget& window, const QString& placeholder);
    bool handleKeyEvent(QKeyEvent* e);
    bool pressAccessKey(int qtKey);
    bool commandLineIsEmpty() const;
    std::unique_ptr<QPrinter> defaultPrinter() const;
    int message(const QString& text, int style = mb::OKOnly,
                const QString& title = QString::fromLatin1(kAppTitle));

    QWebEngineView* Web1 = nullptr;
    media::WMP1* WMP1 = nullptr;
    QWidget* picAVI = nullptr;
    secondary::DrawnPicture* picHelp = nullptr;
    QWidget* frmSplsh = nullptr;
    QTimer* TimerPREavi = nullptr;
    QTimer* TimerAVI = nullptr;
    QTimer* TimerEnd = nullptr;

    ViewerServices services_;
    ViewerState state_;
    SearchHits searchHits_;
    courselists::ListStore lists_{[this] { return programFolder(); }};
    std::unique_ptr<secondcopy::SecondCopy> secondCopy_;
    media::Links links_;
    std::unique_ptr<platform::InstanceLock> instanceLock_;
    std::array<QPushButton*, 10> toolbar_{};
    std::unique_ptr<QPrinter> pagePrinter_; // kept until the browser has printed
    std::unique_ptr<search::frmSearch> frmSearch_;
    std::unique_ptr<search::frmIndex> frmIndex_;
    std::unique_ptr<history::frmHist> frmHist_;
    std::unique_ptr<media::withfile> withfile_;
    std::unique_ptr<PopupCopy> popup_;
    router::DocumentSnapshot lastDocument_;
    std::deque<router::DocumentSnapshot> pendingDocuments_; // completed while the handler was running
    bool handlingDocument_ = false;
    bool loaded_ = false;                    // Form_Load has run: resizes now follow the page variants
    bool closing_ = false;                   // the window is being destroyed
    WindowLayout handledLayout_;             // the layout the last Form_Resize classified
    QTimer* restoreSettling_ = nullptr;      // a restored window waits for its restored size
    std::unique_ptr<WholeScreen> ownScreen_; // when the services name none
    WholeScreen* screen_ = nullptr;
    bool screenWatched_ = false; // the screen is followed once the window exists on the desktop
    QUrl loadOnItsWay_;          // the page the viewer last asked for, until a load finishes
    RendererRecovery rendererRecovery_;
    RendererWatch* rendererWatch_ = nullptr;  // owned by Web1's page
    std::function<void()> afterHungRenderer_; // the navigation to carry out once it has ended
    struct UntrustedServer final {
        QUrl url;
        QString reason;
    };
    std::optional<UntrustedServer> untrusted_; // the last certificate refused, until its load ends
};

} // namespace torvane::shell
