#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace torvane::testing {

// The real viewer program, started on private folders (APPDATA, runtime folder) with a course address.
class ViewerProcess final {
public:
    explicit ViewerProcess(QTemporaryDir& home, const QString& courseUrl);
    ~ViewerProcess();

    // Sets one more variable of the program's environment; before start().
    void setEnvironment(const QString& name, const QString& value);
    void start(const QStringList& arguments = {});
    // Waits until the process has ended; its exit code, or -1 when it did not end in time.
    int waitForExit(int timeoutMs);
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    void kill();
    qint64 pid() const { return process_.processId(); }
    QString output();

    QString appData() const;
    QString runtimeFolder() const;
    QString billDir() const { return appData() + QStringLiteral("/Parlenta/Torvane/"); }

private:
    QTemporaryDir& home_;
    QProcessEnvironment env_;
    QProcess process_;
};

// The window titles of the X server's top-level windows with that title, as xdotool finds them.
QStringList windowsNamed(const QString& pattern);

} // namespace torvane::testing
