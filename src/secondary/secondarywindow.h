#pragma once

// The parts the three secondary windows (search, index, history) share: the toolbar row that drives the
// main window from outside, the help picture, the window keys, the quit question, the hand-over of
// window state and position, and the rule that one course window is visible at a time.

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>
#include <secondary/secondaryview.h>
#include <vector>

class QAbstractItemModel;
class QListView;
class QPushButton;

namespace torvane::secondary {

class DrawnPicture;
class SecondaryHost;

class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Search, Index, History };

    SecondaryWindow(SecondaryHost& host, Kind kind, QWidget* parent = nullptr);
    ~SecondaryWindow() override;

    Kind kind() const { return kind_; }

    // The three secondary windows, this one included. The buttons that open another window hand over
    // to it, and activating this window hides the other two. Call once all three exist.
    void setPeers(SecondaryWindow* search, SecondaryWindow* index, SecondaryWindow* hist);

    // Shows the window, not modal, and brings it to the front: its activation hides the main window and
    // the other secondary windows.
    void showWindow();
    // Opens the window for its placeholder page: `firstTime` in a run, it loads its lists (a splash
    // shows meanwhile); later it shows what it holds. Each window knows which it needs.
    virtual void open(bool firstTime) = 0;

    // What the learner sees of the window now.
    SecondaryView view() const;

    // The toolbar commands.
    void cmdCont_Click();
    void cmdPrint_Click();
    void cmdSearch_Click(); // index and history windows: opens the search window
    void cmdIndex_Click();  // search window: opens the index window
    void cmdBack_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdHist_Click(); // opens the history window; in the history window shows or hides the help
    void cmdCalc_Click();
    void cmdHelp_Click();
    void cmdSecn_Click();
    void picHelp_Click();

    // Key handlers with the codes the course's keyboard summary uses: key code 13 Enter, 27 Esc, 81 Q,
    // 188 comma, 190 full stop; shift bit 4 is Alt. Setting the code to 0 swallows the key.
    void Form_KeyDown(int& keyCode, int shift);
    void Form_KeyPress(int& keyAscii);
    // The window is about to close: asks the quit question ("Do you want to quit?" over this window; Yes
    // deletes the history file and ends the program), and always keeps the window.
    void Form_QueryUnload(bool& cancel);

    // Moves the learner's view from this window to `target`: the target takes this window's state
    // (normal, minimised, maximised); after the one-second pause, a target in the normal state also
    // takes this window's left and top, and `then` (the command's remaining steps) runs.
    void HandOver(QWidget* target, std::function<void()> then);

    // Opens the selected row of the window's list (index and history windows; Enter does the same).
    virtual void lbResults_DblClick() {}

protected:
    SecondaryHost& host() const { return host_; }
    // The search window handed in by setPeers (null before).
    SecondaryWindow* searchPeer() const { return search_; }

    // Makes the window's result list (lbResults): a one-column, read-only, single-selection list over
    // `model` at the design rectangle `twips`, whose double-clicks run lbResults_DblClick.
    void makeResultList(QAbstractItemModel* model, const QRect& twips);
    QListView* resultList() const { return lbResults; }
    // The selected row of the list, or -1.
    int ListIndex() const;
    // The page (RowListModel::PageRole) of every row of the list.
    std::vector<QString> rowPages() const;

    // Completes the window once its own controls exist: Tab goes through `tabOrder` (the window's own
    // controls) in that order, then along the toolbar; the help picture lies over everything; every
    // control's keys reach the window's key handlers; the controls take the window's size.
    void finishControls(std::initializer_list<QWidget*> tabOrder);

    // The control that has the focus when the window opens: where the learner types first.
    virtual QWidget* firstFocus() const = 0;
    // Sizes the window's own controls to the inner width and height (pixels) after a resize.
    virtual void resizeControls(int width, int height) = 0;
    // Fills in the window's own controls (input, button, heading, found) of `view`.
    virtual void viewOwnControls(SecondaryView& view) const;
    static ControlView controlView(const QWidget* control);

    // A window's own controls see a key after Form_KeyDown (key code) and Form_KeyPress (character)
    // have; `control` is the widget the key was sent to. True swallows the key.
    virtual bool controlKeyDown(QObject* control, int& keyCode, int shift);
    virtual bool controlKeyPress(QObject* control, int& keyAscii);

    void Form_Activate();
    void Form_Resize();

    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    using Command = void (SecondaryWindow::*)();

    void buildToolbar();
    void openPeer(SecondaryWindow* peer, const char* placeholder);
    void hideHelp();
    void toggleHelp();
    void quitSteps();
    void setListIndex(int row);
    bool handleKey(QObject* watched, QKeyEvent* e);
    // Presses the toolbar button whose access key is `qtKey`; false when none has it.
    bool pressAccessKey(int qtKey);
    // The toolbar buttons, left to right.
    const std::array<QPushButton*, 10>& toolbarRow() const { return toolbar_; }
    // What each toolbar button does, left to right.
    std::array<Command, 10> toolbarCommands() const;

    SecondaryHost& host_;
    Kind kind_;
    SecondaryWindow* search_ = nullptr;
    SecondaryWindow* index_ = nullptr;
    SecondaryWindow* hist_ = nullptr;

    std::array<QPushButton*, 10> toolbar_{};
    DrawnPicture* picHelp = nullptr;
    QListView* lbResults = nullptr;
};

} // namespace torvane::secondary
