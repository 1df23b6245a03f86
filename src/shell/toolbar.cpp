// The main window's toolbar commands, keys and help picture.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <base/keyrules.h>
#include <base/logging.h>
#include <history/frmhist.h>
#include <platform/calculator.h>
#include <platform/desktopwindows.h>
#include <router/navigation.h>
#include <search/frmsearch.h>
#include <secondary/drawnpicture.h>
#include <secondary/handover.h>
#include <secondary/toolbarbutton.h>
#include <shell/coursebrowser.h>
#include <shell/frmtrv.h>
#include <shell/preferences.h>
#include <shell/readingaids.h>
#include <shell/readingkeys.h>
#include <shell/toolbartargets.h>
#include <shell/videopresenter.h>

namespace torvane::shell {

void frmTRV::buildToolbar() {
    // One handler per button, left to right; the tab order follows the row.
    const std::array<void (frmTRV::*)(), 10> handlers{
        &frmTRV::cmdCont_Click, &frmTRV::cmdPrint_Click, &frmTRV::cmdSearch_Click, &frmTRV::cmdBack_Click,
        &frmTRV::cmdPrev_Click, &frmTRV::cmdNext_Click,  &frmTRV::cmdHist_Click,   &frmTRV::cmdCalc_Click,
        &frmTRV::cmdHelp_Click, &frmTRV::cmdSecn_Click,
    };
    const auto row = base::toolbarOf(base::KeyWindow::Main);
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < row.size(); ++i) {
        QPushButton* button = secondary::makeToolbarButton(this, static_cast<int>(i), row[i]);
        if (previous != nullptr) {
            setTabOrder(previous, button);
        }
        previous = button;
        connect(button, &QPushButton::clicked, this, handlers[i]);
        toolbar_[i] = button;
    }
    // Keys reach the window's handlers wherever the focus is, inside the browser too.
    qApp->installEventFilter(this);
}

bool frmTRV::pressAccessKey(int qtKey) {
    // The buttons' access keys are handled here rather than by Qt's shortcuts, which the browser
    // keeps for the page while it has the focus, and which would act before the key handler.
    const auto position = base::accessKeyPosition(base::toolbarOf(base::KeyWindow::Main), qtKey);
    if (!position) {
        return false;
    }
    toolbar_.at(*position)->click();
    return true;
}

void frmTRV::navigateTo(const QString& address) {
    // An empty target (no page has given one yet) leads nowhere, and so does an address of another kind
    // than the course's own (a script, a local file): targets come from pages, and pages are not trusted.
    if (router::followable(address)) {
        browser_->load(QUrl(address));
    } else if (!address.isEmpty()) {
        qCDebug(base::lcBrowser) << "not followed:" << address;
    }
}

void frmTRV::cmdCont_Click() {
    picHelp->hide();
    navigateTo(contentsTarget(state_.FileLocn, state_.CurPage, state_.ScreenSize));
}

void frmTRV::cmdPrint_Click() {
    if (picHelp->isVisible()) {
        const QImage picture = picHelp->pixmap().toImage();
        printCommand(&picture);
    } else {
        printCommand(nullptr);
    }
}

void frmTRV::openSecondary(QWidget& window, const QString& placeholder) {
    picHelp->hide();
    secondary::handOver(*this, window, [this, placeholder] { navigateTo(state_.FileLocn + placeholder); });
}

void frmTRV::cmdSearch_Click() {
    openSecondary(searchWindow(), QStringLiteral("search.trv"));
}

void frmTRV::cmdHist_Click() {
    openSecondary(historyWindow(), QStringLiteral("hist.trv"));
}

void frmTRV::cmdBack_Click() {
    picHelp->hide();
    state_.GoingBack = true;
    browser_->stepBack();
}

void frmTRV::cmdPrev_Click() {
    picHelp->hide();
    navigateTo(state_.PrevLink);
}

void frmTRV::cmdNext_Click() {
    picHelp->hide();
    navigateTo(state_.NextLink);
}

void frmTRV::cmdSecn_Click() {
    picHelp->hide();
    navigateTo(state_.SecnLink);
}

void frmTRV::cmdCalc_Click() {
    picHelp->hide();
    startCalculator();
}

void frmTRV::startCalculator() {
    // No calculator on the system: nothing happens.
    const QString calculator = platform::findCalculator();
    if (calculator.isEmpty()) {
        qCWarning(base::lcPlatform)
            << "no calculator found (gnome-calculator, kcalc, mate-calc, galculator, xcalc)";
        return;
    }
    // Maximised and in front: the work area of the main window's screen, for the calculators that
    // take a window size on their command line, and the maximised style for the desktop.
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QStringList arguments =
        platform::calculatorArguments(calculator, screen != nullptr ? screen->availableGeometry() : QRect());
    const bool started = services_.startProgram ? services_.startProgram(calculator, arguments)
                                                : platform::startProgram(calculator, arguments,
                                                                         platform::WindowStyle::Maximized);
    if (!started) {
        qCWarning(base::lcPlatform) << "the calculator" << calculator << "could not be started";
    }
}

void frmTRV::cmdHelp_Click() {
    picHelp->setVisible(!picHelp->isVisible());
    if (picHelp->isVisible()) {
        picHelp->raise();
    }
}

void frmTRV::picHelp_Click() {
    picHelp->hide();
}

void frmTRV::Form_KeyDown(int& keyCode, int shift) {
    picHelp->hide();
    keyCode = base::runKeyDown(base::KeyWindow::Main, keyCode, shift,
                               {[this] { AskQuit(); },
                                [this] { cmdPrev_Click(); },
                                [this] { cmdNext_Click(); },
                                [this] { video_->stopVideo(); },
                                {}});
}

void frmTRV::Form_KeyPress(int& character) {
    if (character == base::vk::Escape) {
        picHelp->hide();
    }
    character = base::decideKeyPress(character);
}

bool frmTRV::readingKey(const QKeyEvent& e) {
    const ReadingCommand command =
        decideReadingKey(e.key(), static_cast<int>(e.modifiers()), aids_->readingAloud());
    switch (command) {
    case ReadingCommand::None:
        return false;
    case ReadingCommand::SwitchFocus:
        switchFocus();
        return true;
    default:
        aids_->run(command);
        return true;
    }
}

void frmTRV::switchFocus() {
    if (browser_->pageHasFocus()) {
        toolbar_.front()->setFocus(Qt::TabFocusReason);
    } else {
        browser_->focusPage();
    }
}

void frmTRV::keepPreferences() {
    savePreferences(state_.BillDir, aids_->preferences());
}

bool frmTRV::handleKeyEvent(QKeyEvent* e) {
    const int shift = base::shiftStateOf(static_cast<int>(e->modifiers()));
    const int pressed = base::virtualKeyOf(e->key());
    int keyCode = pressed;
    Form_KeyDown(keyCode, shift);
    if (keyCode == 0 && pressed != 0) {
        return true;
    }
    if (readingKey(*e)) {
        return true;
    }
    if (pressed == base::vk::Escape) {
        aids_->escape(); // and Esc goes on to do what it does in the window
    }
    if ((shift & base::kAltBit) != 0 && pressAccessKey(e->key())) {
        return true;
    }
    if (!e->text().isEmpty()) {
        int character = e->text().at(0).unicode();
        Form_KeyPress(character);
        if (character == 0) {
            return true;
        }
    }
    return false;
}

} // namespace torvane::shell
