// The real program against a course on an nginx web server: start-up, folders, blocks, a second copy.
#include "viewerprocess.h"

#include <QFileInfo>
#include <QTest>
#include <support/courseserver.h>

using torvane::testing::CourseServer;
using torvane::testing::ViewerProcess;

class TestViewer final : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheContentsPageOfTheScreen();
};

void TestViewer::startsOnTheContentsPageOfTheScreen() {
    CourseServer server(torvane::testing::demoCourseRoot());
    QVERIFY2(server.start(), qPrintable(server.error()));
    QTemporaryDir home;
    ViewerProcess viewer(home, server.courseUrl());
    viewer.start();

    // The screen is 1280 x 800: size class 3, contents page "trvc.trv".
    QTRY_VERIFY_WITH_TIMEOUT(server.requests().contains(QStringLiteral("/trv_cbt/trv2/trvc.trv 200")), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(torvane::testing::windowsNamed(QStringLiteral("^Torvane$")),
                              QStringList{"Torvane"}, 15000);
    QVERIFY(QFileInfo(viewer.billDir()).isDir());
    const QList<QPair<QString, qint64>> blocks{
        {"TRVwav", 255}, {"KirvoltPrev", 1}, {"KirvoltEnd", 1}, {"KirvoltName", 255}};
    for (const auto& [name, size] : blocks) {
        QCOMPARE(QFileInfo(viewer.runtimeFolder() + QLatin1Char('/') + name).size(), size);
    }
    QCOMPARE(QFileInfo(viewer.runtimeFolder()).permissions() &
                 ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser |
                   QFile::WriteUser | QFile::ExeUser),
             QFile::Permissions());

    // A second copy for the same user ends by itself and leaves the viewer running.
    ViewerProcess second(home, server.courseUrl());
    second.start();
    QCOMPARE(second.waitForExit(30000), 0);
    QVERIFY(viewer.isRunning());
    QCOMPARE(server.requests().count(QStringLiteral("/trv_cbt/trv2/trvc.trv 200")), 1);
}

QTEST_GUILESS_MAIN(TestViewer)
#include "tst_viewer.moc"
