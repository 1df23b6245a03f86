// The real program given bad input from outside: second copies with command lines cut short, garbled
// or oversized; block files cut short by another program while the viewer runs; a data folder that
// cannot be made. Each case must end promptly or go on working, and write nothing where it should not.
#include "viewerprocess.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <platform/sharedblock.h>
#include <support/courseserver.h>

using torvane::testing::CourseServer;
using torvane::testing::ViewerProcess;

namespace {

const QString kCompanionTitle = QStringLiteral("Exercise in progress - back to the course");

QStringList xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList windowsTitled(const QString& title) {
    return xdotool({"search", "--onlyvisible", "--name", QLatin1Char('^') + title + QLatin1Char('$')});
}

QByteArray readBlock(const QString& folder, const char* name, std::size_t size) {
    auto outcome = torvane::platform::SharedBlock::open(folder.toStdString(), name, size);
    const std::vector<std::uint8_t> bytes = outcome.block.read(0, size);
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

void writeBlock(const QString& folder, const char* name, std::size_t size, const QByteArray& bytes) {
    auto outcome = torvane::platform::SharedBlock::open(folder.toStdString(), name, size);
    outcome.block.writeAndFlush(0, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size())));
}

// Every file and folder under `root`, relative to it.
QStringList treeOf(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries << it.next().mid(root.size() + 1);
    }
    entries.sort();
    return entries;
}

} // namespace

class TestBadInput final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void secondCopyLinesEndPromptly_data();
    void secondCopyLinesEndPromptly();
    void blocksCutShortWhileRunning();
    void dataFolderThatCannotBeMade();

private:
    // Starts `viewer` and waits for its window; false with the program's output when it does not show.
    bool startViewer(ViewerProcess& viewer, QString* why);
    QStringList coursePagesServed() const;

    std::unique_ptr<CourseServer> server_;
    QTemporaryDir home_;
    std::unique_ptr<ViewerProcess> first_;
};

bool TestBadInput::startViewer(ViewerProcess& viewer, QString* why) {
    viewer.start();
    QElapsedTimer clock;
    clock.start();
    while (windowsTitled(QStringLiteral("Torvane")).isEmpty()) {
        if (clock.elapsed() > 30000 || !viewer.isRunning()) {
            *why = viewer.output();
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

void TestBadInput::initTestCase() {
    server_ = std::make_unique<CourseServer>(torvane::testing::demoCourseRoot());
    QVERIFY2(server_->start(), qPrintable(server_->error()));
    first_ = std::make_unique<ViewerProcess>(home_, server_->courseUrl());
    QString why;
    QVERIFY2(startViewer(*first_, &why), qPrintable(why));
    QTRY_VERIFY_WITH_TIMEOUT(coursePagesServed().contains(QStringLiteral("/trv_cbt/trv2/trvc.trv 200")),
                             30000);
}

QStringList TestBadInput::coursePagesServed() const {
    // The browser's own icon requests left out.
    return server_->requests().filter(QRegularExpression(QStringLiteral("^/trv_cbt/trv2/")));
}

void TestBadInput::cleanupTestCase() {
    first_.reset();
}

void TestBadInput::secondCopyLinesEndPromptly_data() {
    QTest::addColumn<QString>("line");
    const QString many(32000, QLatin1Char('a'));
    for (const char* line :
         {"/PRAC", "/PRAC=", "/POPJPG", "/POPJPG=", "/POPJPG=x.jpg/W", "/POPJPG=x.jpg /W=1 /H",
          "/POPJPG=x.jpg /H=2 /W=1", "/POPJPG=x.jpg /W=1 /W=2 /H=3", "/POPJPG=x.jpg /W=x /H=y",
          "/POPJPG=x.jpg /W=99999999999 /H=1", ".ci", "trv000", "hello world"}) {
        QTest::newRow(line) << QString::fromLatin1(line);
    }
    QTest::newRow("32000 characters") << many;
    QTest::newRow("a chapter test of 32000 characters") << QStringLiteral("/PRAC=") + many;
    QTest::newRow("a popup of 32000 characters") << QStringLiteral("/POPJPG=x.jpg /W=1 /H=") + many;
}

void TestBadInput::secondCopyLinesEndPromptly() {
    QFETCH(QString, line);
    const QString runtime = first_->runtimeFolder();
    const QByteArray name = QByteArray("untouched") + QByteArray(246, '\0');
    writeBlock(runtime, "KirvoltName", 255, name);
    writeBlock(runtime, "KirvoltPrev", 1, "\x7f");
    const qsizetype requestsBefore = coursePagesServed().size();

    ViewerProcess second(home_, server_->courseUrl());
    QElapsedTimer clock;
    clock.start();
    second.start({line});
    QCOMPARE(second.waitForExit(10000), 0);
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));

    QVERIFY(windowsTitled(QStringLiteral("Torvane - picture")).isEmpty());
    QCOMPARE(readBlock(runtime, "KirvoltName", 255), name);
    QCOMPARE(readBlock(runtime, "KirvoltPrev", 1), QByteArray("\x7f"));
    QCOMPARE(coursePagesServed().size(), requestsBefore); // the copy showed no page
    QVERIFY(first_->isRunning());
    writeBlock(runtime, "KirvoltName", 255, QByteArray(255, '\0'));
}

void TestBadInput::blocksCutShortWhileRunning() {
    const QString runtime = first_->runtimeFolder();
    for (const char* name : {"TRVwav", "KirvoltPrev", "KirvoltEnd", "KirvoltName"}) {
        QVERIFY(QFile::resize(runtime + QLatin1Char('/') + QLatin1String(name), 0));
    }
    // The viewer looks at the blocks every tenth of a second under the test's time divisor.
    QTest::qWait(1500);
    QVERIFY2(first_->isRunning(), qPrintable(first_->output()));

    // The link still works: a path handed over by a tool brings up the companion window.
    writeBlock(runtime, "KirvoltName", 255, QByteArray("motor.ckt") + QByteArray(246, '\0'));
    QTRY_COMPARE_WITH_TIMEOUT(windowsTitled(kCompanionTitle).size(), 1, 3000);
    QVERIFY(QFile::resize(runtime + QStringLiteral("/KirvoltName"), 0)); // cut short once more: gone
    QTRY_VERIFY_WITH_TIMEOUT(windowsTitled(kCompanionTitle).isEmpty(), 3000);
    QVERIFY2(first_->isRunning(), qPrintable(first_->output()));
}

void TestBadInput::dataFolderThatCannotBeMade() {
    // APPDATA is a file: the data folder under it can never be made.
    first_.reset();
    QTemporaryDir home;
    ViewerProcess viewer(home, server_->courseUrl());
    QFile blocker(viewer.appData());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.write("not a folder");
    blocker.close();
    const QStringList before = treeOf(home.path());

    viewer.start();
    // The learner is told, in a box of the viewer's title, before the window shows.
    QTRY_VERIFY_WITH_TIMEOUT(!windowsTitled(QStringLiteral("Torvane")).isEmpty(), 30000);
    const QString box = windowsTitled(QStringLiteral("Torvane")).value(0);
    xdotool({"windowfocus", "--sync", box});
    xdotool({"key", "Return"});
    QTRY_VERIFY_WITH_TIMEOUT(server_->requests().contains(QStringLiteral("/trv_cbt/trv2/trvc.trv 200")),
                             30000);
    QTest::qWait(1000);
    QVERIFY2(viewer.isRunning(), qPrintable(viewer.output()));
    // No history anywhere, nothing new beside the file; the runtime folder holds the blocks and the lock.
    QStringList after = treeOf(home.path());
    after.removeIf([](const QString& entry) { return entry.startsWith(QStringLiteral("run/")); });
    QCOMPARE(after, before);
    QFile check(viewer.appData());
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("not a folder"));
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
