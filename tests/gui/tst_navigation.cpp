// Following the demo course in the real browser: every completed document handled, through the
// viewer's own scheme and through an nginx course server on loopback.
#include "viewerharness.h"

#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <media/wmp1.h>
#include <memory>

using torvane::shell::frmTRV;
using torvane::testing::completedPages;
using torvane::testing::CourseServer;
using torvane::testing::part;
using torvane::testing::ViewerHarness;

namespace {

// Runs a desktop command (wmctrl, xdotool) on the window `id`; true when it ran.
bool desktop(const QString& program, QStringList arguments, WId id) {
    arguments.replaceInStrings(QStringLiteral("%id"), QStringLiteral("0x") + QString::number(id, 16));
    return QProcess::execute(program, arguments) == 0;
}

} // namespace

class TestNavigation final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pagesKeepTheirLinksAndAreRecorded_data() { servers(); }
    void pagesKeepTheirLinksAndAreRecorded();
    void placeholderBecomesTheModulePageOfTheScreen_data() { servers(); }
    void placeholderBecomesTheModulePageOfTheScreen();
    void backPassesOverThePlaceholder_data() { servers(); }
    void backPassesOverThePlaceholder();
    void secondContentsPageLeadsToTheContentsOfTheScreen_data() { servers(); }
    void secondContentsPageLeadsToTheContentsOfTheScreen();
    void videoPlaysOverTheBackdropAndClosesAfterItsEnd_data() { servers(); }
    void videoPlaysOverTheBackdropAndClosesAfterItsEnd();
    void clickOnTheBackdropStopsTheVideo();
    void narrationPlaysInvisibly();
    void narrationRequestFromAnotherProcess();
    void resizeReloadsTheVariantOfTheNewClass();
    void restoreDragAndMaximiseThroughTheWindowManager();
    void maximisedWindowFollowsTheScreen();
    void pageOutsideTheCourseChangesNothing();

private:
    void servers() {
        QTest::addColumn<bool>("http");
        QTest::newRow("scheme") << false;
        QTest::newRow("nginx") << true;
    }
    frmTRV& start(bool http = false);
    void go(const QString& page, const QString& completes);
    QByteArray history() const { return h->history(); }

    std::unique_ptr<ViewerHarness> h;
    std::unique_ptr<CourseServer> server;
};

void TestNavigation::init() {
    h = std::make_unique<ViewerHarness>();
}

void TestNavigation::cleanup() {
    h.reset();
    server.reset();
}

frmTRV& TestNavigation::start(bool http) {
    if (http) {
        server = h->serveCourse(torvane::testing::demoCourseRoot());
    }
    h->make();
    return h->showFirstCopy();
}

// Navigates to `page` and waits until the document `completes` has completed.
void TestNavigation::go(const QString& page, const QString& completes) {
    QVERIFY(h->go(page, completes));
}

void TestNavigation::pagesKeepTheirLinksAndAreRecorded() {
    QFETCH(bool, http);
    frmTRV& w = start(http);
    QCOMPARE(w.state().CurPage, QStringLiteral("trvc.trv"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane"));

    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    QCOMPARE(w.state().CurPage, QStringLiteral("tr010003.trv"));
    QCOMPARE(w.state().CurModule, 1);
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane - Module 1"));
    QCOMPARE(w.state().SecnLink, w.state().FileLocn + QStringLiteral("tr010001.trv"));
    QCOMPARE(w.state().PrevLink, w.state().FileLocn + QStringLiteral("tr010002.trv"));
    QCOMPARE(w.state().NextLink, w.state().FileLocn + QStringLiteral("tr010004.trv"));

    // Following the kept next and previous targets, as the toolbar does.
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.navigateTo(w.state().NextLink);
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("tr010004.trv")), 20000);
    QCOMPARE(w.state().PrevLink, w.state().FileLocn + QStringLiteral("tr010003.trv"));
    w.navigateTo(w.state().PrevLink);
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).count(QStringLiteral("tr010003.trv")) == 1, 20000);

    QCOMPARE(history(),
             QByteArray("\"trvc.trv\"\r\n\"tr010003.trv\"\r\n\"tr010004.trv\"\r\n\"tr010003.trv\"\r\n"));
    if (http) {
        QVERIFY(server->requests().contains(QStringLiteral("/trv_cbt/trv2/tr010004.trv 200")));
    }
}

void TestNavigation::placeholderBecomesTheModulePageOfTheScreen() {
    QFETCH(bool, http);
    frmTRV& w = start(http);
    go(QStringLiteral("tr010001.trv"), QStringLiteral("mod01c.trv"));
    QCOMPARE(w.state().CurPage, QStringLiteral("mod01c.trv"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane - Module 1"));
    // The module page's own links replaced the placeholder's.
    const QStringList links = w.lastDocument().links;
    QCOMPARE(w.state().SecnLink, links[0]);
    QCOMPARE(w.state().NextLink, links[2]);
    // The placeholder is recorded under its own name, the module page not at all.
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010001.trv\"\r\n"));
    if (http) {
        const QStringList requests = server->requests();
        const auto at = [&](const char* path) { return requests.indexOf(QString::fromLatin1(path)); };
        QVERIFY(at("/trv_cbt/trv2/tr010001.trv 200") >= 0);
        QVERIFY(at("/trv_cbt/trv2/mod01c.trv 200") > at("/trv_cbt/trv2/tr010001.trv 200"));
    }
}

void TestNavigation::backPassesOverThePlaceholder() {
    QFETCH(bool, http);
    frmTRV& w = start(http);
    go(QStringLiteral("tr010001.trv"), QStringLiteral("mod01c.trv"));

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.state().GoingBack = true; // the Back button's first step
    w.runInPage(QStringLiteral("history.back()"));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("trvc.trv")), 20000);
    QCOMPARE(completedPages(spy).first(), QStringLiteral("tr010001.trv"));
    QVERIFY(!w.state().GoingBack);
    QCOMPARE(w.state().CurPage, QStringLiteral("trvc.trv"));
    // The placeholder passed over adds nothing; the contents page reached again is recorded again.
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010001.trv\"\r\n\"trvc.trv\"\r\n"));
}

void TestNavigation::secondContentsPageLeadsToTheContentsOfTheScreen() {
    QFETCH(bool, http);
    frmTRV& w = start(http);
    go(QStringLiteral("trvcrc.trv"), QStringLiteral("trvcrc.trv"));
    const QString contents = w.state().FileLocn + QStringLiteral("trvc.trv");
    QCOMPARE(w.state().SecnLink, contents);
    QCOMPARE(w.state().PrevLink, contents);
    QCOMPARE(w.state().NextLink, contents);
    QString link5;
    w.runInPage(QStringLiteral("document.links[5].href"), [&](const QVariant& v) { link5 = v.toString(); });
    QTRY_COMPARE_WITH_TIMEOUT(link5, contents, 10000);
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"trvcrc.trv\"\r\n"));
}

void TestNavigation::videoPlaysOverTheBackdropAndClosesAfterItsEnd() {
    QFETCH(bool, http);
    frmTRV& w = start(http);
    go(QStringLiteral("tr010005.trv"), QStringLiteral("tr010005.trv"));
    const QString keptNext = w.state().NextLink;

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.navigateTo(w.state().FileLocn + QStringLiteral("fig0105.trv"));
    // The placeholder completes, the browser steps back to the page before it (which completes during
    // the placeholder's one-second pause).
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).size() == 2, 20000);
    QVERIFY(completedPages(spy).contains("fig0105.trv") && completedPages(spy).contains("tr010005.trv"));
    QCOMPARE(w.view().playerUrl, w.state().FileLocn + QStringLiteral("d01/fig0105.avi"));
    QCOMPARE(w.view().playerMode, QStringLiteral("none"));
    QVERIFY(w.view().backdropShown);
    QCOMPARE(w.view().backdrop, QRect(0, 0, 1280, 800));
    QCOMPARE(w.view().player, QRect(256, 50, 768, 560));
    QCOMPARE(w.state().NextLink, keptNext);
    // The two-second video ends; the next watch tick closes it.
    QTRY_VERIFY_WITH_TIMEOUT(!w.view().backdropShown, 15000);
    QCOMPARE(w.view().playerMode, QStringLiteral("invisible"));
    QVERIFY(!w.view().playerShown);
    QVERIFY(!w.view().videoWatched && !w.view().videoStarting);
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010005.trv\"\r\n\"tr010005.trv\"\r\n"));
    if (http) {
        QVERIFY(server->requests().contains(QStringLiteral("/trv_cbt/trv2/d01/fig0105.avi 200")));
    }
}

void TestNavigation::clickOnTheBackdropStopsTheVideo() {
    frmTRV& w = start();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.navigateTo(w.state().FileLocn + QStringLiteral("title.trv"));
    QTRY_VERIFY_WITH_TIMEOUT(w.view().videoStarting, 20000);
    QCOMPARE(w.view().playerUrl, w.state().FileLocn + QStringLiteral("trv/title.avi"));
    QTest::mouseClick(&part<QWidget>(w, "picAVI"), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!w.view().backdropShown);
    QVERIFY(!w.view().videoStarting);
    QVERIFY(w.view().playState != 3);
}

void TestNavigation::narrationPlaysInvisibly() {
    frmTRV& w = start();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.navigateTo(w.state().FileLocn + QStringLiteral("v0102.trv"));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy) == (QStringList{"v0102.trv", "trvc.trv"}), 20000);
    QCOMPARE(w.state().CurPage, QStringLiteral("trvc.trv"));
    QCOMPARE(w.view().playerUrl, w.state().FileLocn + QStringLiteral("d01/v0102.wav"));
    QCOMPARE(w.view().playerMode, QStringLiteral("invisible"));
    QVERIFY(!w.view().playerShown);
    QVERIFY(!w.view().backdropShown);
    QVERIFY(!w.view().videoStarting);
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"trvc.trv\"\r\n"));
}

void TestNavigation::narrationRequestFromAnotherProcess() {
    frmTRV& w = start();
    // Another program asks for v0101: UTF-16LE, padded with zeros.
    QByteArray hex;
    for (const char c : QByteArray("v0101")) {
        hex += QByteArray(1, c).toHex() + "00";
    }
    const int rc = QProcess::execute(QStringLiteral(TORVANE_BIN_DIR "/blockpeer"),
                                     {QStringLiteral("block"), h->runtimeFolder(), QStringLiteral("TRVwav"),
                                      QStringLiteral("255"), QStringLiteral("write"), QStringLiteral("0"),
                                      QString::fromLatin1(hex)});
    QCOMPARE(rc, 0);
    QTRY_COMPARE_WITH_TIMEOUT(w.view().playerUrl, w.state().FileLocn + QStringLiteral("d01/v0101.wav"), 5000);
    QCOMPARE(w.view().playerMode, QStringLiteral("invisible"));
    QCOMPARE(h->block("TRVwav", 255).read(0, 1), std::vector<std::uint8_t>{0});

    // "v0000" stops whatever plays and hides the backdrop.
    w.playVideo(w.state().FileLocn + QStringLiteral("d01/fig0105.avi"));
    QVERIFY(w.view().backdropShown);
    QByteArray stop;
    for (const char c : QByteArray("v0000")) {
        stop += QByteArray(1, c).toHex() + "00";
    }
    QCOMPARE(QProcess::execute(QStringLiteral(TORVANE_BIN_DIR "/blockpeer"),
                               {QStringLiteral("block"), h->runtimeFolder(), QStringLiteral("TRVwav"),
                                QStringLiteral("255"), QStringLiteral("write"), QStringLiteral("0"),
                                QString::fromLatin1(stop)}),
             0);
    QTRY_VERIFY_WITH_TIMEOUT(!w.view().backdropShown, 5000);
    QVERIFY(w.view().playState != 3);
}

void TestNavigation::resizeReloadsTheVariantOfTheNewClass() {
    h->make();
    frmTRV& w = h->showFirstCopy(QStringLiteral("trvc.trv"), false); // normal, at its design size
    if (qEnvironmentVariable("TORVANE_TEST_WM_RUNNING", QStringLiteral("none")) != QLatin1String("none")) {
        QTRY_VERIFY(w.frameGeometry().top() < w.geometry().top()); // framed by the window manager
    }
    go(QStringLiteral("tr010001.trv"), QStringLiteral("mod01c.trv"));
    // The title bar counts with the inner height: it is what the frame has above the inner area beyond
    // its bottom border.
    const QRect frame = w.frameGeometry();
    const QRect inner = w.geometry();
    const int caption = std::max(0, (inner.top() - frame.top()) - (frame.bottom() - inner.bottom()));
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.resize(1000, 785 - caption); // 920..1365 wide, 768..799 high with the title bar: class 2
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("mod01b.trv")), 20000);
    QCOMPARE(w.state().ScreenSize, 2);
    // Module pages are not recorded, whatever their size.
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010001.trv\"\r\n"));
    // A window whose inner area fills the screen, less the title bar, is maximised and classified by the
    // whole screen.
    w.setGeometry(0, caption, 1280, 800 - caption);
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("mod01c.trv")), 20000);
    QCOMPARE(w.state().ScreenWidth, 1280);
    QCOMPARE(w.state().ScreenHeight, 800);
    QVERIFY(w.isMaximized());
}

// What a learner does with the title bar and the frame, through the window manager: the maximised viewer
// restored to its design size, dragged to another size, maximised again. Each step loads the variant
// of the size class it comes to.
void TestNavigation::restoreDragAndMaximiseThroughTheWindowManager() {
    if (qEnvironmentVariable("TORVANE_TEST_WM_RUNNING", QStringLiteral("none")) == QLatin1String("none")) {
        QSKIP("needs a window manager");
    }
    h->make();
    frmTRV& w = h->showFirstCopy(); // maximised, as the program shows it
    QTRY_VERIFY(w.isMaximized());
    go(QStringLiteral("tr010001.trv"), QStringLiteral("mod01c.trv"));
    const WId id = w.winId();

    // The restore button: the design client area, 968 x 741 pixels at 104, 130, is class 1 on this
    // screen whatever its title bar (under 768 high with it).
    QSignalSpy restored(&w, &frmTRV::documentCompleted);
    QVERIFY(desktop("wmctrl", {"-i", "-r", "%id", "-b", "remove,maximized_vert,maximized_horz"}, id));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(restored).contains(QStringLiteral("mod01a.trv")), 20000);
    QVERIFY(!w.isMaximized());
    QTRY_COMPARE(w.size(), QSize(968, 741));
    QCOMPARE(w.state().ScreenSize, 1);
    QTest::qWait(1000);
    QVERIFY2(!w.isMaximized(), "maximised itself again");
    QCOMPARE(w.lastDocument().locationUrl, w.state().FileLocn + QStringLiteral("mod01a.trv"));

    // Dragged to 1000 wide and 768 to 799 high with the title bar: class 2.
    const int caption =
        w.geometry().top() - w.frameGeometry().top() - (w.frameGeometry().bottom() - w.geometry().bottom());
    QSignalSpy dragged(&w, &frmTRV::documentCompleted);
    QVERIFY(desktop("xdotool", {"windowsize", "%id", "1000", QString::number(785 - caption)}, id));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(dragged).contains(QStringLiteral("mod01b.trv")), 20000);
    QCOMPARE(w.state().ScreenSize, 2);
    QVERIFY(!w.isMaximized());

    // The maximise button: the whole screen again.
    QSignalSpy maximised(&w, &frmTRV::documentCompleted);
    QVERIFY(desktop("wmctrl", {"-i", "-r", "%id", "-b", "add,maximized_vert,maximized_horz"}, id));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(maximised).contains(QStringLiteral("mod01c.trv")), 20000);
    QVERIFY(w.isMaximized());
    QCOMPARE(w.state().ScreenWidth, 1280);
    QCOMPARE(w.state().ScreenHeight, 800);
}

// A maximised window classified by the screen follows it to another resolution, also one it changed to
// while the window was minimised.
void TestNavigation::maximisedWindowFollowsTheScreen() {
    h->screen = QSize(1280, 800);
    h->make();
    frmTRV& w = h->showFirstCopy();
    QTRY_VERIFY(w.isMaximized());
    go(QStringLiteral("tr010001.trv"), QStringLiteral("mod01c.trv"));

    QSignalSpy wider(&w, &frmTRV::documentCompleted);
    h->fakeScreen.setSize(QSize(1920, 1080));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(wider).contains(QStringLiteral("mod01f.trv")), 20000);
    QCOMPARE(w.state().ScreenWidth, 1920);
    QCOMPARE(w.state().ScreenHeight, 1080);
    QCOMPARE(w.state().ScreenSize, 6);
    QCOMPARE(w.view().backdrop, QRect(0, 0, 1920, 1080));

    w.showMinimized();
    QTRY_VERIFY(w.isMinimized());
    QSignalSpy restored(&w, &frmTRV::documentCompleted);
    h->fakeScreen.setSize(QSize(1366, 768));
    QTest::qWait(500);
    QVERIFY2(restored.isEmpty(), qPrintable(completedPages(restored).join(' '))); // nothing to classify
    w.showMaximized();
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(restored).contains(QStringLiteral("mod01b.trv")), 20000);
    QCOMPARE(w.state().ScreenSize, 2);
    QCOMPARE(w.view().backdrop, QRect(0, 0, 1366, 768));
}

void TestNavigation::pageOutsideTheCourseChangesNothing() {
    frmTRV& w = start();
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    const QString next = w.state().NextLink;
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.runInPage(QStringLiteral("location.href = 'about:blank'"));
    QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 1, 20000);
    QCOMPARE(w.state().CurPage, QStringLiteral("about:blank"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane - Module 1"));
    QCOMPARE(w.state().NextLink, next);
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010003.trv\"\r\n"));
}

TORVANE_GUI_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
