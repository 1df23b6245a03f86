// The real program in a Wayland session (tests/e2e/under-weston.sh: weston with XWayland, no
// QT_QPA_PLATFORM): the viewer goes onto XWayland by itself, where the desktop's windows can be found by
// title, shows its contents page and a page, a second copy finds it and asks for it to be brought to the
// front, and Search opens from the keyboard.
#include "viewerprocess.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <platform/desktopwindows.h>
#include <support/courseserver.h>
#include <xcb/xcb.h>

using torvane::testing::CourseServer;
using torvane::testing::ViewerProcess;

namespace {

QString xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(5000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// The _NET_ACTIVE_WINDOW requests sent to the window manager, as another X client sees them go by.
class ActivationRequests final {
public:
    ActivationRequests() : c_(xcb_connect(nullptr, nullptr), &xcb_disconnect) {
        if (xcb_connection_has_error(c_.get()) != 0) {
            return;
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_.get())).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_.get(), root_, XCB_CW_EVENT_MASK, &mask);
        auto* atom =
            xcb_intern_atom_reply(c_.get(), xcb_intern_atom(c_.get(), 0, 18, "_NET_ACTIVE_WINDOW"), nullptr);
        if (atom != nullptr) {
            activeWindow_ = atom->atom;
            std::free(atom);
        }
    }
    bool ok() const { return activeWindow_ != XCB_ATOM_NONE; }

    // True once a request to activate `window` went by, sent as a pager or another tool sends it (source
    // indication 2) and with a real time.
    bool seen(const QString& window) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c_.get())) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (message->type == activeWindow_ && message->data.data32[0] == 2 &&
                    message->data.data32[1] != XCB_CURRENT_TIME) {
                    seen_ << QString::number(message->window);
                }
            }
            std::free(event);
        }
        return seen_.contains(window);
    }

private:
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t activeWindow_ = XCB_ATOM_NONE;
    QStringList seen_;
};

} // namespace

class TestWayland final : public QObject {
    Q_OBJECT
private slots:
    void viewerRunsOnXWayland();

private:
    QStringList completed(ViewerProcess& viewer) {
        output_ += viewer.output();
        static const QRegularExpression line(
            QStringLiteral("torvane-trace \\d+ document-complete (\\S*)\\n"));
        QStringList addresses;
        for (auto it = line.globalMatch(output_); it.hasNext();) {
            addresses << it.next().captured(1);
        }
        return addresses;
    }

    QString output_;
};

void TestWayland::viewerRunsOnXWayland() {
    QVERIFY2(qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY"),
             "run under tests/e2e/under-weston.sh");
    QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));

    CourseServer server(torvane::testing::demoCourseRoot());
    QVERIFY2(server.start(), qPrintable(server.error()));
    QTemporaryDir home;
    ViewerProcess viewer(home, server.courseUrl());
    viewer.setEnvironment(QStringLiteral("TORVANE_TRACE"), QStringLiteral("1"));
    viewer.start();

    // The contents page of the 1280 x 800 screen, in a window of the X display.
    QTRY_VERIFY2_WITH_TIMEOUT(completed(viewer).value(0).endsWith(QStringLiteral("/trv_cbt/trv2/trvc.trv")),
                              qPrintable(output_), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(torvane::platform::topLevelWindowTitles().contains(QStringLiteral("Torvane")),
                             10000);
    const QString window = xdotool({"search", "--onlyvisible", "--name", "^Torvane$"});
    QVERIFY2(!window.isEmpty() && !window.contains('\n'), qPrintable(window));

    // There is no seat in the headless compositor: keys go to the window as events sent to it.
    xdotool({"key", "--window", window, "Next"});
    QTRY_VERIFY2_WITH_TIMEOUT(completed(viewer).size() >= 2, qPrintable(output_), 30000);
    QVERIFY2(completed(viewer).value(1).contains(QStringLiteral("/trv_cbt/trv2/")), qPrintable(output_));

    // A second copy with an empty command line finds the viewer and asks the compositor's window
    // manager to activate it, as a pager would and with the server's time. (Weston's window manager
    // leaves activation to its seats, of which the headless compositor has none, so the window does not
    // become active here.)
    ActivationRequests requests;
    QVERIFY(requests.ok());
    ViewerProcess second(home, server.courseUrl());
    second.start();
    QCOMPARE(second.waitForExit(30000), 0);
    QTRY_VERIFY_WITH_TIMEOUT(requests.seen(window), 5000);
    QVERIFY(viewer.isRunning());

    xdotool({"key", "--window", window, "alt+s"});
    QTRY_VERIFY_WITH_TIMEOUT(
        torvane::platform::topLevelWindowTitles().contains(QStringLiteral("Torvane - Search")), 30000);
    QVERIFY(!xdotool({"search", "--onlyvisible", "--name", "^Torvane - Search$"}).isEmpty());
}

QTEST_GUILESS_MAIN(TestWayland)
#include "tst_wayland.moc"
