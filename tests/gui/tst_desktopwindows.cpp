// Finding and raising windows of other processes by title, the global left button, and starting
// programs, on a real X server. tests/with-display.sh runs it under a window manager (openbox, xfwm4)
// and on a bare X server; the cases that only make sense in one of the two skip themselves in the other.
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>
#include <platform/desktopwindows.h>
#include <xcb/xcb.h>

using namespace torvane::platform;

namespace {

QString xdotool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(5000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

QString xprop(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xprop"), arguments);
    p.waitForFinished(5000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

// The window manager tests/with-display.sh started: "openbox", "xfwm4", or none.
QString windowManager() {
    const QString wm = qEnvironmentVariable("TORVANE_TEST_WM_RUNNING");
    return wm == QLatin1String("none") ? QString() : wm;
}

// The window that has the keyboard: the window manager's active window, else the X input focus.
QString activeWindow() {
    return xdotool(
        {windowManager().isEmpty() ? QStringLiteral("getwindowfocus") : QStringLiteral("getactivewindow")});
}

bool viewable(const QString& window) {
    QProcess p;
    p.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    p.waitForFinished(5000);
    return p.readAllStandardOutput().contains("IsViewable");
}

// A window of another process, as a tool would show it.
class OtherProcessWindow final {
public:
    explicit OtherProcessWindow(const QString& title) : title_(title) {
        process_.start(QStringLiteral("xmessage"), {QStringLiteral("-title"), title, QStringLiteral("tool")});
    }
    ~OtherProcessWindow() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    // Waits until the window is there; its id (decimal, as xdotool prints it), empty when it never came.
    QString window() {
        if (id_.isEmpty() && process_.waitForStarted(5000)) {
            const QStringList search{QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--name"), '^' + title_ + '$'};
            for (int i = 0; i < 200 && (id_ = xdotool(search)).isEmpty(); ++i) {
                QTest::qWait(50);
            }
        }
        return id_;
    }

private:
    QProcess process_;
    QString title_;
    QString id_;
};

// Windows that share the title of an application window but must never be taken for it.
enum class Intruder { Dialog, MessageBox, Splash, Tool, Tooltip };

QWidget* makeIntruder(Intruder kind, QWidget* owner) {
    constexpr auto onTop = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    switch (kind) {
    case Intruder::Dialog:
        return new QDialog(owner);
    case Intruder::MessageBox: {
        auto* box = new QMessageBox(QMessageBox::Question, QString(), QStringLiteral("Quit?"));
        box->setModal(false);
        return box;
    }
    case Intruder::Splash:
        return new QWidget(nullptr, Qt::SplashScreen | onTop);
    case Intruder::Tool:
        return new QWidget(nullptr, Qt::Tool | onTop);
    case Intruder::Tooltip:
        return new QWidget(nullptr, Qt::ToolTip);
    }
    return nullptr;
}

} // namespace

class TestDesktopWindows final : public QObject {
    Q_OBJECT
private slots:
    void windowsOfThisProcessWithoutAWindowManager();
    void minimisedWindowLeftBehindWithoutAWindowManager();
    void leftButtonState();
    void startsPrograms_data();
    void startsPrograms();
    void windowsOfOtherProcesses();
    void minimisedWindowIsRestored();
    void windowOnAnotherWorkspaceIsBroughtBack();
    void boxesSplashesAndPalettesNeverWin_data();
    void boxesSplashesAndPalettesNeverWin();
    void hiddenWindowsAreNotFound();
};

void TestDesktopWindows::windowsOfThisProcessWithoutAWindowManager() {
    if (!windowManager().isEmpty()) {
        QSKIP("for a bare X server");
    }
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
}

void TestDesktopWindows::minimisedWindowLeftBehindWithoutAWindowManager() {
    if (!windowManager().isEmpty()) {
        QSKIP("for a bare X server");
    }
    // A window a window manager that has gone left minimised: unmapped, WM_STATE IconicState.
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c(xcb_connect(nullptr, nullptr),
                                                                   &xcb_disconnect);
    QVERIFY(xcb_connection_has_error(c.get()) == 0);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data;
    const xcb_window_t window = xcb_generate_id(c.get());
    xcb_create_window(c.get(), XCB_COPY_FROM_PARENT, window, screen->root, 10, 10, 120, 80, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const QByteArray title("Solidra - lab 3");
    xcb_change_property(c.get(), XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(title.size()), title.constData());
    xcb_intern_atom_reply_t* wmState =
        xcb_intern_atom_reply(c.get(), xcb_intern_atom(c.get(), 0, 8, "WM_STATE"), nullptr);
    QVERIFY(wmState != nullptr);
    const uint32_t iconic[] = {3, XCB_WINDOW_NONE};
    xcb_change_property(c.get(), XCB_PROP_MODE_REPLACE, window, wmState->atom, wmState->atom, 32, 2, iconic);
    std::free(wmState);
    // A window that was only withdrawn (hidden) beside it is not found.
    const xcb_window_t withdrawn = xcb_generate_id(c.get());
    xcb_create_window(c.get(), XCB_COPY_FROM_PARENT, withdrawn, screen->root, 10, 10, 120, 80, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_change_property(c.get(), XCB_PROP_MODE_REPLACE, withdrawn, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 7,
                        "Kirvolt");
    xcb_flush(c.get());
    const QString id = QString::number(window);

    QTRY_VERIFY(topLevelWindowTitles().contains(QString::fromLatin1(title)));
    QVERIFY(!topLevelWindowTitles().contains(QStringLiteral("Kirvolt")));
    QVERIFY(!bringWindowToFront(QStringLiteral("Kirvolt")));
    QVERIFY(!viewable(id));

    QVERIFY(bringWindowToFront(QStringLiteral("Solidra -")));
    QVERIFY(viewable(id)); // done by the time the call returns
    QCOMPARE(xdotool({QStringLiteral("getwindowfocus")}), id);
    QVERIFY(xprop({QStringLiteral("-id"), id, QStringLiteral("WM_STATE")}).contains(QLatin1String("Normal")));
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

void TestDesktopWindows::startsPrograms_data() {
    QTest::addColumn<bool>("maximised");
    QTest::newRow("normal") << false;
    QTest::newRow("maximised") << true;
}

void TestDesktopWindows::startsPrograms() {
    QFETCH(bool, maximised);
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    QVERIFY(startProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("touch ") + marker},
                         maximised ? WindowStyle::Maximized : WindowStyle::Normal));
    QTRY_VERIFY(QFileInfo::exists(marker));
    QVERIFY(!startProgram(dir.filePath(QStringLiteral("missing")), {}, WindowStyle::Normal));

    // A program with a window of its own (this test program, started with --window): maximised when
    // asked for, whatever size it chose itself.
    const QString title = QStringLiteral("Started %1").arg(maximised);
    QVERIFY(startProgram(QCoreApplication::applicationFilePath(), {QStringLiteral("--window"), title},
                         maximised ? WindowStyle::Maximized : WindowStyle::Normal));
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = xdotool({QStringLiteral("search"), QStringLiteral("--name"),
                                                 QLatin1Char('^') + title + QLatin1Char('$')}))
                                  .isEmpty(),
                             10000);
    const auto fillsTheScreen = [&] {
        if (!windowManager().isEmpty()) {
            QProcess xprop;
            xprop.start(QStringLiteral("xprop"),
                        {QStringLiteral("-id"), window, QStringLiteral("_NET_WM_STATE")});
            xprop.waitForFinished(5000);
            const QString states = QString::fromLatin1(xprop.readAllStandardOutput());
            return states.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT")) &&
                   states.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ"));
        }
        return xdotool({QStringLiteral("getwindowgeometry"), window}).contains(QStringLiteral("1280x800"));
    };
    if (maximised) {
        QTRY_VERIFY_WITH_TIMEOUT(fillsTheScreen(), 10000);
    } else {
        QTest::qWait(500);
        QVERIFY(!fillsTheScreen());
    }
    xdotool({QStringLiteral("windowkill"), window});
}

void TestDesktopWindows::windowsOfOtherProcesses() {
    OtherProcessWindow kirvolt(QStringLiteral("Kirvolt"));
    OtherProcessWindow solidra(QStringLiteral("Solidra - lab 3"));
    const QString kirvoltWindow = kirvolt.window();
    const QString solidraWindow = solidra.window();
    QVERIFY(!kirvoltWindow.isEmpty() && !solidraWindow.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(topLevelWindowTitles().contains(QStringLiteral("Kirvolt")) &&
                                 topLevelWindowTitles().contains(QStringLiteral("Solidra - lab 3")),
                             10000);

    QVERIFY(bringWindowToFront(QStringLiteral("Kirvolt")));
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), kirvoltWindow, 5000);
    QVERIFY(bringWindowToFront(QStringLiteral("Solidra -")));
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), solidraWindow, 5000);
    QVERIFY(!bringWindowToFront(QStringLiteral("Torvane")));

    // A program moves the keyboard focus behind the window manager's back; the window the window
    // manager still has as active gets it back.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), kirvoltWindow});
    QCOMPARE(xdotool({QStringLiteral("getwindowfocus")}), kirvoltWindow);
    QVERIFY(bringWindowToFront(QStringLiteral("Solidra -")));
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({QStringLiteral("getwindowfocus")}), solidraWindow, 5000);
}

void TestDesktopWindows::minimisedWindowIsRestored() {
    if (windowManager().isEmpty()) {
        QSKIP("needs a window manager");
    }
    OtherProcessWindow kirvolt(QStringLiteral("Kirvolt"));
    OtherProcessWindow notes(QStringLiteral("Notes"));
    const QString window = kirvolt.window();
    QVERIFY(!window.isEmpty() && !notes.window().isEmpty());
    xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), window});
    QTRY_VERIFY_WITH_TIMEOUT(!viewable(window), 5000);
    QTRY_VERIFY(
        xprop({QStringLiteral("-id"), window, QStringLiteral("WM_STATE")}).contains(QLatin1String("Iconic")));

    QVERIFY(topLevelWindowTitles().contains(QStringLiteral("Kirvolt")));
    QVERIFY(bringWindowToFront(QStringLiteral("Kirvolt")));
    QTRY_VERIFY_WITH_TIMEOUT(viewable(window), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), window, 5000);
    QTRY_VERIFY(!xprop({QStringLiteral("-id"), window, QStringLiteral("_NET_WM_STATE")})
                     .contains(QLatin1String("_NET_WM_STATE_HIDDEN")));
    QVERIFY(
        xprop({QStringLiteral("-id"), window, QStringLiteral("WM_STATE")}).contains(QLatin1String("Normal")));
}

void TestDesktopWindows::windowOnAnotherWorkspaceIsBroughtBack() {
    if (windowManager().isEmpty()) {
        QSKIP("needs a window manager");
    }
    if (xdotool({QStringLiteral("get_num_desktops")}).toInt() < 2) {
        xdotool({QStringLiteral("set_num_desktops"), QStringLiteral("2")});
        QTRY_COMPARE(xdotool({QStringLiteral("get_num_desktops")}).toInt(), 2);
    }
    OtherProcessWindow solidra(QStringLiteral("Solidra - lab 3"));
    OtherProcessWindow notes(QStringLiteral("Notes"));
    const QString window = solidra.window();
    QVERIFY(!window.isEmpty() && !notes.window().isEmpty());
    const QString here = xdotool({QStringLiteral("get_desktop")});
    const QString elsewhere = here == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1");
    xdotool({QStringLiteral("set_desktop_for_window"), window, elsewhere});
    QTRY_VERIFY_WITH_TIMEOUT(!viewable(window), 5000);
    QVERIFY(activeWindow() != window);

    QVERIFY(topLevelWindowTitles().contains(QStringLiteral("Solidra - lab 3")));
    QVERIFY(bringWindowToFront(QStringLiteral("Solidra -")));
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), window, 5000);
    QVERIFY(viewable(window));
    // Either the window came to this workspace or the desktop went over to its workspace.
    QCOMPARE(xdotool({QStringLiteral("get_desktop_for_window"), window}),
             xdotool({QStringLiteral("get_desktop")}));
}

void TestDesktopWindows::boxesSplashesAndPalettesNeverWin_data() {
    QTest::addColumn<int>("kind");      // Intruder
    QTest::addColumn<bool>("typeOnly"); // WM_TRANSIENT_FOR is taken off: the window's type alone counts

    QTest::newRow("dialog of one of our windows") << int(Intruder::Dialog) << false;
    QTest::newRow("message box") << int(Intruder::MessageBox) << false;
    // As the viewer's own "One moment please..." splash and its popup picture are made.
    QTest::newRow("splash screen") << int(Intruder::Splash) << true;
    QTest::newRow("tool window") << int(Intruder::Tool) << true;
    QTest::newRow("tooltip") << int(Intruder::Tooltip) << false;
}

void TestDesktopWindows::boxesSplashesAndPalettesNeverWin() {
    QFETCH(int, kind);
    QFETCH(bool, typeOnly);

    // The tool's window only begins with the title looked for; the intruder has that title exactly, so
    // it would win if it counted.
    OtherProcessWindow tool(QStringLiteral("Kirvolt - motor.ckt"));
    const QString toolWindow = tool.window();
    QVERIFY(!toolWindow.isEmpty());
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Notes"));
    owner.setGeometry(300, 300, 200, 100);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    std::unique_ptr<QWidget> intruder(makeIntruder(static_cast<Intruder>(kind), &owner));
    intruder->setWindowTitle(QStringLiteral("Kirvolt"));
    intruder->setGeometry(350, 350, 150, 80);
    intruder->show();
    QVERIFY(QTest::qWaitForWindowExposed(intruder.get()));
    const QString intruderWindow = QString::number(intruder->winId());
    if (typeOnly) {
        xprop({QStringLiteral("-id"), intruderWindow, QStringLiteral("-remove"),
               QStringLiteral("WM_TRANSIENT_FOR")});
        QTRY_VERIFY(!xprop({QStringLiteral("-id"), intruderWindow, QStringLiteral("WM_TRANSIENT_FOR")})
                         .contains(QLatin1String("window id")));
    }
    // Our window has the keyboard first (through the window manager, which tracks who has it), so the
    // look must move it.
    const QString ownerWindow = QString::number(owner.winId());
    if (windowManager().isEmpty()) {
        xdotool({QStringLiteral("windowfocus"), ownerWindow});
    } else {
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), ownerWindow});
    }
    QTRY_COMPARE(activeWindow(), ownerWindow);

    QTRY_VERIFY(topLevelWindowTitles().contains(QStringLiteral("Kirvolt - motor.ckt")));
    QVERIFY(!topLevelWindowTitles().contains(QStringLiteral("Kirvolt")));
    QVERIFY(bringWindowToFront(QStringLiteral("Kirvolt")));
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), toolWindow, 5000);
}

void TestDesktopWindows::hiddenWindowsAreNotFound() {
    QWidget tool;
    tool.setWindowTitle(QStringLiteral("Kirvolt - motor.ckt"));
    tool.setGeometry(50, 50, 200, 100);
    tool.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tool));
    QTRY_VERIFY(topLevelWindowTitles().contains(QStringLiteral("Kirvolt - motor.ckt")));

    tool.hide();
    QTRY_VERIFY(!topLevelWindowTitles().contains(QStringLiteral("Kirvolt - motor.ckt")));
    QVERIFY(!bringWindowToFront(QStringLiteral("Kirvolt")));
    QVERIFY(!tool.isVisible());
}

// With "--window <title>" the program only shows a window of that title, as a started program would.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--window") {
        QWidget window;
        window.setWindowTitle(QString::fromLocal8Bit(argv[2]));
        window.resize(300, 200);
        window.show();
        return QApplication::exec();
    }
    TestDesktopWindows test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_desktopwindows.moc"
