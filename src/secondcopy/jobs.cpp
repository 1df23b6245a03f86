// A second copy's jobs that need no page: the command line's job, the tools' launch timers.
#include <QCoreApplication>
#include <QTimer>
#include <base/logging.h>
#include <base/messagebox.h>
#include <base/timing.h>
#include <media/links.h>
#include <platform/desktopwindows.h>
#include <platform/folders.h>
#include <secondcopy/jobs.h>

namespace torvane::secondcopy {

namespace {

namespace mb = base::mb;

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

SecondCopy::SecondCopy(media::Links& links, JobServices services)
    : links_(links), services_(std::move(services)) {
    const auto makeTimer = [this](void (SecondCopy::*handler)()) {
        auto* timer = new QTimer(this);
        timer->setInterval(base::intervals().launchMs);
        connect(timer, &QTimer::timeout, this, handler);
        return timer;
    };
    TimerKV = makeTimer(&SecondCopy::TimerKV_Timer);
    Timer3D = makeTimer(&SecondCopy::Timer3D_Timer);
}

bool SecondCopy::run(const SecondCopyJob& job, const QString& line) {
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
    case JobKind::Nothing:
        break;
    }
    return false;
}

void SecondCopy::message(const QString& text, int style) {
    services_.messageBoxes->show({text, style});
}

void SecondCopy::startProgram(const QString& program, bool maximized) {
    const bool started =
        services_.startProgram
            ? services_.startProgram(program, {})
            : platform::startProgram(
                  program, {}, maximized ? platform::WindowStyle::Maximized : platform::WindowStyle::Normal);
    if (!started) {
        qCWarning(base::lcSecondCopy) << program << "could not be started";
    }
}

void SecondCopy::bringViewerToFront() {
    // Renamed first, so that the look for the viewer's window cannot find a window of this copy's own.
    QCoreApplication::setApplicationName(QStringLiteral("Ending"));
    if (!platform::bringWindowToFront(QStringLiteral("Torvane"))) {
        qCDebug(base::lcSecondCopy) << "no window titled Torvane to bring back";
    }
    services_.end();
}

void SecondCopy::startChapterTest(const QString& name) {
    startProgram(platform::chapterTestProgram(services_.programFolder, name), false);
    services_.end();
}

bool SecondCopy::handOff(const SecondCopyJob& job, const QString& line) {
    const bool solidra = job.kind == JobKind::SolidraHandOff;
    const Tool tool = solidra ? Tool{platform::solidraFileFolder(services_.appDataFolder),
                                     platform::solidraProgram(services_.programFilesFolder),
                                     QStringLiteral("Solidra -"), kSolidraRequest}
                              : Tool{platform::kirvoltFileFolder(services_.appDataFolder),
                                     platform::kirvoltProgram(services_.programFilesFolder),
                                     QStringLiteral("Kirvolt"), kKirvoltRequest};
    if (!links_.kirvoltName().isMapped()) {
        // Without the block the tool can never learn which file to open: bringing it forward or
        // starting it would look like a hand-off that never arrives.
        message(QStringLiteral("Torvane could not hand the exercise %1 to %2: its link to the tools could "
                               "not be set up.")
                    .arg(line, solidra ? QStringLiteral("Solidra") : QStringLiteral("Kirvolt")),
                mb::OKOnly | mb::Exclamation);
        services_.end();
        return false;
    }
    // The path goes out, flushed, before the request code that tells the tool to read it.
    links_.writeAndFlush(links_.kirvoltName(), bytesOf(pathBuffer(tool.fileFolder + line)));
    if (job.writeRequestCode) {
        const auto code = static_cast<std::uint8_t>(tool.requestCode);
        links_.writeAndFlush(links_.kirvoltPrev(), std::span(&code, 1));
    }
    if (platform::bringWindowToFront(tool.title)) {
        services_.end();
        return false;
    }
    qCDebug(base::lcSecondCopy) << "no window titled" << tool.title << "yet: starting" << tool.program;
    startProgram(tool.program, true);
    LaunchTicks = 0;
    (solidra ? Timer3D : TimerKV)->start();
    return true;
}

void SecondCopy::TimerKV_Timer() {
    launchTick(TimerKV, QStringLiteral("Kirvolt"),
               QStringLiteral("Could not find Kirvolt. Please retry or run Setup on the USB."));
}

void SecondCopy::Timer3D_Timer() {
    launchTick(Timer3D, QStringLiteral("Solidra -"),
               QStringLiteral("Could not find Solidra. Please retry or run Setup on the USB."));
}

void SecondCopy::launchTick(QTimer* timer, const QString& title, const QString& failure) {
    ++LaunchTicks;
    if (LaunchTicks > base::intervals().launchLooks) {
        qCWarning(base::lcSecondCopy) << "no window titled" << title << "appeared: given up";
        timer->stop();
        message(failure, mb::OKOnly);
        services_.end();
        return;
    }
    if (platform::bringWindowToFront(title)) {
        timer->stop();
        services_.end();
    }
}

} // namespace torvane::secondcopy
