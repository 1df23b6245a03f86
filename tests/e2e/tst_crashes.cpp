// The real program killed under the learner: the history file keeps every record of the pages that
// had completed, whole and in order, whenever the viewer is killed; a killed page renderer is reloaded
// a few times and then left, with the toolbar still working.
#include "processtree.h"
#include "viewerprocess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <support/courseserver.h>
#include <variant>

using torvane::testing::CourseServer;
using torvane::testing::ViewerProcess;
namespace testing = torvane::testing;

namespace {

// A viewer started with its trace on: each document it completes (after its history record is
// written) shows on its standard error.
class TracedViewer final {
public:
    TracedViewer(QTemporaryDir& home, const QString& courseUrl) : process(home, courseUrl) {
        process.setEnvironment(QStringLiteral("TORVANE_TRACE"), QStringLiteral("1"));
        process.start();
    }

    // The addresses of the completed documents so far, in order; only whole trace lines count.
    QStringList completed() {
        output_ += process.output();
        static const QRegularExpression line(
            QStringLiteral("torvane-trace \\d+ document-complete (\\S*)\\n"));
        QStringList addresses;
        for (auto it = line.globalMatch(output_); it.hasNext();) {
            addresses << it.next().captured(1);
        }
        return addresses;
    }

    // Gives the viewer's window the keyboard (there is no window manager to do it).
    bool focus() {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--pid"), QString::number(process.pid())});
        search.waitForFinished(5000);
        const QStringList ids =
            QString::fromLatin1(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return !ids.isEmpty() && QProcess::execute(QStringLiteral("xdotool"),
                                                   {QStringLiteral("windowfocus"), ids.first()}) == 0;
    }

    // Kills the viewer with SIGKILL, and the browser processes it leaves behind.
    void kill() {
        const QList<qint64> helpers = testing::descendants(process.pid());
        process.kill();
        testing::killBrowserHelpers(helpers);
        completed();
    }

    ViewerProcess process;

private:
    QString output_;
};

void pressKey(const QString& keys) {
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

QString pageName(const QString& address) {
    const qsizetype marker = address.indexOf(QStringLiteral("trv2/"));
    return marker < 0 ? QString() : address.mid(marker + 5);
}

// Whether a completed page leaves a history record, for the pages a forward tour reaches (without
// Back, so that no placeholder is passed over).
bool recorded(const QString& page) {
    if (page.isEmpty() || QStringList{"title.trv", "search.trv", "index.trv", "hist.trv"}.contains(page)) {
        return false;
    }
    for (const char* prefix : {"fig", "ttv", "v", "mod", "obj", "rev"}) {
        if (page.startsWith(QLatin1String(prefix))) {
            return false;
        }
    }
    return true;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The records of `bytes`, or an explanation of the first line that is not a whole record.
std::variant<QList<QByteArray>, QString> wholeRecords(const QByteArray& bytes) {
    QList<QByteArray> records;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf("\r\n", at);
        if (end < 0) {
            return QStringLiteral("torn record at byte %1: %2")
                .arg(at)
                .arg(QString::fromLatin1(bytes.mid(at)));
        }
        const QByteArray line = bytes.mid(at, end - at);
        if (line.size() < 2 || !line.startsWith('"') || !line.endsWith('"') || line.count('"') != 2 ||
            line.contains('\r') || line.contains('\n')) {
            return QStringLiteral("broken record at byte %1: %2").arg(at).arg(QString::fromLatin1(line));
        }
        records << line.mid(1, line.size() - 2);
        at = end + 2;
    }
    return records;
}

} // namespace

class TestCrashes final : public QObject {
    Q_OBJECT
private slots:
    void historyKeepsEveryCompletedPageThroughKills();
    void killedRendererIsReloadedAFewTimes();
};

void TestCrashes::historyKeepsEveryCompletedPageThroughKills() {
    const quint32 seed = qEnvironmentVariableIsSet("TORVANE_KILL_SEED")
                             ? qEnvironmentVariable("TORVANE_KILL_SEED").toUInt()
                             : QRandomGenerator::system()->generate();
    qInfo("kill seed %u (set TORVANE_KILL_SEED=%u to repeat these kills)", seed, seed);
    QRandomGenerator random(seed);
    const int rounds = qEnvironmentVariableIsSet("TORVANE_KILL_ROUNDS")
                           ? qEnvironmentVariableIntValue("TORVANE_KILL_ROUNDS")
                           : 6;

    CourseServer server(testing::demoCourseRoot());
    QVERIFY2(server.start(), qPrintable(server.error()));
    QTemporaryDir home;
    qsizetype checked = 0; // bytes of the history file that earlier rounds have checked
    int recordsChecked = 0;
    // Forward moves only: next (often), previous, Contents, Section.
    const QStringList keys{"Next", "Next", "Next", "Prior", "alt+c", "alt+n"};
    for (int round = 0; round < rounds; ++round) {
        TracedViewer viewer(home, server.courseUrl());
        const QString historyPath = viewer.process.billDir() + QStringLiteral("history.trv");
        const int killAtMs = random.bounded(1500, 9000);
        QElapsedTimer clock;
        clock.start();
        bool focused = false;
        while (clock.elapsed() < killAtMs) {
            QTest::qWait(random.bounded(40, 300));
            if (!focused) {
                focused = !viewer.completed().isEmpty() && viewer.focus();
            } else {
                pressKey(keys[random.bounded(keys.size())]);
            }
        }
        viewer.kill();

        QByteArrayList expected;
        for (const QString& address : viewer.completed()) {
            if (recorded(pageName(address))) {
                expected << pageName(address).toLatin1();
            }
        }
        const QByteArray history = readAll(historyPath);
        QVERIFY(history.size() >= checked);
        const auto parsed = wholeRecords(history.mid(checked));
        if (const QString* broken = std::get_if<QString>(&parsed)) {
            QFAIL(qPrintable(QStringLiteral("round %1: %2").arg(round).arg(*broken)));
        }
        const QList<QByteArray> records = std::get<QList<QByteArray>>(parsed);
        qInfo("round %d: killed after %d ms, %lld pages recorded as completed, %lld records", round, killAtMs,
              qlonglong(expected.size()), qlonglong(records.size()));
        // Every completed page is in the file in order. One more record may follow: the page whose
        // record was written just before the kill, before it could be traced.
        QVERIFY2(records.size() == expected.size() || records.size() == expected.size() + 1,
                 qPrintable(QStringLiteral("round %1: expected %2 records, found %3:\n%4")
                                .arg(round)
                                .arg(expected.join(' '), QString::number(records.size()),
                                     QString::fromLatin1(history.mid(checked)))));
        QCOMPARE(records.mid(0, expected.size()), expected);
        checked = history.size();
        recordsChecked += expected.size();
    }
    // The tours did reach pages: the check above was not made on empty files.
    QVERIFY2(recordsChecked >= rounds, qPrintable(QString::number(recordsChecked)));
}

void TestCrashes::killedRendererIsReloadedAFewTimes() {
    CourseServer server(testing::demoCourseRoot());
    QVERIFY2(server.start(), qPrintable(server.error()));
    QTemporaryDir home;
    TracedViewer viewer(home, server.courseUrl());
    const QString contents = server.courseUrl() + QStringLiteral("trvc.trv");
    QTRY_VERIFY_WITH_TIMEOUT(viewer.completed().contains(contents), 30000);

    // Kills every renderer of the viewer; false when it has none.
    const auto killRenderers = [&viewer] {
        QList<qint64> renderers;
        QDeadlineTimer deadline(20000);
        while ((renderers = testing::rendererProcesses(viewer.process.pid())).isEmpty() &&
               !deadline.hasExpired()) {
            QTest::qWait(100);
        }
        for (const qint64 pid : renderers) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
        return !renderers.isEmpty();
    };

    for (int time = 1; time <= 3; ++time) {
        const qsizetype before = viewer.completed().count(contents);
        QVERIFY(killRenderers());
        QTRY_VERIFY2_WITH_TIMEOUT(viewer.completed().count(contents) > before,
                                  qPrintable(QStringLiteral("not reloaded after kill %1").arg(time)), 20000);
    }
    // Once more within the minute: the page stays as it is, nothing loads again and again.
    const qsizetype before = viewer.completed().count(contents);
    QVERIFY(killRenderers());
    QTest::qWait(4000);
    QCOMPARE(viewer.completed().count(contents), before);
    QVERIFY(viewer.process.isRunning());

    // The toolbar still works: Contents goes on to the second contents page in a new renderer, and
    // that page gets reloads of its own.
    QVERIFY(viewer.focus());
    const QString second = server.courseUrl() + QStringLiteral("trvcrc.trv");
    pressKey(QStringLiteral("alt+c"));
    QTRY_VERIFY_WITH_TIMEOUT(viewer.completed().contains(second), 20000);
    const qsizetype secondBefore = viewer.completed().count(second);
    QVERIFY(killRenderers());
    QTRY_VERIFY_WITH_TIMEOUT(viewer.completed().count(second) > secondBefore, 20000);
    viewer.kill();
}

QTEST_GUILESS_MAIN(TestCrashes)
#include "tst_crashes.moc"
