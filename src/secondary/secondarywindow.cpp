#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QResizeEvent>
#include <base/keycodes.h>
#include <base/keyrules.h>
#include <base/messageboxcodes.h>
#include <base/timing.h>
#include <base/toolbar.h>
#include <router/pagenames.h>
#include <secondary/accessiblewindows.h>
#include <secondary/drawnpicture.h>
#include <secondary/handover.h>
#include <secondary/helppicture.h>
#include <secondary/listselection.h>
#include <secondary/rowlistmodel.h>
#include <secondary/secondaryhost.h>
#include <secondary/secondarylayout.h>
#include <secondary/secondarywindow.h>
#include <secondary/toolbarbutton.h>

namespace torvane::secondary {

namespace {

namespace mb = base::mb;

// The character a key types, as the key-press handlers see it; 0 when it types none.
int characterOf(const QKeyEvent* e) {
    const QString text = e->text();
    return text.isEmpty() ? 0 : text.front().unicode();
}

base::KeyWindow keyWindowOf(SecondaryWindow::Kind kind) {
    switch (kind) {
    case SecondaryWindow::Kind::Search:
        return base::KeyWindow::Search;
    case SecondaryWindow::Kind::Index:
        return base::KeyWindow::Index;
    case SecondaryWindow::Kind::History:
        break;
    }
    return base::KeyWindow::History;
}

} // namespace

SecondaryWindow::SecondaryWindow(SecondaryHost& host, Kind kind, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), kind_(kind) {
    exposeWindowsAsWindows();
    // Light grey, red, green and blue 192 each, like the course's other windows.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(p);
    resize(twipsToPixels(kWindowWidthTwips), twipsToPixels(kWindowHeightTwips));

    buildToolbar();

    picHelp = new DrawnPicture(&secondaryHelpPicture, this);
    picHelp->setObjectName(QStringLiteral("picHelp"));
    picHelp->setGeometry(
        twipsRect(kHelpBoxTwips.x(), kHelpBoxTwips.y(), kHelpBoxTwips.width(), kHelpBoxTwips.height()));
    picHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picHelp->setAccessibleName(QStringLiteral("Torvane Help"));
    picHelp->setAccessibleDescription(secondaryHelpText());
    picHelp->hide();
}

SecondaryWindow::~SecondaryWindow() = default;

void SecondaryWindow::buildToolbar() {
    const std::span<const base::ToolbarButton> faces = base::toolbarOf(keyWindowOf(kind_));
    const std::array<Command, 10> commands = toolbarCommands();
    for (std::size_t i = 0; i < toolbar_.size(); ++i) {
        toolbar_[i] = makeToolbarButton(this, static_cast<int>(i), faces[i]);
        connect(toolbar_[i], &QPushButton::clicked, this, commands[i]);
    }
}

std::array<SecondaryWindow::Command, 10> SecondaryWindow::toolbarCommands() const {
    // The third button opens the index window from the search window, the search window from the others.
    const Command third =
        kind_ == Kind::Search ? &SecondaryWindow::cmdIndex_Click : &SecondaryWindow::cmdSearch_Click;
    return {
        &SecondaryWindow::cmdCont_Click, &SecondaryWindow::cmdPrint_Click, third,
        &SecondaryWindow::cmdBack_Click, &SecondaryWindow::cmdPrev_Click,  &SecondaryWindow::cmdNext_Click,
        &SecondaryWindow::cmdHist_Click, &SecondaryWindow::cmdCalc_Click,  &SecondaryWindow::cmdHelp_Click,
        &SecondaryWindow::cmdSecn_Click};
}

void SecondaryWindow::makeResultList(QAbstractItemModel* model, const QRect& twips) {
    lbResults = new QListView(this);
    lbResults->setObjectName(QStringLiteral("lbResults"));
    lbResults->setModel(model);
    // Equal row heights let the view lay out 20000 rows without measuring each one.
    lbResults->setUniformItemSizes(true);
    lbResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbResults->setSelectionMode(QAbstractItemView::SingleSelection);
    lbResults->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    // A double-click anywhere in the list's viewport runs lbResults_DblClick.
    lbResults->viewport()->installEventFilter(this);
}

int SecondaryWindow::ListIndex() const {
    return lbResults != nullptr ? selectedRow(*lbResults) : -1;
}

void SecondaryWindow::setListIndex(int row) {
    if (lbResults != nullptr) {
        selectRow(*lbResults, row);
    }
}

std::vector<QString> SecondaryWindow::rowPages() const {
    std::vector<QString> pages;
    if (lbResults == nullptr) {
        return pages;
    }
    const QAbstractItemModel& model = *lbResults->model();
    pages.reserve(static_cast<std::size_t>(model.rowCount()));
    for (int row = 0; row < model.rowCount(); ++row) {
        pages.push_back(model.index(row, 0).data(RowListModel::PageRole).toString());
    }
    return pages;
}

void SecondaryWindow::finishControls(std::initializer_list<QWidget*> tabOrder) {
    // The window's own controls come first, then the toolbar, left to right.
    QList<QWidget*> chain(tabOrder.begin(), tabOrder.end());
    for (QPushButton* button : toolbar_) {
        chain << button;
    }
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
    picHelp->raise();
    // Every child widget's keys reach the window's key handlers, whichever has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    resizeControls(width(), height());
}

// --- what the learner sees -------------------------------------------------------------------------

ControlView SecondaryWindow::controlView(const QWidget* control) {
    ControlView v;
    if (control == nullptr) {
        return v;
    }
    v.name = control->objectName();
    v.rect = control->geometry();
    v.font = control->font();
    if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
        v.text = box->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        v.text = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        v.text = button->text();
    }
    return v;
}

void SecondaryWindow::viewOwnControls(SecondaryView&) const {}

SecondaryView SecondaryWindow::view() const {
    SecondaryView v;
    for (std::size_t i = 0; i < toolbar_.size(); ++i) {
        v.toolbar[i] = controlView(toolbar_[i]);
    }
    if (lbResults != nullptr) {
        const QAbstractItemModel& model = *lbResults->model();
        for (int row = 0; row < model.rowCount(); ++row) {
            v.rows << model.index(row, 0).data().toString();
        }
        v.list = lbResults->geometry();
    }
    v.selectedRow = ListIndex();
    v.helpShown = !picHelp->isHidden();
    v.help = picHelp->geometry();
    v.helpDrawn = picHelp->pixmap().size();
    if (const QWidget* focused = focusWidget()) {
        v.focus = focused->objectName();
    }
    viewOwnControls(v);
    return v;
}

void SecondaryWindow::setPeers(SecondaryWindow* search, SecondaryWindow* index, SecondaryWindow* hist) {
    search_ = search;
    index_ = index;
    hist_ = hist;
}

void SecondaryWindow::showWindow() {
    show();
    raise();
    activateWindow();
    // One course window on screen at once, also where the window manager reports the activation late.
    Form_Activate();
    // The learner types at once where the window is used: its text box, or its list.
    if (QWidget* first = firstFocus()) {
        if (first == lbResults && ListIndex() < 0) {
            setListIndex(0);
        }
        first->setFocus(Qt::ActiveWindowFocusReason);
    }
}

// --- the toolbar ---------------------------------------------------------------------------------

void SecondaryWindow::hideHelp() {
    picHelp->hide();
}

void SecondaryWindow::toggleHelp() {
    if (picHelp->isHidden()) {
        picHelp->show();
        picHelp->raise();
    } else {
        picHelp->hide();
    }
}

void SecondaryWindow::cmdCont_Click() {
    hideHelp();
    HandOver(host_.mainWindow(), [this] {
        // Contents from outside always goes to the first contents page of the screen's class (never the
        // second one, which the main window's own button alternates with).
        const int size = host_.screenSize();
        const router::ScreenSize cls = (size >= 1 && size <= 7) ? static_cast<router::ScreenSize>(size) : 0;
        host_.navigate(host_.fileLocn() + router::contentsPage(cls));
    });
}

void SecondaryWindow::cmdPrint_Click() {
    // Print leaves the help picture as it is: with it shown, the picture is what gets printed.
    host_.print(picHelp->isHidden() ? nullptr : &picHelp->picture());
}

void SecondaryWindow::openPeer(SecondaryWindow* peer, const char* placeholder) {
    hideHelp();
    HandOver(host_.mainWindow(), [this, peer, placeholder] {
        HandOver(peer, [this, placeholder] {
            // The navigation handler opens the window when its placeholder page has completed.
            host_.navigate(host_.fileLocn() + QString::fromLatin1(placeholder));
        });
    });
}

void SecondaryWindow::cmdSearch_Click() {
    openPeer(search_, "search.trv");
}

void SecondaryWindow::cmdIndex_Click() {
    openPeer(index_, "index.trv");
}

void SecondaryWindow::cmdBack_Click() {
    hideHelp();
    host_.goBack();
}

// A secondary window has no page of its own to page through: << and >> step the browser back from
// this window's placeholder page, like Back.
void SecondaryWindow::cmdPrev_Click() {
    hideHelp();
    host_.goBack();
}

void SecondaryWindow::cmdNext_Click() {
    hideHelp();
    host_.goBack();
}

void SecondaryWindow::cmdHist_Click() {
    if (kind_ == Kind::History) {
        // The history window is already open: its History button shows or hides the help instead of
        // reloading the list.
        toggleHelp();
        return;
    }
    openPeer(hist_, "hist.trv");
}

void SecondaryWindow::cmdCalc_Click() {
    hideHelp();
    host_.startCalculator();
}

void SecondaryWindow::cmdHelp_Click() {
    toggleHelp();
}

// Section has no section page to go to from here; it shows or hides the help, like Help.
void SecondaryWindow::cmdSecn_Click() {
    toggleHelp();
}

void SecondaryWindow::picHelp_Click() {
    hideHelp();
}

// --- keys ----------------------------------------------------------------------------------------

void SecondaryWindow::Form_KeyPress(int& keyAscii) {
    keyAscii = base::decideKeyPress(keyAscii);
}

void SecondaryWindow::Form_KeyDown(int& keyCode, int shift) {
    hideHelp();
    keyCode = base::runKeyDown(keyWindowOf(kind_), keyCode, shift,
                               {[this] { quitSteps(); },
                                [this] { cmdPrev_Click(); },
                                [this] { cmdNext_Click(); },
                                {},
                                [this] { lbResults_DblClick(); }});
}

bool SecondaryWindow::pressAccessKey(int qtKey) {
    const auto position = base::accessKeyPosition(base::toolbarOf(keyWindowOf(kind_)), qtKey);
    if (!position) {
        return false;
    }
    toolbarRow().at(*position)->click();
    return true;
}

bool SecondaryWindow::controlKeyDown(QObject*, int&, int) {
    return false;
}

bool SecondaryWindow::controlKeyPress(QObject*, int&) {
    return false;
}

bool SecondaryWindow::handleKey(QObject* watched, QKeyEvent* e) {
    // A key the focused control does not take travels on to its parents, each of which this filter also
    // watches; every key that does something is swallowed here, so it is acted on once. What a second
    // look repeats (hiding the help picture) does no harm.
    const int pressed = base::virtualKeyOf(e->key());
    int keyCode = pressed;
    const int shift = base::shiftStateOf(static_cast<int>(e->modifiers()));
    Form_KeyDown(keyCode, shift);
    if (pressed != 0 && keyCode == 0) {
        return true;
    }
    // An access key presses its button once the key handler has seen the key.
    if ((shift & base::kAltBit) != 0 && pressAccessKey(e->key())) {
        return true;
    }
    if (controlKeyDown(watched, keyCode, shift)) {
        return true;
    }
    int keyAscii = characterOf(e);
    if (keyAscii != 0) {
        Form_KeyPress(keyAscii);
        if (keyAscii == 0 || controlKeyPress(watched, keyAscii)) {
            return true;
        }
    }
    return false;
}

// --- closing -------------------------------------------------------------------------------------

void SecondaryWindow::quitSteps() {
    const std::optional<int> answer =
        host_.msgBoxAt(QStringLiteral("Do you want to quit?"), mb::QuitStyle, QStringLiteral("Quit Torvane?"),
                       this, QVariant(100), QVariant(80));
    // A box that could not be shown was never answered: nothing happens.
    if (!base::quitConfirmed(answer)) {
        return;
    }
    host_.endAfterQuit();
}

void SecondaryWindow::Form_QueryUnload(bool& cancel) {
    quitSteps();
    // A secondary window is never unloaded: its tables live for the whole run.
    cancel = true;
}

void SecondaryWindow::closeEvent(QCloseEvent* e) {
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        e->ignore();
    } else {
        e->accept();
    }
}

// --- window state --------------------------------------------------------------------------------

void SecondaryWindow::HandOver(QWidget* target, std::function<void()> then) {
    if (target == nullptr) {
        then();
        return;
    }
    handOver(*this, *target, std::move(then));
}

void SecondaryWindow::Form_Activate() {
    // An activation the window manager reports after the window was hidden again (a page was opened from
    // it meanwhile) must neither bring it back nor hide the window now on screen.
    if (!isVisible()) {
        return;
    }
    QWidget* main = host_.mainWindow();
    if (main != nullptr && main != this) {
        main->hide();
    }
    for (SecondaryWindow* peer : {search_, index_, hist_}) {
        if (peer != nullptr && peer != this) {
            peer->hide();
        }
    }
}

void SecondaryWindow::Form_Resize() {
    if ((windowState() & kSizeStates) == 0 && x() < 0) {
        move(twipsToPixels(kRescueTwips), twipsToPixels(kRescueTwips));
    }
    resizeControls(width(), height());
}

bool SecondaryWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(e);
}

void SecondaryWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

bool SecondaryWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        return handleKey(watched, static_cast<QKeyEvent*>(e));
    }
    if (watched == picHelp && e->type() == QEvent::MouseButtonRelease) {
        picHelp_Click();
        return true;
    }
    if (watched == lbResults && e->type() == QEvent::FocusIn) {
        // A list reached with the keyboard has a current row, so that Enter opens something.
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && ListIndex() < 0) {
            setListIndex(0);
        }
    }
    if (lbResults != nullptr && watched == lbResults->viewport() &&
        e->type() == QEvent::MouseButtonDblClick) {
        // Anywhere in the list, below the last row too: the selected row decides what opens.
        lbResults_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace torvane::secondary
