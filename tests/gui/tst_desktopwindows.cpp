// Finding and raising windows of other processes by title, the global left button, and starting
// programs, on a real X server: first without a window manager, then under openbox.
#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>
#include <platform/desktopwindows.h>

using namespace torvane::platform;

namespace {

QString xdotool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(5000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

// A window of another process, as a tool would show it.
class OtherProcessWindow final {
public:
    explicit OtherProcessWindow(const QString& title) {
        process_.start(QStringLiteral("xmessage"), {QStringLiteral("-title"), title, QStringLiteral("tool")});
    }
    ~OtherProcessWindow() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    bool started() { return process_.waitForStarted(5000); }

private:
    QProcess process_;
};

} // namespace

class TestDesktopWindows final : public QObject {
    Q_OBJECT
private slots:
    void windowsOfThisProcessWithoutAWindowManager();
    void leftButtonState();
    void startsPrograms();
    void underAWindowManager();
};

void TestDesktopWindows::windowsOfThisProcessWithoutAWindowManager() {
    QWidget tool;
    tool.setWindowTitle(QStringLiteral("Kirvolt - motor.ckt"));
    tool.setGeometry(50, 50, 200, 100);
    tool.show();
    QWidget other;
    other.setWindowTitle(QStringLiteral("Notes"));
    other.setGeometry(100, 100, 200, 100);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tool));
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTRY_VERIFY(topLevelWindowTitles().contains(QStringLiteral("Kirvolt - motor.ckt")));

    QVERIFY(bringWindowToFront(QStringLiteral("Kirvolt")));
    QTRY_COMPARE(xdotool({QStringLiteral("getwindowfocus")}).toULongLong(), tool.winId());
    QVERIFY(!bringWindowToFront(QStringLiteral("Solidra -")));
    QVERIFY(!bringWindowToFront(QStringLiteral("kirvolt")));

    // A hidden window is not found.
    tool.hide();
    QTRY_VERIFY(!topLevelWindowTitles().contains(QStringLiteral("Kirvolt - motor.ckt")));
    QVERIFY(!bringWindowToFront(QStringLiteral("Kirvolt")));
}

void TestDesktopWindows::leftButtonState() {
    QVERIFY(!leftButtonDown());
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    QTRY_VERIFY(leftButtonDown());
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QTRY_VERIFY(!leftButtonDown());
    xdotool({QStringLiteral("mousedown"), QStringLiteral("3")});
    QVERIFY(!leftButtonDown()); // only the left button counts
    xdotool({QStringLiteral("mouseup"), QStringLiteral("3")});
}

void TestDesktopWindows::startsPrograms() {
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    QVERIFY(startProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("touch ") + marker},
                         WindowStyle::Maximized));
    QTRY_VERIFY(QFileInfo::exists(marker));
    QVERIFY(!startProgram(dir.filePath(QStringLiteral("missing")), {}, WindowStyle::Normal));
}

void TestDesktopWindows::underAWindowManager() {
    QProcess wm;
    wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!wm.waitForStarted(5000)) {
        QSKIP("openbox is not installed");
    }
    // The window manager announces itself on the root window.
    QTRY_VERIFY_WITH_TIMEOUT(
        !xdotool({QStringLiteral("getactivewindow")}).isEmpty() ||
            QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"),
                               QStringLiteral("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window")}) == 0,
        10000);

    OtherProcessWindow kirvolt(QStringLiteral("Kirvolt"));
    OtherProcessWindow solidra(QStringLiteral("Solidra - lab 3"));
    QVERIFY(kirvolt.started() && solidra.started());
    QTRY_VERIFY_WITH_TIMEOUT(topLevelWindowTitles().contains(QStringLiteral("Kirvolt")) &&
                                 topLevelWindowTitles().contains(QStringLiteral("Solidra - lab 3")),
                             10000);

    QVERIFY(bringWindowToFront(QStringLiteral("Kirvolt")));
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")}),
                              QStringLiteral("Kirvolt"), 5000);
    QVERIFY(bringWindowToFront(QStringLiteral("Solidra -")));
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")}),
                              QStringLiteral("Solidra - lab 3"), 5000);
    QVERIFY(!bringWindowToFront(QStringLiteral("Torvane")));

    wm.terminate();
    wm.waitForFinished(5000);
}

QTEST_MAIN(TestDesktopWindows)
#include "tst_desktopwindows.moc"
