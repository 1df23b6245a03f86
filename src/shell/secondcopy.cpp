// A second copy of the viewer started in-process: the popup it shows itself, the other jobs through the
// second copy's own jobs.
#include <QApplication>
#include <platform/folders.h>
#include <secondcopy/commandline.h>
#include <shell/frmtrv.h>
#include <shell/popupcopy.h>

namespace torvane::shell {

using secondcopy::JobKind;
using secondcopy::parseCommandLine;

QString frmTRV::commandLine() const {
    if (services_.commandLine) {
        return *services_.commandLine;
    }
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

bool frmTRV::runSecondCopy() {
    const QString line = commandLine();
    const SecondCopyJob job = parseCommandLine(line, state_.FileLocn);
    if (job.kind == JobKind::Popup) {
        showPopup(job);
        return true;
    }
    // Renamed first, so that a look for the viewer's window cannot find this copy's own.
    setWindowTitle(QStringLiteral("Ending"));
    secondcopy::JobServices jobs;
    jobs.messageBoxes = services_.messageBoxes;
    jobs.startProgram = services_.startProgram;
    jobs.programFolder = programFolder();
    jobs.appDataFolder = state_.AppDataFolder;
    jobs.programFilesFolder = state_.ProgramFilesFolder;
    jobs.end = [this] { EndTRV(); };
    secondCopy_ = std::make_unique<secondcopy::SecondCopy>(links_, std::move(jobs));
    return secondCopy_->run(job, line);
}

void frmTRV::showPopup(const SecondCopyJob& job) {
    state_.PopFile = job.popFile;
    popup_ = std::make_unique<PopupCopy>(state_.FileLocn, [this] { EndTRV(); });
    popup_->show(job);
}

} // namespace torvane::shell
