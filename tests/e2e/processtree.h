#pragma once

#include <QList>

namespace torvane::testing {

// The processes below `pid` (children, their children...), read from /proc.
QList<qint64> descendants(qint64 pid);

// Those of them that are browser renderer processes: QtWebEngineProcess with --type=renderer, or
// forked by a zygote QtWebEngineProcess (such a child keeps the zygote's command line).
QList<qint64> rendererProcesses(qint64 pid);

// Ends with SIGKILL each process of `pids` that is still a browser helper process; others (ended,
// their number taken by someone else) are left alone.
void killBrowserHelpers(const QList<qint64>& pids);

} // namespace torvane::testing
