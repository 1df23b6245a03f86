// A second copy of the viewer started in-process: the popup it shows itself, the other jobs through the
// second copy's own jobs.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <base/timing.h>
#include <base/twips.h>
#include <media/frmpopup.h>
#include <platform/desktopwindows.h>
#include <platform/folders.h>
#include <secondcopy/commandline.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

using secondcopy::JobKind;
using secondcopy::parseCommandLine;
using secondcopy::PopupGeometry;
using secondcopy::popupGeometry;

QString frmTRV::commandLine() const {
    if (services_.commandLine) {
        return *services_.commandLine;
    }
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

bool frmTRV::runSecondCopy() {
    const QString line = commandLine();
    const SecondCopyJob job = parseCommandLine(line);
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
    frmPopup_ = std::make_unique<media::frmPopup>(static_cast<media::ViewerLink&>(*this));
    frmPopup_->showPicture(state_.PopFile);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPixels = screen != nullptr ? screen->geometry().size() : QSize();
    const double twipsPerPixel = base::kTwipsPerPixel;
    const PopupGeometry g = popupGeometry(job.widthPixels, job.heightPixels, QCursor::pos(),
                                          screenPixels * base::kTwipsPerPixel, twipsPerPixel, twipsPerPixel);
    const QSize size(base::twipsToPixels(g.widthTwips), base::twipsToPixels(g.heightTwips));
    frmPopup_->Web2->resize(size);
    frmPopup_->resize(size);
    frmPopup_->move(base::twipsToPixels(g.leftTwips), base::twipsToPixels(g.topTwips));
    frmPopup_->raise();
    QCoreApplication::processEvents();
    frmPopup_->show();
    TimerPop->start();
}

void frmTRV::TimerPop_Timer() {
    if (platform::leftButtonDown()) {
        TimerPop->stop();
        EndTRV();
    }
}

} // namespace torvane::shell
