// The real program started a second time beside a running viewer, with the command lines that exercises
// and course pages use: bringing the viewer back, handing files to the two tools (played by faketool),
// starting a chapter test, showing a popup picture; and what the running viewer does with the shared
// blocks meanwhile (companion window, narration requests, the end flag).
#include "viewerprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <platform/runtimefolder.h>
#include <platform/sharedblock.h>
#include <signal.h>
#include <support/courseserver.h>
#include <sys/types.h>

using torvane::testing::copyFolder;
using torvane::testing::CourseServer;
using torvane::testing::ViewerProcess;

namespace {

const QString kCompanionTitle = QStringLiteral("Exercise in progress - back to the course");
const QString kPopupTitle = QStringLiteral("Torvane - picture");

// ---- waiting ---------------------------------------------------------------------------------------

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

// True when `condition` holds at every look during `ms`.
bool holdsFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        if (!condition()) {
            return false;
        }
        QTest::qWait(20);
    }
    return condition();
}

// ---- the X server, through xdotool ------------------------------------------------------------------

QStringList xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(5000)) {
        qWarning("xdotool %s did not finish", qPrintable(arguments.join(QLatin1Char(' '))));
        process.kill();
        process.waitForFinished(1000);
    }
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Ids of the visible top-level windows titled exactly `title` (no regular-expression characters in it).
QStringList windowsTitled(const QString& title) {
    return xdotool({"search", "--onlyvisible", "--name", QLatin1Char('^') + title + QLatin1Char('$')});
}

QStringList windowsOfProcess(qint64 pid) {
    return xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)});
}

QString titleOf(const QString& window) {
    return xdotool({"getwindowname", window}).value(0);
}

// The NAME=number lines that xdotool prints with "--shell".
QMap<QString, int> shellValues(const QStringList& arguments) {
    QMap<QString, int> values;
    for (const QString& line : xdotool(arguments)) {
        const auto parts = line.split(QLatin1Char('='));
        if (parts.size() == 2) {
            values[parts[0]] = parts[1].toInt();
        }
    }
    return values;
}

QRect geometryOf(const QString& window) {
    const QMap<QString, int> values = shellValues({"getwindowgeometry", "--shell", window});
    return {values.value("X", -1), values.value("Y", -1), values.value("WIDTH", -1),
            values.value("HEIGHT", -1)};
}

// The window's outer rectangle on screen, title bar and borders included (xwininfo's absolute client
// rectangle grown by the window manager's _NET_FRAME_EXTENTS; without a window manager, the window).
QRect frameOf(const QString& window) {
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    info.waitForFinished(5000);
    const QString text = QString::fromLatin1(info.readAllStandardOutput());
    const auto field = [&text](const char* name) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString::fromLatin1(name) + QStringLiteral(":\\s*(-?\\d+)")).match(text);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    QRect rect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
               field("Height"));
    QProcess prop;
    prop.start(QStringLiteral("xprop"),
               {QStringLiteral("-id"), window, QStringLiteral("_NET_FRAME_EXTENTS")});
    prop.waitForFinished(5000);
    const QRegularExpressionMatch extents =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
            .match(QString::fromLatin1(prop.readAllStandardOutput()));
    if (extents.hasMatch()) {
        rect.adjust(-extents.captured(1).toInt(), -extents.captured(3).toInt(), extents.captured(2).toInt(),
                    extents.captured(4).toInt());
    }
    return rect;
}

QSize displaySize() {
    const QStringList parts = xdotool({"getdisplaygeometry"}).value(0).split(QLatin1Char(' '));
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

QString focusedWindow() {
    return xdotool({"getwindowfocus", "-f"}).value(0);
}

// The learner makes `window` the active one: through the window manager where one runs (as a click on
// the window does), else by giving it the input focus.
void giveFocus(const QString& window) {
    if (qEnvironmentVariable("TORVANE_TEST_WM_RUNNING", QStringLiteral("none")) != QLatin1String("none")) {
        xdotool({"windowactivate", "--sync", window});
    }
    xdotool({"windowfocus", "--sync", window});
}

QPoint mousePosition() {
    const QMap<QString, int> values = shellValues({"getmouselocation", "--shell"});
    return {values.value("X", -1), values.value("Y", -1)};
}

void moveMouse(int x, int y) {
    // "--sync" waits for the pointer to move, which it never does when it is there already.
    if (mousePosition() != QPoint(x, y)) {
        xdotool({"mousemove", "--sync", QString::number(x), QString::number(y)});
    }
}

// ---- the shared blocks, read and written as another process would -----------------------------------

QByteArray readBlock(const QString& folder, const char* name, std::size_t size) {
    auto outcome = torvane::platform::SharedBlock::open(folder.toStdString(), name, size);
    const std::vector<std::uint8_t> bytes = outcome.block.read(0, size);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void writeBlock(const QString& folder, const char* name, std::size_t size, const QByteArray& bytes) {
    auto outcome = torvane::platform::SharedBlock::open(folder.toStdString(), name, size);
    outcome.block.writeAndFlush(0, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size())));
}

QByteArray zeroPadded(const QByteArray& text, qsizetype size) {
    return text + QByteArray(size - text.size(), '\0');
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The lines of a report file, first to last.
QStringList linesOf(const QString& path) {
    return readText(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString lastLineOf(const QString& path) {
    const QStringList lines = linesOf(path);
    return lines.isEmpty() ? QString() : lines.last();
}

bool writeScript(const QString& path, const QString& body) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(("#!/bin/sh\n" + body + "\n").toUtf8()) < 0) {
        return false;
    }
    file.close();
    return file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

QString quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// ---- processes -------------------------------------------------------------------------------------

// A program of the test (a second copy, a fake tool), killed when it goes out of scope.
class Program final {
public:
    explicit Program(const QProcessEnvironment& env) {
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~Program() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool start(const QString& program, const QStringList& arguments) {
        process_.start(program, arguments);
        return process_.waitForStarted(10000);
    }
    int waitForExit(int timeoutMs) {
        // One that has ended already is not waited for (waiting on it would report a failure).
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs)) {
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
};

// A program started by the viewer (detached from the test), found through the pid file it writes; killed
// when this goes out of scope.
class PidFile final {
public:
    explicit PidFile(QString path) : path_(std::move(path)) {}
    ~PidFile() {
        const qint64 pid = readText(path_).trimmed().toLongLong();
        if (pid > 1) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
    }
    PidFile(const PidFile&) = delete;
    PidFile& operator=(const PidFile&) = delete;
    const QString& path() const { return path_; }

private:
    QString path_;
};

const QString kViewerProgram = QStringLiteral(TORVANE_BIN_DIR "/torvane");
const QString kFakeTool = QStringLiteral(FAKETOOL_PATH);

// One learner's desktop: private folders, the first copy of the viewer, and the environment every further
// copy and tool of the session runs in (the tools installed under a private program-files folder).
struct Session {
    explicit Session(const QString& courseUrl) : first(home, courseUrl), url(courseUrl) {}

    QProcessEnvironment env() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("APPDATA"), first.appData());
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path() + QStringLiteral("/run"));
        e.insert(QStringLiteral("TORVANE_COURSE_URL"), url);
        e.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        e.remove(QStringLiteral("ProgramFiles(x86)"));
        e.insert(QStringLiteral("ProgramFiles"), programFiles());
        return e;
    }
    QString programFiles() const { return home.path() + QStringLiteral("/programs"); }
    QString runtime() const { return first.runtimeFolder(); }
    QString kirvoltFolder() const { return first.appData() + QStringLiteral("/Parlenta/Kirvolt/TRV_CKTS/"); }
    QString solidraFolder() const { return first.appData() + QStringLiteral("/Parlenta/Solidra/POE_CIRS/"); }
    QString file(const QString& name) const { return home.path() + QLatin1Char('/') + name; }

    // Installs a tool program that only leaves a mark that it was started.
    bool installMarkingTool(const QString& relativePath, const QString& mark) const {
        return writeScript(programFiles() + relativePath, QStringLiteral("touch ") + quoted(mark));
    }

    QString historyFile() const { return first.billDir() + QStringLiteral("history.trv"); }

    // Starts the first copy and waits until it shows its contents page and has recorded it.
    bool startFirstCopy(QString* why) {
        first.start();
        if (!waitUntil([] { return !windowsTitled(QStringLiteral("Torvane")).isEmpty(); }, 30000)) {
            *why = QStringLiteral("the viewer's window did not show: ") + first.output();
            return false;
        }
        viewerWindow = windowsTitled(QStringLiteral("Torvane")).value(0);
        if (!waitUntil([&] { return QFileInfo::exists(historyFile()); }, 10000)) {
            *why = QStringLiteral("the contents page was not recorded in the history");
            return false;
        }
        for (const char* name : {"TRVwav", "KirvoltPrev", "KirvoltEnd", "KirvoltName"}) {
            if (!QFileInfo::exists(runtime() + QLatin1Char('/') + QLatin1String(name))) {
                *why = QStringLiteral("no block ") + QLatin1String(name);
                return false;
            }
        }
        return true;
    }

    // Starts a fake tool whose window carries `title`; waits for the window.
    bool startTool(Program& tool, const QString& title, const QStringList& options, QString* window) {
        if (!tool.start(kFakeTool, QStringList{"--title", title} + options)) {
            return false;
        }
        const bool shown = waitUntil([&] { return !windowsTitled(title).isEmpty(); }, 15000);
        *window = windowsTitled(title).value(0);
        return shown;
    }

    QByteArray kirvoltName() const { return readBlock(runtime(), "KirvoltName", 255); }
    QByteArray kirvoltPrev() const { return readBlock(runtime(), "KirvoltPrev", 1); }
    QByteArray kirvoltEnd() const { return readBlock(runtime(), "KirvoltEnd", 1); }
    QByteArray trvWav() const { return readBlock(runtime(), "TRVwav", 255); }

    QTemporaryDir home;
    ViewerProcess first;
    QString url;
    QString viewerWindow;
};

} // namespace

class TestSecondCopy final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void emptyCommandLineBringsTheViewerBackAndEnds();
    void handOffToARunningTool_data();
    void handOffToARunningTool();
    void companionWindowLeftClickEndsTheHandOff();
    void toolThatNeverAppearsIsGivenUpWithAMessage();
    void toolThatIsNotRunningIsStartedAfterTheRequest();
    void jobsThatEndTheCopyAtOnce_data();
    void jobsThatEndTheCopyAtOnce();
    void popupPicture_data();
    void popupPicture();
    void narrationRequestedByATool_data();
    void narrationRequestedByATool();
    void blocksLeftFromAnEarlierSession_data();
    void blocksLeftFromAnEarlierSession();
    void companionWindowRightClickAsksToQuit_data();
    void companionWindowRightClickAsksToQuit();

private:
    // What the server has served from the course folder (the browsers' own icon requests left out).
    QStringList coursePagesServed() const {
        return server_->requests().filter(QRegularExpression(QStringLiteral("^/trv_cbt/trv2/")));
    }

    QTemporaryDir courseDir_;
    std::unique_ptr<CourseServer> server_;
};

void TestSecondCopy::initTestCase() {
    QCOMPARE(displaySize(), QSize(1280, 800));
    // The demo course and one picture of 40 x 30 pixels for the popup.
    const QString root = courseDir_.path() + QStringLiteral("/course");
    QVERIFY(copyFolder(torvane::testing::demoCourseRoot(), root));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/pics")));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(root + QStringLiteral("/pics/a.png")));
    server_ = std::make_unique<CourseServer>(root);
    QVERIFY2(server_->start(), qPrintable(server_->error()));
}

void TestSecondCopy::emptyCommandLineBringsTheViewerBackAndEnds() {
    Session session(server_->courseUrl());
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    Program tool(session.env());
    QString toolWindow;
    QVERIFY(session.startTool(tool, QStringLiteral("Kirvolt"), {}, &toolWindow));
    giveFocus(toolWindow);
    QTRY_COMPARE_WITH_TIMEOUT(focusedWindow(), toolWindow, 2000);
    const QStringList requestsBefore = coursePagesServed();
    writeBlock(session.runtime(), "KirvoltEnd", 1, QByteArray("\x01")); // as a viewer that ended leaves it

    Program second(session.env());
    QVERIFY(second.start(kViewerProgram, {}));
    QCOMPARE(second.waitForExit(10000), 0);

    QTRY_COMPARE_WITH_TIMEOUT(focusedWindow(), session.viewerWindow, 2000);
    QCOMPARE(session.kirvoltEnd(), QByteArray(1, '\0')); // every copy clears the end flag as it starts
    QVERIFY(holdsFor([&] { return session.first.isRunning(); }, 500));
    const QStringList later = coursePagesServed().mid(requestsBefore.size());
    QVERIFY2(later.isEmpty(), qPrintable(later.join(", "))); // the second copy showed no page
}

void TestSecondCopy::handOffToARunningTool_data() {
    QTest::addColumn<QStringList>("arguments"); // joined by spaces, they are the command line
    QTest::addColumn<QString>("toolTitle");
    QTest::addColumn<bool>("circuit"); // the circuit simulator's folder, else the 3-D lab's
    QTest::addColumn<QByteArray>("request");

    // KirvoltPrev is set to 7f beforehand: a hand-off that writes no code leaves it so.
    const QByteArray kirvolt("\x03");
    const QByteArray solidra("\x02");
    QTest::newRow("circuit") << QStringList{"motor.ckt"} << "Kirvolt" << true << kirvolt;
    QTest::newRow("trv0000 writes no code")
        << QStringList{"trv0000"} << "Kirvolt" << true << QByteArray("\x7f");
    QTest::newRow("3-D lab .cir") << QStringList{"bench.cir"} << "Solidra - lab" << false << solidra;
    QTest::newRow("3-D lab .prb") << QStringList{"lab.prb"} << "Solidra - lab" << false << solidra;
    QTest::newRow("name with a space, title that begins with Kirvolt")
        << QStringList{"my", "motor.ckt"} << "Kirvolt - my motor.ckt" << true << kirvolt;
    QTest::newRow("path cut after 255 characters")
        << QStringList{QString(300, QLatin1Char('m')) + ".ckt"} << "Kirvolt" << true << kirvolt;
}

void TestSecondCopy::handOffToARunningTool() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, toolTitle);
    QFETCH(bool, circuit);
    QFETCH(QByteArray, request);

    Session session(server_->courseUrl());
    const QString started = session.file(QStringLiteral("started"));
    QVERIFY(session.installMarkingTool(QStringLiteral("/Parlenta/Kirvolt/kirvolt"), started));
    QVERIFY(session.installMarkingTool(QStringLiteral("/Parlenta/Solidra/Solidra"), started));
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    writeBlock(session.runtime(), "KirvoltPrev", 1, QByteArray("\x7f"));
    Program tool(session.env());
    QString toolWindow;
    const QString seen = session.file(QStringLiteral("seen"));
    QVERIFY(session.startTool(tool, toolTitle, {"--dump", seen}, &toolWindow));
    giveFocus(session.viewerWindow);

    Program second(session.env());
    QVERIFY(second.start(kViewerProgram, arguments));
    QCOMPARE(second.waitForExit(10000), 0);

    const QString path = (circuit ? session.kirvoltFolder() : session.solidraFolder()) + arguments.join(' ');
    const QByteArray name = zeroPadded(path.toLatin1().left(255), 255);
    QCOMPARE(session.kirvoltName(), name);
    QCOMPARE(session.kirvoltPrev(), request);
    QTRY_COMPARE_WITH_TIMEOUT(focusedWindow(), toolWindow, 2000);
    QVERIFY2(!QFileInfo::exists(started), "a tool program was started although the tool runs");
    // The running tool, another process, sees the request.
    QTRY_COMPARE_WITH_TIMEOUT(lastLineOf(seen).toLatin1(), request.toHex() + ' ' + name.toHex(), 1000);
}

void TestSecondCopy::companionWindowLeftClickEndsTheHandOff() {
    Session session(server_->courseUrl());
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    Program tool(session.env());
    QString toolWindow;
    QVERIFY(session.startTool(tool, QStringLiteral("Kirvolt"), {}, &toolWindow));
    QVERIFY(windowsTitled(kCompanionTitle).isEmpty());

    Program second(session.env());
    QVERIFY(second.start(kViewerProgram, {QStringLiteral("motor.ckt")}));
    QCOMPARE(second.waitForExit(10000), 0);

    // Shown at a next look at the blocks: 178 x 65 at the top edge, 322 pixels left of the right edge.
    QTRY_COMPARE_WITH_TIMEOUT(windowsTitled(kCompanionTitle).size(), 1, 1000);
    const QString companion = windowsTitled(kCompanionTitle).value(0);
    const QRect where = geometryOf(companion);
    QCOMPARE(where, QRect(1280 - 322, 0, 178, 65));
    // It stays while the hand-off lasts, also through a second hand-off, which replaces the path.
    QVERIFY(holdsFor([&] { return windowsTitled(kCompanionTitle) == QStringList{companion}; }, 300));
    Program third(session.env());
    QVERIFY(third.start(kViewerProgram, {QStringLiteral("gear.ckt")}));
    QCOMPARE(third.waitForExit(10000), 0);
    QCOMPARE(session.kirvoltName(), zeroPadded((session.kirvoltFolder() + "gear.ckt").toLatin1(), 255));
    QVERIFY(holdsFor([&] { return windowsTitled(kCompanionTitle) == QStringList{companion}; }, 300));

    giveFocus(toolWindow);
    moveMouse(where.center().x(), where.center().y());
    xdotool({"click", "1"});

    QTRY_COMPARE_WITH_TIMEOUT(session.kirvoltName(), QByteArray(255, '\0'), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(windowsTitled(kCompanionTitle).isEmpty(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(focusedWindow(), session.viewerWindow, 2000);
    // Later looks at the blocks find the hand-off over and leave the window away.
    QVERIFY(holdsFor([&] { return windowsTitled(kCompanionTitle).isEmpty(); }, 600));
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::toolThatNeverAppearsIsGivenUpWithAMessage() {
    Session session(server_->courseUrl()); // nothing installed, nothing running
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));

    Program second(session.env());
    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY(second.start(kViewerProgram, {QStringLiteral("bench.cir")}));
    QTRY_COMPARE_WITH_TIMEOUT(session.kirvoltPrev(), QByteArray("\x02"), 10000);
    QCOMPARE(session.kirvoltName(), zeroPadded((session.solidraFolder() + "bench.cir").toLatin1(), 255));

    // 40 looks, 100 ms apart: nothing to see and no end for the first three seconds.
    QVERIFY(holdsFor([&] { return second.isRunning() && windowsOfProcess(second.pid()).isEmpty(); }, 3000));
    QVERIFY2(waitUntil([&] { return !windowsOfProcess(second.pid()).isEmpty(); }, 8000),
             "no message from the second copy after the looks");
    qInfo("message shown %lld ms after the second copy started", sinceStart.elapsed());
    const QStringList boxes = windowsOfProcess(second.pid());
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(titleOf(boxes[0]), QStringLiteral("Torvane"));
    // The copy waits for the message to be answered.
    QVERIFY(second.isRunning());

    giveFocus(boxes[0]);
    xdotool({"key", "Return"});
    QCOMPARE(second.waitForExit(3000), 0);
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::toolThatIsNotRunningIsStartedAfterTheRequest() {
    Session session(server_->courseUrl());
    const PidFile solidra(session.file(QStringLiteral("solidra.pid")));
    const QString seen = session.file(QStringLiteral("seen"));
    QVERIFY(writeScript(session.programFiles() + QStringLiteral("/Parlenta/Solidra/Solidra"),
                        QStringLiteral("echo $$ > %1\nexec %2 --title 'Solidra - lab' --dump %3")
                            .arg(quoted(solidra.path()), quoted(kFakeTool), quoted(seen))));
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));

    Program second(session.env());
    QVERIFY(second.start(kViewerProgram, {QStringLiteral("lab.prb")}));
    QVERIFY2(waitUntil([] { return !windowsTitled(QStringLiteral("Solidra - lab")).isEmpty(); }, 10000),
             "the 3-D lab was not started");
    // Found at one of the next looks, well before the copy would give up.
    QCOMPARE(second.waitForExit(3000), 0);

    const QByteArray name = zeroPadded((session.solidraFolder() + "lab.prb").toLatin1(), 255);
    QCOMPARE(session.kirvoltPrev(), QByteArray("\x02"));
    QCOMPARE(session.kirvoltName(), name);
    // What the tool found when it started: the request was complete before the tool was started.
    QCOMPARE(linesOf(seen).value(0).toLatin1(), "02 " + name.toHex());
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::jobsThatEndTheCopyAtOnce_data() {
    QTest::addColumn<QStringList>("arguments"); // joined by spaces, they are the command line
    QTest::addColumn<bool>("testRuns");         // the chapter test program "ch05test" is started

    QTest::newRow("/PRAC=05") << QStringList{"/PRAC=05"} << true;
    QTest::newRow("test name with spaces around") << QStringList{"/PRAC=", "05", ""} << true;
    QTest::newRow("no such test program") << QStringList{"/PRAC=06"} << false;
    QTest::newRow("lower-case switch is not one") << QStringList{"/prac=05"} << false;
    QTest::newRow("upper-case file type is not one") << QStringList{"motor.CKT"} << false;
    QTest::newRow("popup without a size") << QStringList{"/POPJPG=pics/a.png"} << false;
    QTest::newRow("empty line") << QStringList{} << false;
}

void TestSecondCopy::jobsThatEndTheCopyAtOnce() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, testRuns);

    Session session(server_->courseUrl());
    // Chapter tests live beside the viewer's own program: a copy of it in a folder of the test. The
    // viewer part with the browser is not copied: a copy whose job needs no page never loads it.
    const QString bin = session.file(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::copy(kViewerProgram, bin + QStringLiteral("/torvane")));
    QVERIFY(!QFileInfo::exists(bin + QStringLiteral("/torvane-viewer.so")));
    const QString ran = session.file(QStringLiteral("ran"));
    QVERIFY(
        writeScript(bin + QStringLiteral("/ch05test"), QStringLiteral("echo \"$#\" > %1").arg(quoted(ran))));
    const QString started = session.file(QStringLiteral("started"));
    QVERIFY(session.installMarkingTool(QStringLiteral("/Parlenta/Kirvolt/kirvolt"), started));
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    const QByteArray name = zeroPadded("untouched", 255);
    writeBlock(session.runtime(), "KirvoltName", 255, name);
    writeBlock(session.runtime(), "KirvoltPrev", 1, QByteArray("\x7f"));
    const QStringList requestsBefore = coursePagesServed();

    Program second(session.env());
    QVERIFY(second.start(bin + QStringLiteral("/torvane"), arguments));
    QCOMPARE(second.waitForExit(10000), 0);

    if (testRuns) {
        QTRY_COMPARE_WITH_TIMEOUT(readText(ran), QStringLiteral("0\n"), 3000); // started with no arguments
    } else {
        QVERIFY(holdsFor([&] { return !QFileInfo::exists(ran); }, 300));
    }
    QCOMPARE(session.kirvoltName(), name);
    QCOMPARE(session.kirvoltPrev(), QByteArray("\x7f"));
    QVERIFY(!QFileInfo::exists(started));
    const QStringList later = coursePagesServed().mid(requestsBefore.size());
    QVERIFY2(later.isEmpty(), qPrintable(later.join(", ")));
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::popupPicture_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("dotsPerInch"); // the screen's logical dots per inch, as the popup sees it
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<bool>("endedByKey"); // a key pressed in the popup, else the left button anywhere

    // 40 x 30 pixels: 1300 x 750 twips, 87 x 50 pixels on screen (15 twips a pixel).
    QTest::newRow("at the pointer, key")
        << "pics/a.png" << 96 << QPoint(200, 150) << QRect(200, 150, 87, 50) << true;
    // Would run off the screen (19200 x 12000 twips): pulled in to end 200 twips inside the edges,
    // left 19200 - 1300 - 200 = 17700, top 12000 - 750 - 200 = 11050 twips.
    QTest::newRow("near the bottom-right corner, left button")
        << "pics/a.png" << 96 << QPoint(1270, 790) << QRect(1180, 737, 87, 50) << false;
    // 120 dots per inch, 12 twips a pixel: 1180 x 660 twips, 98 x 55 pixels.
    QTest::newRow("a screen of 120 dots per inch")
        << "pics/a.png" << 120 << QPoint(200, 150) << QRect(200, 150, 98, 55) << true;
    // A picture that climbs with ".." and stays on the course's server is shown.
    QTest::newRow("a picture that climbs on the course's server")
        << "../trv2/pics/a.png" << 96 << QPoint(200, 150) << QRect(200, 150, 87, 50) << true;
}

void TestSecondCopy::popupPicture() {
    QFETCH(QString, picture);
    QFETCH(int, dotsPerInch);
    QFETCH(QPoint, pointer);
    QFETCH(QRect, expected);
    QFETCH(bool, endedByKey);

    Session session(server_->courseUrl());
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    moveMouse(pointer.x(), pointer.y());

    QProcessEnvironment env = session.env();
    if (dotsPerInch != 96) {
        // The desktop's font setting, without Qt scaling the window to it.
        env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
        env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dotsPerInch));
    }
    Program second(env);
    QVERIFY(second.start(kViewerProgram, {"/POPJPG=" + picture, "/W=40", "/H=30"}));
    QVERIFY2(waitUntil([] { return !windowsTitled(kPopupTitle).isEmpty(); }, 10000), "no popup");
    const QStringList popups = windowsTitled(kPopupTitle);
    QCOMPARE(popups.size(), 1);
    QCOMPARE(windowsOfProcess(second.pid()), popups);
    QCOMPARE(geometryOf(popups[0]), expected);
    QTRY_VERIFY_WITH_TIMEOUT(server_->requests().contains(QStringLiteral("/trv_cbt/trv2/pics/a.png 200")),
                             5000);

    int exitCode = -1;
    if (endedByKey) {
        // A key pressed while another window has the focus does not end it; one pressed in the popup does.
        giveFocus(session.viewerWindow);
        xdotool({"key", "x"});
        QVERIFY(holdsFor([&] { return second.isRunning(); }, 300));
        giveFocus(popups[0]);
        xdotool({"key", "x"});
        exitCode = second.waitForExit(3000);
    } else {
        // A right click does not end it; the left button, pressed anywhere, does.
        moveMouse(20, 400);
        xdotool({"click", "3"});
        QVERIFY(holdsFor([&] { return second.isRunning(); }, 300));
        xdotool({"mousedown", "1"});
        exitCode = second.waitForExit(3000);
        xdotool({"mouseup", "1"});
    }
    QCOMPARE(exitCode, 0);
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::narrationRequestedByATool_data() {
    QTest::addColumn<QStringList>("request"); // how the tool asks
    QTest::addColumn<QString>("clip");        // what the player fetches

    QTest::newRow("zero-padded") << QStringList{"--narrate", "v0101"} << "/trv_cbt/trv2/d01/v0101.wav";
    QTest::newRow("space-padded, leading spaces")
        << QStringList{"--narrate", "  v0108", "--pad-spaces"} << "/trv_cbt/trv2/d01/v0108.wav";
}

void TestSecondCopy::narrationRequestedByATool() {
    QFETCH(QStringList, request);
    QFETCH(QString, clip);

    Session session(server_->courseUrl());
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    const auto clipRequests = [&] {
        const QStringList requests = server_->requests();
        return std::count_if(requests.begin(), requests.end(),
                             [&](const QString& r) { return r.startsWith(clip + QLatin1Char(' ')); });
    };
    const auto before = clipRequests();

    Program tool(session.env());
    QString toolWindow;
    QVERIFY(session.startTool(tool, QStringLiteral("Kirvolt"), request, &toolWindow));

    // Taken at the next look at the blocks, and played.
    QTRY_COMPARE_WITH_TIMEOUT(session.trvWav().left(1), QByteArray(1, '\0'), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(clipRequests() > before, 3000);
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::blocksLeftFromAnEarlierSession_data() {
    // The window of a tool that runs when the viewer starts (empty: none), and whether the blocks stay.
    QTest::addColumn<QString>("toolTitle");
    QTest::addColumn<bool>("kept");

    QTest::newRow("no tool runs: cleared") << QString() << false;
    QTest::newRow("Kirvolt runs: kept for it") << "Kirvolt" << true;
    QTest::newRow("Solidra runs: kept for it") << "Solidra - lab" << true;
}

void TestSecondCopy::blocksLeftFromAnEarlierSession() {
    QFETCH(QString, toolTitle);
    QFETCH(bool, kept);

    Session session(server_->courseUrl());
    // The block files outlive the programs: an earlier session left a hand-off that was never ended and a
    // narration request that was never taken.
    QVERIFY(torvane::platform::prepareRuntimeFolder(session.runtime()).ok());
    const QByteArray name = zeroPadded((session.kirvoltFolder() + "old.ckt").toLatin1(), 255);
    writeBlock(session.runtime(), "KirvoltName", 255, name);
    const QByteArray narration =
        zeroPadded(QByteArray::fromHex("76003000310030003100"), 255); // v0101, UTF-16LE
    writeBlock(session.runtime(), "TRVwav", 255, narration);
    const QString clip = QStringLiteral("/trv_cbt/trv2/d01/v0101.wav ");
    const auto clipRequests = [&] { return server_->requests().filter(clip).size(); };
    const auto before = clipRequests();
    Program tool(session.env());
    QString toolWindow;
    if (!toolTitle.isEmpty()) {
        QVERIFY(session.startTool(tool, toolTitle, {}, &toolWindow));
    }

    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    if (kept) {
        // They may be the running tool's: the viewer takes them up as usual.
        QCOMPARE(session.kirvoltName(), name);
        QTRY_COMPARE_WITH_TIMEOUT(windowsTitled(kCompanionTitle).size(), 1, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(clipRequests() > before, 3000);
    } else {
        QCOMPARE(session.kirvoltName(), QByteArray(255, '\0'));
        QCOMPARE(session.trvWav(), QByteArray(1, '\0') + narration.mid(1)); // the request marked as taken
        // Many looks at the blocks later: no companion window, no clip.
        QVERIFY(holdsFor([] { return windowsTitled(kCompanionTitle).isEmpty(); }, 1000));
        QCOMPARE(clipRequests(), before);
    }
    QVERIFY(session.first.isRunning());
}

void TestSecondCopy::companionWindowRightClickAsksToQuit_data() {
    QTest::addColumn<QString>("answer"); // the key pressed in the question
    QTest::addColumn<bool>("quits");

    QTest::newRow("Yes") << "y" << true;
    QTest::newRow("No") << "n" << false;
}

void TestSecondCopy::companionWindowRightClickAsksToQuit() {
    QFETCH(QString, answer);
    QFETCH(bool, quits);

    Session session(server_->courseUrl());
    QString why;
    QVERIFY2(session.startFirstCopy(&why), qPrintable(why));
    Program tool(session.env());
    QString toolWindow;
    const QString ends = session.file(QStringLiteral("ends"));
    QVERIFY(session.startTool(tool, QStringLiteral("Kirvolt"), {"--end", ends}, &toolWindow));
    const QByteArray name = zeroPadded((session.kirvoltFolder() + "motor.ckt").toLatin1(), 255);
    writeBlock(session.runtime(), "KirvoltName", 255, name);
    QTRY_COMPARE_WITH_TIMEOUT(windowsTitled(kCompanionTitle).size(), 1, 1000);
    const QString companion = windowsTitled(kCompanionTitle).value(0);
    QCOMPARE(windowsTitled(QStringLiteral("Torvane")), QStringList{session.viewerWindow});

    const QRect where = geometryOf(companion);
    moveMouse(where.center().x(), where.center().y());
    xdotool({"click", "3"});
    QString box;
    QVERIFY2(waitUntil(
                 [&] {
                     for (const QString& window : windowsTitled(QStringLiteral("Torvane"))) {
                         if (window != session.viewerWindow) {
                             box = window;
                         }
                     }
                     return !box.isEmpty();
                 },
                 3000),
             "no quit question");
    // Placed 150 pixels left of the companion window's left edge and 80 below its top: the box's frame,
    // as the window manager draws it, against the companion window's (which has none).
    QTRY_COMPARE(frameOf(box).topLeft(), frameOf(companion).topLeft() + QPoint(-150, 80));
    giveFocus(box);
    xdotool({"key", answer});

    if (quits) {
        QCOMPARE(session.first.waitForExit(3000), 0);
        QCOMPARE(session.kirvoltEnd(), QByteArray("\x01"));
        QTRY_COMPARE_WITH_TIMEOUT(linesOf(ends), (QStringList{"0", "1"}), 1000); // as the tool sees it
        QVERIFY2(QFileInfo::exists(session.historyFile()),
                 "quitting from the companion window keeps the history");
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(windowsTitled(QStringLiteral("Torvane")), QStringList{session.viewerWindow},
                                  2000);
        QVERIFY(holdsFor([&] { return session.first.isRunning(); }, 500));
        QCOMPARE(session.kirvoltEnd(), QByteArray(1, '\0'));
        QCOMPARE(session.kirvoltName(), name);
        QCOMPARE(windowsTitled(kCompanionTitle), QStringList{companion});
        QVERIFY(QFileInfo::exists(session.historyFile()));
    }
}

QTEST_GUILESS_MAIN(TestSecondCopy)
#include "tst_secondcopy.moc"
