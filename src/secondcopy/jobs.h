#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <secondcopy/commandline.h>

class QTimer;

namespace torvane::base {
class MessageBoxes;

}

namespace torvane::media {
class Links;
}

namespace torvane::secondcopy {

// What a second copy's jobs take from their surroundings.
struct JobServices final {
    base::MessageBoxes* messageBoxes = nullptr; // required
    // Starts a program detached; false when it cannot be started. Empty: the system's way.
    std::function<bool(const QString&, const QStringList&)> startProgram;
    QString programFolder;      // where the chapter tests lie
    QString appDataFolder;      // where the tools keep their files
    QString programFilesFolder; // where the tools are installed
    // Ends the copy: the blocks closed, the process ended (or, in a test, whatever the test records).
    std::function<void()> end;
};

// The jobs of a second copy that need no page: bringing the viewer back, starting a chapter test,
// handing an exercise to Kirvolt or Solidra and waiting for the tool's window. The popup picture is the
// viewer window's own job.
class SecondCopy final : public QObject {
public:
    SecondCopy(media::Links& links, JobServices services);

    // Carries out `job` (parsed from `line`). True when the copy lives on, waiting for a tool's window
    // until a launch timer ends it.
    bool run(const SecondCopyJob& job, const QString& line);

private:
    void bringViewerToFront();
    void startChapterTest(const QString& name);
    bool handOff(const SecondCopyJob& job, const QString& line);
    void TimerKV_Timer();
    void Timer3D_Timer();
    void launchTick(QTimer* timer, const QString& title, const QString& failure);
    void startProgram(const QString& program, bool maximized);
    void message(const QString& text, int style);

    media::Links& links_;
    JobServices services_;
    QTimer* Timer3D = nullptr;
    QTimer* TimerKV = nullptr;
    int LaunchTicks = 0; // looks for the tool's window so far
};

} // namespace torvane::secondcopy
