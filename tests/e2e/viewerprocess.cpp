#include "viewerprocess.h"

#include <QDir>

namespace torvane::testing {

ViewerProcess::ViewerProcess(QTemporaryDir& home, const QString& courseUrl)
    : home_(home), env_(QProcessEnvironment::systemEnvironment()) {
    env_.insert(QStringLiteral("APPDATA"), appData());
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path() + QStringLiteral("/run"));
    env_.insert(QStringLiteral("TORVANE_COURSE_URL"), courseUrl);
    env_.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    QDir().mkpath(home_.path() + QStringLiteral("/run"));
    process_.setProcessEnvironment(env_);
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

ViewerProcess::~ViewerProcess() {
    kill();
}

void ViewerProcess::setEnvironment(const QString& name, const QString& value) {
    env_.insert(name, value);
    process_.setProcessEnvironment(env_);
}

void ViewerProcess::start(const QStringList& arguments) {
    process_.start(QStringLiteral(TORVANE_BIN_DIR "/torvane"), arguments);
    process_.waitForStarted(10000);
}

int ViewerProcess::waitForExit(int timeoutMs) {
    // A copy that has ended already is not waited for (waiting on it would report a failure).
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs)) {
        return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void ViewerProcess::kill() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString ViewerProcess::output() {
    return QString::fromLocal8Bit(process_.readAll());
}

QString ViewerProcess::appData() const {
    return home_.path() + QStringLiteral("/appdata");
}

QString ViewerProcess::runtimeFolder() const {
    return home_.path() + QStringLiteral("/run/torvane");
}

QStringList windowsNamed(const QString& pattern) {
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                             QStringLiteral("--name"), pattern});
    search.waitForFinished(5000);
    QStringList titles;
    for (const QString& id :
         QString::fromLatin1(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        QProcess name;
        name.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id});
        name.waitForFinished(5000);
        titles << QString::fromUtf8(name.readAllStandardOutput()).trimmed();
    }
    return titles;
}

} // namespace torvane::testing
