// Start-up of the main window against the demo course: the contents page of the screen's class, the
// folders and blocks it sets up, the second copy, and the errors it reports.
#include "viewerharness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineView>
#include <history/frmhist.h>
#include <memory>
#include <platform/instancelock.h>
#include <platform/runtimefolder.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <secondcopy/jobs.h>
#include <unistd.h>

using torvane::platform::InstanceLock;
using torvane::platform::prepareRuntimeFolder;
using torvane::secondcopy::Role;
using torvane::shell::frmTRV;
using torvane::testing::CourseServer;
using torvane::testing::ViewerHarness;

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QByteArray blockBytes(const torvane::platform::SharedBlock& block) {
    const std::vector<std::uint8_t> bytes = block.read(0, block.size());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

} // namespace

class TestStartup final : public QObject {
    Q_OBJECT
private slots:
    void contentsPageOfTheRealScreen();
    void contentsPageOfEachScreen_data();
    void contentsPageOfEachScreen();
    void foldersAndBlocks();
    void secondCopyLeavesTheFirstAlone();
    void copyThatCannotTellWhetherAViewerRuns_data();
    void copyThatCannotTellWhetherAViewerRuns();
    void badCourseAddressStopsWithTheExpectedForm_data();
    void badCourseAddressStopsWithTheExpectedForm();
    void dataFolderThatCannotBeMadeIsReported_data();
    void dataFolderThatCannotBeMadeIsReported();
    void activationHidesTheSecondaryWindows();
    void courseOverHttpFromAWebServer();
};

void TestStartup::contentsPageOfTheRealScreen() {
    // The private X server is 1280 x 800: class 3.
    ViewerHarness h;
    frmTRV& w = h.make();
    QCOMPARE(h.load(), Role::FirstCopy);
    QCOMPARE(w.state().ScreenWidth, 1280);
    QCOMPARE(w.state().ScreenHeight, 800);
    QCOMPARE(w.state().ScreenSize, 3);
    QCOMPARE(w.view().backdrop, QRect(0, 0, 1280, 800));
    QVERIFY(w.view().blocksPolled);
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
    QCOMPARE(h.load(), Role::FirstCopy);
    QVERIFY(h.waitForDocument(QStringLiteral("/trv_cbt/trv2/") + page));
    QVERIFY(w.lastDocument().links.size() >= 3);
}

void TestStartup::foldersAndBlocks() {
    ViewerHarness h;
    // The data folder's parents do not exist yet: they are made too.
    h.env[QStringLiteral("APPDATA")] = h.home.path() + QStringLiteral("/deep/roaming");
    h.env[QStringLiteral("ProgramFiles")] = QStringLiteral("/srv/programs");
    frmTRV& w = h.make();
    QCOMPARE(h.load(), Role::FirstCopy);
    QCOMPARE(w.state().BillDir, h.home.path() + QStringLiteral("/deep/roaming/Parlenta/Torvane/"));
    QVERIFY(QFileInfo(w.state().BillDir).isDir());
    QCOMPARE(w.state().ProgramFilesFolder, QStringLiteral("/srv/programs"));

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
    QCOMPARE(first.load(), Role::FirstCopy);
    QVERIFY(first.waitForDocument(QStringLiteral("trvc.trv")));

    // A hand-off and a narration request under way, with no tool window on the desktop: a second copy
    // must leave them to the viewer.
    const QByteArray name = QByteArray("/x/motor.ckt").leftJustified(255, '\0');
    const QByteArray narration =
        QByteArray::fromHex("76003000310030003100").leftJustified(255, '\0'); // v0101
    first.block("KirvoltName", 255).writeAndFlush(0, bytesOf(name));
    first.block("TRVwav", 255).writeAndFlush(0, bytesOf(narration));

    ViewerHarness second;
    second.env = first.env; // the same user: the same runtime folder
    QCOMPARE(second.startUp(), Role::SecondCopy);
    QCOMPARE(blockBytes(first.block("KirvoltName", 255)), name);
    QCOMPARE(blockBytes(first.block("TRVwav", 255)), narration);
    QVERIFY(w1.view().blocksPolled);
    QCOMPARE(w1.lastDocument().locationUrl, QStringLiteral("torvane://course/trv_cbt/trv2/trvc.trv"));
}

void TestStartup::copyThatCannotTellWhetherAViewerRuns_data() {
    QTest::addColumn<QString>("runtime");     // "missing" folder, or the lock "unusable" in it
    QTest::addColumn<QString>("commandLine"); // what the copy was started with
    QTest::addColumn<bool>("viewer");         // it becomes the viewer
    QTest::addColumn<QString>("started");     // the program it starts, after "/" ("" none)
    QTest::addColumn<QString>("told");        // a message it shows, besides the folder's ("" none)

    // A job handed to a copy is done by that copy, never by a second viewer.
    QTest::newRow("no folder, popup") << "missing"
                                      << "/POPJPG=pics/a.png /W=40 /H=30" << false << ""
                                      << "";
    QTest::newRow("no folder, chapter test") << "missing"
                                             << "/PRAC=05" << false << "ch05test"
                                             << "";
    QTest::newRow("unusable lock, chapter test") << "unusable"
                                                 << "/PRAC=05" << false << "ch05test"
                                                 << "";
    // With no links to the tools a hand-off cannot reach one: said so, and nothing is started.
    QTest::newRow("no folder, hand-off") << "missing"
                                         << "motor.ckt" << false << ""
                                         << "Torvane could not hand the exercise motor.ckt to Kirvolt";
    // The lock alone is unusable: the blocks work, so the hand-off goes out.
    QTest::newRow("unusable lock, hand-off") << "unusable"
                                             << "motor.ckt" << false << "kirvolt"
                                             << "";
    // Started by the learner: the viewer.
    QTest::newRow("no folder, no command line") << "missing"
                                                << "" << true << ""
                                                << "";
    // The lock alone is unusable: the learner is told, whatever stands in its place.
    QTest::newRow("unusable lock, no command line") << "unusable"
                                                    << "" << true << ""
                                                    << "Torvane cannot use its lock file";
    QTest::newRow("lock a link to a folder, no command line") << "link to folder"
                                                              << "" << true << ""
                                                              << "Torvane cannot use its lock file";
    QTest::newRow("lock a dangling link, no command line") << "dangling link"
                                                           << "" << true << ""
                                                           << "Torvane cannot use its lock file";
}

void TestStartup::copyThatCannotTellWhetherAViewerRuns() {
    QFETCH(QString, runtime);
    QFETCH(QString, commandLine);
    QFETCH(bool, viewer);
    QFETCH(QString, started);
    QFETCH(QString, told);

    ViewerHarness h;
    if (runtime == QLatin1String("missing")) {
        h.env[QStringLiteral("XDG_RUNTIME_DIR")] = h.home.path() + QStringLiteral("/no-session");
    } else {
        // Something where the lock file goes that can never be a lock.
        QVERIFY(prepareRuntimeFolder(h.runtimeFolder()).ok());
        const QString lock = h.runtimeFolder() + QStringLiteral("/torvane.lock");
        if (runtime == QLatin1String("unusable")) {
            QVERIFY(QDir().mkpath(lock));
        } else if (runtime == QLatin1String("link to folder")) {
            QVERIFY(QDir().mkpath(h.home.path() + QStringLiteral("/elsewhere")));
            QVERIFY(QFile::link(h.home.path() + QStringLiteral("/elsewhere"), lock));
        } else {
            QVERIFY(QFile::link(h.home.path() + QStringLiteral("/nothing-here"), lock));
        }
    }
    const auto boxTexts = [&h] {
        QStringList texts;
        for (const auto& box : h.boxes.asked) {
            texts << box.text;
        }
        return texts;
    };
    const qsizetype folderBoxes = runtime == QLatin1String("missing") ? 1 : 0;
    const auto checkTold = [&] {
        const QStringList texts = boxTexts().mid(folderBoxes);
        if (told.isEmpty()) {
            QVERIFY2(texts.isEmpty(), qPrintable(texts.join(" / ")));
        } else {
            QCOMPARE(texts.size(), 1);
            QVERIFY2(texts[0].startsWith(told), qPrintable(texts[0]));
        }
    };
    h.commandLine = commandLine;
    if (viewer) {
        frmTRV& w = h.make();
        QCOMPARE(h.load(), Role::FirstCopy);
        QVERIFY(w.view().blocksPolled);
        QVERIFY(h.waitForDocument(QStringLiteral("trvc.trv")));
        checkTold();
        return;
    }
    QCOMPARE(h.startUp(), Role::SecondCopy);
    QCOMPARE(boxTexts().size(), folderBoxes);
    if (commandLine.startsWith(QLatin1String("/POPJPG="))) {
        return; // the popup itself is the e2e tests' (tst_secondcopy)
    }
    // The job, as the program runs it for a second copy.
    QStringList programs;
    torvane::secondcopy::JobServices jobs;
    jobs.messageBoxes = &h.boxes;
    jobs.startProgram = [&programs](const QString& program, const QStringList&) {
        programs << program.section(QLatin1Char('/'), -1);
        return true;
    };
    jobs.programFolder = QStringLiteral(TORVANE_BIN_DIR);
    jobs.appDataFolder = h.start->AppDataFolder;
    jobs.programFilesFolder = h.start->ProgramFilesFolder;
    jobs.end = [&h] { ++h.ended; };
    torvane::secondcopy::SecondCopy copy(h.start->links, std::move(jobs));
    const auto job = torvane::secondcopy::parseCommandLine(commandLine, h.start->FileLocn);
    QCOMPARE(copy.run(job, commandLine), started == QLatin1String("kirvolt")); // waits for the started tool
    QCOMPARE(programs, started.isEmpty() ? QStringList() : QStringList{started});
    checkTold();
    QCOMPARE(h.ended, started == QLatin1String("kirvolt") ? 0 : 1);
}

void TestStartup::badCourseAddressStopsWithTheExpectedForm_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("not a course folder") << QStringLiteral("http://127.0.0.1:9/courses/");
    QTest::newRow("a local folder") << QStringLiteral("file:///srv/trv_cbt/trv2/");
    QTest::newRow("another kind of server") << QStringLiteral("ftp://127.0.0.1/trv_cbt/trv2/");
}

void TestStartup::badCourseAddressStopsWithTheExpectedForm() {
    QFETCH(QString, address);
    ViewerHarness h;
    h.env[QStringLiteral("TORVANE_COURSE_URL")] = address;
    frmTRV& w = h.make();
    QCOMPARE(h.load(), Role::Stopped);
    QCOMPARE(h.boxes.asked.size(), size_t{1});
    QVERIFY(h.boxes.asked[0].text.contains(address));
    QVERIFY(h.boxes.asked[0].text.contains(QStringLiteral("\"/trv_cbt/trv2/\"")));
    // Nothing was set up on the way out.
    QVERIFY(!QFileInfo::exists(h.runtimeFolder()));
    QVERIFY(!QFileInfo::exists(h.env.value(QStringLiteral("APPDATA"))));
}

void TestStartup::dataFolderThatCannotBeMadeIsReported_data() {
    QTest::addColumn<QString>("place"); // what stands where the data folder goes
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("viewerRuns"); // another copy holds the instance lock
    QTest::addColumn<QString>("says");    // what the viewer tells the learner ("" nothing)

    const QString cannotMake = QStringLiteral("could not create its data folder");
    QTest::newRow("the viewer") << "file" << QString() << false << cannotMake;
    // Second copies do their job without a word about it: the viewer has told the learner.
    QTest::newRow("popup copy") << "file" << QStringLiteral("/POPJPG=pics/a.png /W=40 /H=30") << true << "";
    QTest::newRow("hand-off copy") << "file" << QStringLiteral("motor.ckt") << true << "";
    QTest::newRow("copy bringing the viewer back") << "file" << QString() << true << "";
    // The learner's data goes nowhere else: not through a link, not into another user's folder.
    const QString link = QStringLiteral("is a symbolic link");
    QTest::newRow("data folder a link elsewhere") << "link" << QString() << false << link;
    QTest::newRow("its parent a link elsewhere") << "parent link" << QString() << false << link;
    QTest::newRow("data folder of another user")
        << "other user" << QString() << false << QStringLiteral("belongs to another user");
}

void TestStartup::dataFolderThatCannotBeMadeIsReported() {
    QFETCH(QString, place);
    QFETCH(QString, commandLine);
    QFETCH(bool, viewerRuns);
    QFETCH(QString, says);

    ViewerHarness h;
    const QString appData = h.env.value(QStringLiteral("APPDATA"));
    const QString elsewhere = h.home.path() + QStringLiteral("/shared");
    QVERIFY(QDir().mkpath(elsewhere));
    if (place == QLatin1String("file")) {
        QFile blocker(h.home.path() + QStringLiteral("/file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        h.env[QStringLiteral("APPDATA")] = blocker.fileName(); // a file where a folder should be
    } else if (place == QLatin1String("link")) {
        QVERIFY(QDir().mkpath(appData + QStringLiteral("/Parlenta")));
        QVERIFY(QFile::link(elsewhere, appData + QStringLiteral("/Parlenta/Torvane")));
    } else if (place == QLatin1String("parent link")) {
        QVERIFY(QDir().mkpath(appData));
        QVERIFY(QFile::link(elsewhere, appData + QStringLiteral("/Parlenta")));
    } else {
        const QString folder = appData + QStringLiteral("/Parlenta/Torvane");
        QVERIFY(QDir().mkpath(folder));
        if (::chown(QFile::encodeName(folder).constData(), 65534, 65534) != 0) {
            QSKIP("giving a folder to another user needs the administrator");
        }
    }
    std::unique_ptr<InstanceLock> viewer;
    if (viewerRuns) {
        QVERIFY(prepareRuntimeFolder(h.runtimeFolder()).ok());
        viewer = std::make_unique<InstanceLock>(h.runtimeFolder());
        QVERIFY(viewer->acquire());
    }
    h.commandLine = commandLine;
    frmTRV& w = h.make();
    QCOMPARE(h.load(), viewerRuns ? Role::SecondCopy : Role::FirstCopy);
    QCOMPARE(h.boxes.asked.size(), size_t{says.isEmpty() ? 0u : 1u});
    if (!says.isEmpty()) {
        QVERIFY2(h.boxes.asked[0].text.contains(says), qPrintable(h.boxes.asked[0].text));
        // The viewer goes on without a history, and nothing is written where the link leads.
        QVERIFY(h.waitForDocument(QStringLiteral("trvc.trv")));
        QVERIFY(place == QLatin1String("file") || w.state().BillDir.isEmpty());
        QVERIFY(QDir(elsewhere).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }
}

void TestStartup::activationHidesTheSecondaryWindows() {
    ViewerHarness h;
    frmTRV& w = h.make();
    QCOMPARE(h.load(), Role::FirstCopy);
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
    QCOMPARE(h.load(), Role::FirstCopy);
    QCOMPARE(w.state().FileLocn, server.courseUrl());
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
