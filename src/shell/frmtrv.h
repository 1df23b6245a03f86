#pragma once

#include <QSize>
#include <QWidget>
#include <array>
#include <media/viewerlink.h>
#include <memory>
#include <router/documentsnapshot.h>
#include <secondary/secondaryhost.h>
#include <shell/viewerservices.h>
#include <shell/viewerstate.h>
#include <shell/viewerview.h>

class QImage;
class QKeyEvent;
class QPushButton;
class QTimer;

namespace torvane::courselists {
class ListStore;
}
namespace torvane::history {
class frmHist;
}
namespace torvane::platform {
class InstanceLock;
}
namespace torvane::router {
struct PageDecision;
enum class Step;
enum class SecondaryWindow;
} // namespace torvane::router
namespace torvane::search {
class frmIndex;
class frmSearch;
} // namespace torvane::search
namespace torvane::secondary {
class DrawnPicture;
class SecondaryWindow;
} // namespace torvane::secondary
namespace torvane::secondcopy {
class StartUp;
enum class Role;
} // namespace torvane::secondcopy

namespace torvane::shell {

class BlockWatch;
class CourseBrowser;
class PagePrinter;
class ReadingAids;
class VideoPresenter;
class WholeScreen;

// The main course-viewer window: the toolbar row over the course browser, the keys, the layout and the
// state every other window reads. Its parts do the rest: the course browser, the video presenter, the
// watch of the shared blocks, printing. It hands work from one part to another and stands for the main
// window to the secondary windows and the companion window.
class frmTRV final : public QWidget, private secondary::SecondaryHost, private media::ViewerLink {
    Q_OBJECT
public:
    explicit frmTRV(ViewerServices services);
    ~frmTRV() override;

    // The rest of start-up, after the steps that need no window have run: the window takes over what
    // they found, and the course viewer loads its first page.
    secondcopy::Role Form_Load(secondcopy::StartUp& start);
    void LastBit();
    void SizeClass();
    void Form_Resize();
    // A module placeholder has completed: the module page of the screen's size replaces it.
    void ShowPage(const QString& base);
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
    // The navigation handler, for every document the browser completes.
    void Web1_DocumentComplete(const router::DocumentSnapshot& snapshot);

    // The toolbar commands, the help picture and the keys (a key code or character set to 0 is swallowed).
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
    void Form_KeyDown(int& keyCode, int shift);
    void Form_KeyPress(int& character);

    // What the window knows: the places found at start-up, the screen, where the learner is.
    ViewerState& state() { return state_; }
    const ViewerState& state() const { return state_; }
    // What the learner sees of the window now.
    ViewerView view() const;
    // The document the browser completed last, as the browser reported it.
    const router::DocumentSnapshot& lastDocument() const { return lastDocument_; }

    // Opens an address in the course browser, as a followed link does; an address that is not the
    // course's kind (a script, a local file) leads nowhere.
    void navigateTo(const QString& address);
    // Runs a script in the course page's own world, as the page's own script would; `done` gets its
    // result.
    void runInPage(const QString& script, const std::function<void(const QVariant&)>& done = {});
    // Shows a video over the black backdrop; its end is watched after the start-up pause.
    void playVideo(const QString& address);

    // The search, index and history windows, built the first time one of them is needed.
    search::frmSearch& searchWindow();
    search::frmIndex& indexWindow();
    history::frmHist& historyWindow();

signals:
    // Raised after every completed document of the browser has been handled to its end.
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
    courselists::ListStore& courseLists() override { return *lists_; }
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
    int messageBox(const QString& text, int style) override;
    std::optional<int> msgBoxAt(const QString& prompt, int style, const QString& title, QWidget* owner,
                                const QVariant& x, const QVariant& y) override;
    void setFromWithfile() override { state_.FromWithfile = true; }

    // Building the window.
    void buildWindow();
    void buildToolbar();
    void buildSecondaryWindows();

    // Start-up.
    void takeOver(secondcopy::StartUp& start);
    void Form_Activate();

    // The navigation handler's steps; a step that pauses goes on from `next` once the pause is over.
    void runSteps(router::PageDecision decision, router::DocumentSnapshot snapshot, std::size_t next);
    bool runStep(router::Step step, const router::PageDecision& decision,
                 const router::DocumentSnapshot& snapshot, const std::function<void()>& then);
    void finishDocument(const router::PageDecision& decision, const router::DocumentSnapshot& snapshot);
    bool courseWindowVisible() const;
    void bringBack();
    void keepLinks(const QStringList& links);
    void record();
    void video(const QString& address, const std::function<void()>& then);
    void playNarration(const QString& address);
    void openWindow(router::SecondaryWindow window, const std::function<void()>& then);
    secondary::SecondaryWindow& windowFor(router::SecondaryWindow window);
    void contentsRedirect();
    void stopVideo();

    // Layout and resize.
    void layoutBrowser();
    // What a resize is measured by: the maximised state and the whole screen, else the inner size.
    struct WindowLayout final {
        bool maximized = false;
        QSize size;
        bool operator==(const WindowLayout&) const = default;
    };
    WindowLayout currentLayout() const;
    // A Resize or WindowStateChange event: runs Form_Resize when the window's layout really changed.
    void sizeOrStateChanged(bool stateChanged);
    void screenChanged();
    int captionHeight() const;
    QSize wholeScreen() const;

    // Toolbar and keys.
    void openSecondary(QWidget& window, const QString& placeholder);
    bool handleKeyEvent(QKeyEvent* e);
    bool pressAccessKey(int qtKey);
    // The reading aids' keys, after the window's own; true when one was taken.
    bool readingKey(const QKeyEvent& e);
    // F6: the keyboard from the page to the toolbar row, or from anywhere else into the page.
    void switchFocus();
    void keepPreferences();
    void printCommand(const QImage* picture);

    int message(const QString& text, int style = 0);

    ViewerServices services_;
    ViewerState state_;
    CourseBrowser* browser_ = nullptr;
    VideoPresenter* video_ = nullptr;
    BlockWatch* blocks_ = nullptr;
    PagePrinter* printer_ = nullptr;
    ReadingAids* aids_ = nullptr;
    secondary::DrawnPicture* picHelp = nullptr;
    QWidget* frmSplsh = nullptr;
    std::array<QPushButton*, 10> toolbar_{};
    std::unique_ptr<courselists::ListStore> lists_;
    std::unique_ptr<search::frmSearch> frmSearch_;
    std::unique_ptr<search::frmIndex> frmIndex_;
    std::unique_ptr<history::frmHist> frmHist_;
    std::unique_ptr<platform::InstanceLock> instanceLock_;
    router::DocumentSnapshot lastDocument_;
    bool commandLineEmpty_ = true;           // started without a command line: closing asks first
    bool loaded_ = false;                    // Form_Load has run: resizes now follow the page variants
    WindowLayout handledLayout_;             // the layout the last Form_Resize classified
    QTimer* restoreSettling_ = nullptr;      // a restored window waits for its restored size
    std::unique_ptr<WholeScreen> ownScreen_; // when the services name none
    WholeScreen* screen_ = nullptr;
    bool screenWatched_ = false; // the screen is followed once the window exists on the desktop
};

} // namespace torvane::shell
