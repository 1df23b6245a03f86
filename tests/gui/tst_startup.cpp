// Start-up of the main window against the demo course: the contents page of the screen's class, the
// folders and blocks it sets up, the second copy, and the errors it reports.
#include "viewerharness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineView>
#include <history/frmhist.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>

using torvane::shell::frmTRV;
using torvane::testing::CourseServer;
using torvane::testing::ViewerHarness;

class TestStartup final : public QObject {
    Q_OBJECT
private slots:
    void contentsPageOfTheRealScreen();
    void contentsPageOfEachScreen_data();
    void contentsPageOfEachScreen();
    void foldersAndBlocks();
    void secondCopyLeavesTheFirstAlone();
    void badCourseAddressStopsWithTheExpectedForm();
    void dataFolderThatCannotBeMadeIsReported();
    void activationHidesTheSecondaryWindows();
    void courseOverHttpFromAWebServer();
};

void TestStartup::contentsPageOfTheRealScreen() {
    // The private X server is 1280 x 800: class 3.
    ViewerHarness h;
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::FirstCopy);
    QCOMPARE(w.ScreenWidth, 1280);
    QCOMPARE(w.ScreenHeight, 800);
    QCOMPARE(w.ScreenSize, 3);
    QCOMPARE(w.picAVI->geometry(), QRect(0, 0, 1280, 800));
    QVERIFY(w.TimerEnd->isActive());
    w.show();
    QVERIFY(h.waitForDocument(QStringLiteral("/trv_cbt/trv2/trvc.trv")));
    QCOMPARE(w.lastDocument().locationUrl, QStringLiteral("torvane://course/trv_cbt/trv2/trvc.trv"));
    const QStringList links = w.lastDocument().links;
    QVERIFY2(links.size() >= 3, qPrintable(links.join(' ')));
    for (const QString& link : links) {
        QVERIFY2(link.startsWith(QStringLiteral("torvane://course/trv_cbt/trv2/")), qPrintable(link));
    }
    QVERIFY(h.boxes.asked.empty());
}

void TestStartup::contentsPageOfEachScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("page");
    QTest::newRow("800x600") << QSize(800, 600) << "trva.trv";
    QTest::newRow("1366x768") << QSize(1366, 768) << "trvb.trv";
    QTest::newRow("1280x1024") << QSize(1280, 1024) << "trvd.trv";
    QTest::newRow("1680x1050") << QSize(1680, 1050) << "trve.trv";
    QTest::newRow("1920x1080") << QSize(1920, 1080) << "trvf.trv";
    QTest::newRow("3840x2160") << QSize(3840, 2160) << "trvg.trv";
}

void TestStartup::contentsPageOfEachScreen() {
    QFETCH(QSize, screen);
    QFETCH(QString, page);
    ViewerHarness h;
    h.screen = screen;
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::FirstCopy);
    QVERIFY(h.waitForDocument(QStringLiteral("/trv_cbt/trv2/") + page));
    QVERIFY(w.lastDocument().links.size() >= 3);
}

void TestStartup::foldersAndBlocks() {
    ViewerHarness h;
    // The data folder's parents do not exist yet: they are made too.
    h.env[QStringLiteral("APPDATA")] = h.home.path() + QStringLiteral("/deep/roaming");
    h.env[QStringLiteral("ProgramFiles")] = QStringLiteral("/srv/programs");
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::FirstCopy);
    QCOMPARE(w.BillDir, h.home.path() + QStringLiteral("/deep/roaming/Parlenta/Torvane/"));
    QVERIFY(QFileInfo(w.BillDir).isDir());
    QCOMPARE(w.ProgramFilesFolder, QStringLiteral("/srv/programs"));

    const QList<QPair<QString, qint64>> blocks{
        {"TRVwav", 255}, {"KirvoltPrev", 1}, {"KirvoltEnd", 1}, {"KirvoltName", 255}};
    for (const auto& [name, size] : blocks) {
        const QFileInfo info(h.runtimeFolder() + QLatin1Char('/') + name);
        QVERIFY2(info.isFile(), qPrintable(name));
        QCOMPARE(info.size(), size);
    }
    QFile end(h.runtimeFolder() + QStringLiteral("/KirvoltEnd"));
    QVERIFY(end.open(QIODevice::ReadOnly));
    QCOMPARE(end.readAll(), QByteArray(1, '\0'));
}

void TestStartup::secondCopyLeavesTheFirstAlone() {
    ViewerHarness first;
    frmTRV& w1 = first.make();
    QCOMPARE(w1.Form_Load(), frmTRV::Role::FirstCopy);
    QVERIFY(first.waitForDocument(QStringLiteral("trvc.trv")));

    ViewerHarness second;
    second.env = first.env; // the same user: the same runtime folder
    frmTRV& w2 = second.make();
    QCOMPARE(w2.Form_Load(), frmTRV::Role::SecondCopy);
    QVERIFY(!w2.TimerEnd->isActive());
    QVERIFY(w2.Web1->url().isEmpty());
    QVERIFY(w1.TimerEnd->isActive());
    QCOMPARE(w1.lastDocument().locationUrl, QStringLiteral("torvane://course/trv_cbt/trv2/trvc.trv"));
}

void TestStartup::badCourseAddressStopsWithTheExpectedForm() {
    ViewerHarness h;
    h.env[QStringLiteral("TORVANE_COURSE_URL")] = QStringLiteral("http://127.0.0.1:9/courses/");
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::Stopped);
    QCOMPARE(h.boxes.asked.size(), size_t{1});
    QVERIFY(h.boxes.asked[0].text.contains(QStringLiteral("http://127.0.0.1:9/courses/")));
    QVERIFY(h.boxes.asked[0].text.contains(QStringLiteral("\"/trv_cbt/trv2/\"")));
    // Nothing was set up on the way out.
    QVERIFY(!QFileInfo::exists(h.runtimeFolder()));
    QVERIFY(!QFileInfo::exists(h.env.value(QStringLiteral("APPDATA"))));
}

void TestStartup::dataFolderThatCannotBeMadeIsReported() {
    ViewerHarness h;
    QFile blocker(h.home.path() + QStringLiteral("/file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    h.env[QStringLiteral("APPDATA")] = blocker.fileName(); // a file where a folder should be
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::FirstCopy);
    QCOMPARE(h.boxes.asked.size(), size_t{1});
    QVERIFY(h.boxes.asked[0].text.contains(QStringLiteral("could not create its data folder")));
    QVERIFY(h.waitForDocument(QStringLiteral("trvc.trv")));
}

void TestStartup::activationHidesTheSecondaryWindows() {
    ViewerHarness h;
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::FirstCopy);
    QCOMPARE(w.searchWindow().windowTitle(), QStringLiteral("Torvane - Search"));
    QCOMPARE(w.indexWindow().windowTitle(), QStringLiteral("Torvane - Index"));
    QCOMPARE(w.historyWindow().windowTitle(), QStringLiteral("Torvane - History"));
    QVERIFY(!w.searchWindow().isVisible() && !w.indexWindow().isVisible() && !w.historyWindow().isVisible());
    w.searchWindow().show();
    w.indexWindow().show();
    w.historyWindow().show();
    w.show();
    w.activateWindow();
    QTRY_VERIFY(!w.searchWindow().isVisible() && !w.indexWindow().isVisible() &&
                !w.historyWindow().isVisible());
}

void TestStartup::courseOverHttpFromAWebServer() {
    CourseServer server(torvane::testing::demoCourseRoot());
    QVERIFY2(server.start(), qPrintable(server.error()));
    ViewerHarness h;
    h.env[QStringLiteral("TORVANE_COURSE_URL")] = server.courseUrl();
    frmTRV& w = h.make();
    QCOMPARE(w.Form_Load(), frmTRV::Role::FirstCopy);
    QCOMPARE(w.FileLocn, server.courseUrl());
    QVERIFY(h.waitForDocument(QStringLiteral("/trv_cbt/trv2/trvc.trv")));
    QCOMPARE(w.lastDocument().locationUrl, server.courseUrl() + QStringLiteral("trvc.trv"));
    const QStringList links = w.lastDocument().links;
    QVERIFY(links.size() >= 3);
    QVERIFY2(links[0].startsWith(server.courseUrl()), qPrintable(links[0]));
    QVERIFY2(server.requests().contains(QStringLiteral("/trv_cbt/trv2/trvc.trv 200")),
             qPrintable(server.requests().join('\n')));
}

TORVANE_GUI_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
