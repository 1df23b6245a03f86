#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <csignal>
#include <sys/types.h>

namespace torvane::testing {

namespace {

QByteArray readProc(qint64 pid, const char* entry) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parent of `pid` from /proc/<pid>/stat: the field after the command name in parentheses (which
// may itself hold spaces and parentheses) and the state letter.
qint64 parentOf(qint64 pid) {
    const QByteArray stat = readProc(pid, "stat");
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0) {
        return 0;
    }
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() : 0;
}

QByteArray commandLine(qint64 pid) {
    QByteArray line = readProc(pid, "cmdline");
    line.replace('\0', ' ');
    return line;
}

bool isBrowserHelper(qint64 pid) {
    return commandLine(pid).contains("QtWebEngineProcess");
}

} // namespace

QList<qint64> descendants(qint64 pid) {
    QHash<qint64, QList<qint64>> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 child = entry.toLongLong(&number);
        if (number) {
            children[parentOf(child)] << child;
        }
    }
    QList<qint64> found;
    QList<qint64> open{pid};
    while (!open.isEmpty()) {
        for (const qint64 child : children.value(open.takeFirst())) {
            found << child;
            open << child;
        }
    }
    return found;
}

QList<qint64> rendererProcesses(qint64 pid) {
    // Renderers are forked from a zygote and keep its command line; one started directly says so.
    QList<qint64> renderers;
    for (const qint64 child : descendants(pid)) {
        if (isBrowserHelper(child) &&
            (commandLine(child).contains("--type=renderer") || isBrowserHelper(parentOf(child)))) {
            renderers << child;
        }
    }
    return renderers;
}

void killBrowserHelpers(const QList<qint64>& pids) {
    for (const qint64 pid : pids) {
        if (isBrowserHelper(pid)) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
    }
}

} // namespace torvane::testing
