#pragma once

#include <media/links.h>
#include <platform/folders.h>
#include <router/documentsnapshot.h>
#include <shell/messagebox.h>

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;
class QWebEngineView;

namespace torvane::history {
class frmHist;
}
namespace torvane::platform {
class InstanceLock;
}
namespace torvane::search {
class frmIndex;
class frmSearch;
} // namespace torvane::search

namespace torvane::shell {

// What the main window takes from its surroundings. The defaults are the real system; tests replace
// single entries.
struct ViewerServices final {
    MessageBoxes* messageBoxes = nullptr;     // required
    platform::Environment environment;       // empty: the process environment
    std::function<QSize()> screenSize;        // whole screen in pixels; empty: the primary screen
    std::function<void()> endProcess;         // last step of EndTRV; empty: end the process at once
    QString courseRoot;                       // bundled course on disk; empty: "course" beside the program
};

// The main course-viewer window: the course browser under the toolbar row, the video area, the timers,
// and the state every other window reads.
class frmTRV final : public QWidget {
    Q_OBJECT
public:
    enum class Role {
        FirstCopy,  // this copy is the course viewer
        SecondCopy, // another copy runs; this one carries out its command line and ends
        Stopped,    // start-up cannot go on (the learner has been told why)
    };

    explicit frmTRV(ViewerServices services);
    ~frmTRV() override;

    // Start-up, in its fixed order; decides what this process is.
    Role Form_Load();
    void LastBit();
    void SizeClass();
    bool FolderThere(const QString& path);
    bool FileThere(const QString& path);
    // Ends the program: polling off, the shared blocks closed in order, the process ended at once.
    void EndTRV();

    // Shared state read by the other windows.
    QString FileLocn;
    QString BillDir;
    QString PopFile;
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int ScreenSize = 0;
    bool FromWithfile = false;
    QString ProgramFilesFolder;
    QString AppDataFolder;

    QWebEngineView* Web1 = nullptr;
    QWidget* picAVI = nullptr;
    QLabel* picHelp = nullptr;
    QTimer* TimerPREavi = nullptr;
    QTimer* TimerAVI = nullptr;
    QTimer* TimerPop = nullptr;
    QTimer* Timer3D = nullptr;
    QTimer* TimerKV = nullptr;
    QTimer* TimerEnd = nullptr;

    search::frmSearch& searchWindow() { return *frmSearch_; }
    search::frmIndex& indexWindow() { return *frmIndex_; }
    history::frmHist& historyWindow() { return *frmHist_; }
    media::Links& links() { return links_; }

    // The document the browser completed last, as the browser reported it.
    const router::DocumentSnapshot& lastDocument() const { return lastDocument_; }

signals:
    // Raised after every completed document of Web1 has been handled.
    void documentCompleted(const torvane::router::DocumentSnapshot& snapshot);

protected:
    bool event(QEvent* e) override;

private:
    void buildWindow();
    void buildToolbar();
    QTimer* makeTimer(int intervalMs);

    bool SetFileLocn();
    void makeBillDir();
    void OpenLinks();
    bool isFirstCopy();
    void Form_Activate();
    void onLoadFinished();
    void Web1_DocumentComplete(const router::DocumentSnapshot& snapshot);
    int message(const QString& text, int style = mb::OKOnly, const QString& title = QString::fromLatin1(kAppTitle));

    ViewerServices services_;
    QString runtimeFolder_;
    media::Links links_;
    std::unique_ptr<platform::InstanceLock> instanceLock_;
    std::array<QPushButton*, 10> toolbar_{};
    std::unique_ptr<search::frmSearch> frmSearch_;
    std::unique_ptr<search::frmIndex> frmIndex_;
    std::unique_ptr<history::frmHist> frmHist_;
    router::DocumentSnapshot lastDocument_;
};

} // namespace torvane::shell
