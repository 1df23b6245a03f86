// Quitting: the quit question, closing the window, the end of the program.
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <base/messagebox.h>
#include <history/historyfile.h>
#include <platform/instancelock.h>
#include <platform/processend.h>
#include <shell/blockwatch.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

void frmTRV::AskQuit() {
    const auto answer =
        base::MsgBoxAt(*services_.messageBoxes, QStringLiteral("Do you want to quit?"), base::mb::QuitStyle,
                       QStringLiteral("Quit Torvane?"), this, false, 100, 80);
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
            base::mb::OKOnly | base::mb::Exclamation);
    }
    EndTRV();
}

void frmTRV::closeEvent(QCloseEvent* e) {
    // Form_QueryUnload: the viewer asks before it closes; a copy started with a command line, or an end
    // started from the companion window, closes without a question.
    if (commandLineEmpty_ && !state_.FromWithfile) {
        AskQuit();
        e->ignore(); // reached only when the question was not answered Yes
        return;
    }
    e->accept();
}

void frmTRV::EndTRV() {
    blocks_->closeLinks();
    instanceLock_.reset();
    if (services_.endProcess) {
        services_.endProcess();
        return;
    }
    // At once: no close question, no further close handlers of any window.
    platform::endProcessNow();
}

} // namespace torvane::shell
