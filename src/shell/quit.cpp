// Quitting: the quit question, closing the window, the end of the program and the end flag.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <history/historyfile.h>
#include <platform/instancelock.h>
#include <platform/processend.h>
#include <shell/frmtrv.h>
#include <shell/popupcopy.h>

namespace torvane::shell {

void frmTRV::AskQuit() {
    const auto answer = MsgBoxAt(*services_.messageBoxes, QStringLiteral("Do you want to quit?"),
                                 mb::QuitStyle, QStringLiteral("Quit Torvane?"), this, false, 100, 80);
    if (base::quitConfirmed(answer)) {
        endAfterQuit();
    }
}

void frmTRV::endAfterQuit() {
    // Without a data folder there is no history file to delete (and a bare "history.trv" would name a
    // file in whatever folder the program was started from).
    const QString historyFile = state_.BillDir + QString::fromLatin1(history::kHistoryFileName);
    if (!state_.BillDir.isEmpty() && FileThere(historyFile) && !QFile::remove(historyFile)) {
        // The program still ends; the learner is told why the old history will show up next time.
        message(
            QStringLiteral("Torvane could not delete the history of visited pages:\n%1\n\nIt will be listed "
                           "again the next time Torvane starts.")
                .arg(QDir::toNativeSeparators(historyFile)),
            mb::OKOnly | mb::Exclamation);
    }
    EndTRV();
}

bool frmTRV::commandLineIsEmpty() const {
    if (services_.commandLine) {
        return services_.commandLine->isEmpty();
    }
    return QCoreApplication::arguments().size() <= 1;
}

void frmTRV::closeEvent(QCloseEvent* e) {
    // Form_QueryUnload: the viewer asks before it closes; a second copy, or an end started from the
    // companion window, closes without a question.
    if (commandLineIsEmpty() && !state_.FromWithfile) {
        AskQuit();
        e->ignore(); // reached only when the question was not answered Yes
        return;
    }
    e->accept();
}

void frmTRV::EndTRV() {
    TimerEnd->stop();
    links_.closeLinks();
    if (popup_) {
        // Ended from inside the popup (its key or mouse watch): gone once that has returned.
        popup_.release()->deleteLater();
    }
    instanceLock_.reset();
    if (services_.endProcess) {
        services_.endProcess();
        return;
    }
    // At once: no close question, no further close handlers of any window.
    platform::endProcessNow();
}

void frmTRV::ShutOffTRV() {
    links_.writeEndFlag(1);
}

} // namespace torvane::shell
