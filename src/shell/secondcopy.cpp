// A second copy of the viewer: the job its command line names, the tools' launch timers, and the popup.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <media/frmpopup.h>
#include <platform/desktopwindows.h>
#include <platform/folders.h>
#include <platform/timing.h>
#include <platform/twips.h>
#include <shell/commandline.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

namespace {

struct Tool {
    QString fileFolder;
    QString program;
    QString title;
    int requestCode;
};

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

} // namespace

QString frmTRV::commandLine() const {
    if (services_.commandLine) {
        return *services_.commandLine;
    }
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

bool frmTRV::runSecondCopy() {
    const QString line = commandLine();
    const SecondCopyJob job = parseCommandLine(line);
    switch (job.kind) {
    case JobKind::BringViewerToFront:
        bringViewerToFront();
        return false;
    case JobKind::ChapterTest:
        startChapterTest(job.testName);
        return false;
    case JobKind::SolidraHandOff:
    case JobKind::KirvoltHandOff:
        return handOff(job, line);
    case JobKind::Popup:
        showPopup(job);
        return true;
    case JobKind::Nothing:
        break;
    }
    return false;
}

void frmTRV::bringViewerToFront() {
    // Retitled first, so that the look for the viewer's window cannot find this copy's own.
    setWindowTitle(QStringLiteral("Ending"));
    QCoreApplication::setApplicationName(QStringLiteral("Ending"));
    platform::bringWindowToFront(QStringLiteral("Torvane"));
    EndTRV();
}

void frmTRV::startChapterTest(const QString& name) {
#ifdef Q_OS_WIN
    const QString program = programFolder() + QStringLiteral("\\ch") + name + QStringLiteral("test.exe");
#else
    const QString program = programFolder() + QStringLiteral("/ch") + name + QStringLiteral("test");
#endif
    if (services_.startProgram) {
        services_.startProgram(program, {});
    } else {
        platform::startProgram(program, {}, platform::WindowStyle::Normal);
    }
    EndTRV();
}

bool frmTRV::handOff(const SecondCopyJob& job, const QString& line) {
    const bool solidra = job.kind == JobKind::SolidraHandOff;
    const Tool tool =
        solidra
            ? Tool{platform::solidraFileFolder(AppDataFolder), platform::solidraProgram(ProgramFilesFolder),
                   QStringLiteral("Solidra -"), kSolidraRequest}
            : Tool{platform::kirvoltFileFolder(AppDataFolder), platform::kirvoltProgram(ProgramFilesFolder),
                   QStringLiteral("Kirvolt"), kKirvoltRequest};
    if (!links_.kirvoltName().isMapped()) {
        // Without the block the tool can never learn which file to open: bringing it forward or
        // starting it would look like a hand-off that never arrives.
        message(
            QStringLiteral("Torvane could not hand the exercise %1 to %2: its link to the tools could not "
                           "be set up.")
                .arg(line, solidra ? QStringLiteral("Solidra") : QStringLiteral("Kirvolt")),
            mb::OKOnly | mb::Exclamation);
        EndTRV();
        return false;
    }
    // The path goes out, flushed, before the request code that tells the tool to read it.
    links_.kirvoltName().writeAndFlush(0, bytesOf(pathBuffer(tool.fileFolder + line)));
    if (job.writeRequestCode) {
        const auto code = static_cast<std::uint8_t>(tool.requestCode);
        links_.kirvoltPrev().writeAndFlush(0, std::span(&code, 1));
    }
    if (platform::bringWindowToFront(tool.title)) {
        EndTRV();
        return false;
    }
    if (services_.startProgram) {
        services_.startProgram(tool.program, {});
    } else {
        platform::startProgram(tool.program, {}, platform::WindowStyle::Maximized);
    }
    LaunchTicks = 0;
    (solidra ? Timer3D : TimerKV)->start();
    return true;
}

void frmTRV::TimerKV_Timer() {
    launchTick(TimerKV, QStringLiteral("Kirvolt"),
               QStringLiteral("Could not find Kirvolt. Please retry or run Setup on the USB."));
}

void frmTRV::Timer3D_Timer() {
    launchTick(Timer3D, QStringLiteral("Solidra -"),
               QStringLiteral("Could not find Solidra. Please retry or run Setup on the USB."));
}

void frmTRV::launchTick(QTimer* timer, const QString& title, const QString& failure) {
    ++LaunchTicks;
    if (LaunchTicks > platform::intervals().launchLooks) {
        timer->stop();
        message(failure);
        EndTRV();
        return;
    }
    if (platform::bringWindowToFront(title)) {
        timer->stop();
        EndTRV();
    }
}

void frmTRV::showPopup(const SecondCopyJob& job) {
    PopFile = job.popFile;
    frmPopup_ = std::make_unique<media::frmPopup>(static_cast<media::ViewerLink&>(*this));
    frmPopup_->showPicture(PopFile);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenPixels = screen != nullptr ? screen->geometry().size() : QSize();
    const double twipsPerPixel = platform::kTwipsPerPixel;
    const PopupGeometry g =
        popupGeometry(job.widthPixels, job.heightPixels, QCursor::pos(),
                      screenPixels * platform::kTwipsPerPixel, twipsPerPixel, twipsPerPixel);
    const QSize size(platform::twipsToPixels(g.widthTwips), platform::twipsToPixels(g.heightTwips));
    frmPopup_->Web2->resize(size);
    frmPopup_->resize(size);
    frmPopup_->move(platform::twipsToPixels(g.leftTwips), platform::twipsToPixels(g.topTwips));
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
