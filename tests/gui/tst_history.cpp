// The history window over a known history file and the demo course's page list, driven through a
// fake main window.
#include "demolists.h"
#include "fakehost.h"
#include "parts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <base/timing.h>
#include <history/frmhist.h>

using torvane::history::frmHist;
using torvane::testing::clickRow;
using torvane::testing::DemoLists;
using torvane::testing::FakeHost;
using torvane::testing::part;

namespace {

QStringList listRows(const frmHist& w) {
    return w.view().rows;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestHistory final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void layout();
    void rowsOfAKnownHistory();
    void noHistoryFile();
    void everyOpeningRebuildsTheList();
    void withoutPageListTheRecordsShow();
    void badPageListShowsTheRecords();
    void twentyThousandAndOne();
    void enterOpensTheSelectedRow();
    void doubleClickWithoutSelectionDoesNothing();
    void pageNamesAreAskedForAsTheyStand();
    void openedFromAMaximisedWindow();

private:
    DemoLists demo_;
    std::unique_ptr<QTemporaryDir> bill_;
    FakeHost* host_ = nullptr;
    std::unique_ptr<FakeHost> hostOwner_;
};

void TestHistory::initTestCase() {
    demo_ = DemoLists::read(QStringLiteral(TORVANE_BIN_DIR));
    QVERIFY2(demo_.files.contains(QStringLiteral("tr010002.trv")), "build the demo word lists first");
}

void TestHistory::init() {
    bill_ = std::make_unique<QTemporaryDir>();
    hostOwner_ = std::make_unique<FakeHost>();
    host_ = hostOwner_.get();
    host_->bill = bill_->path() + QLatin1Char('/');
}

void TestHistory::layout() {
    frmHist w(*host_);
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane - History"));
    const torvane::secondary::SecondaryView v = w.view();
    QCOMPARE(v.list.topLeft(), QPoint(24, 32));
    QVERIFY(v.input.name.isEmpty() && v.found.name.isEmpty()); // the list is all the window has
    w.resize(1000, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.view().list.size(), QSize(950, 480));
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    QTRY_COMPARE(w.view().list.width(), qRound(0.95 * w.width()));
}

void TestHistory::rowsOfAKnownHistory() {
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n"
                                           "\"trvc.trv\"\r\n"
                                           "\"gone.trv\"\r\n"
                                           "\"TR010005.TRV\"\r\n"
                                           "\"tr010002.trv\"\r\n"
                                           "\"tr010001.trv\"");
    frmHist w(*host_);
    w.LoadHist();
    QVERIFY(w.isVisible());
    const QStringList want = {demo_.titleOf("tr010002.trv"), demo_.titleOf("trvc.trv"),
                              demo_.titleOf("tr010005.trv"), demo_.titleOf("tr010002.trv"),
                              demo_.titleOf("tr010001.trv")};
    QVERIFY(!want.contains(QString()));
    QCOMPARE(listRows(w), want);
    QCOMPARE(w.HistRowPage(), (std::vector<QString>{"tr010002.trv", "trvc.trv", "tr010005.trv",
                                                    "tr010002.trv", "tr010001.trv"}));
    QVERIFY(host_->boxes.empty());
}

void TestHistory::noHistoryFile() {
    frmHist w(*host_);
    w.LoadHist();
    QVERIFY(listRows(w).isEmpty());
    QVERIFY(w.isVisible());
}

void TestHistory::everyOpeningRebuildsTheList() {
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n");
    frmHist w(*host_);
    // The list's model keeps the item-model contract through every opening.
    QAbstractItemModelTester tester(part<QListView>(w, "lbResults").model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    w.LoadHist();
    QCOMPARE(listRows(w).size(), 1);
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n\"tr010003.trv\"\r\n");
    w.LoadHist();
    QCOMPARE(listRows(w), (QStringList{demo_.titleOf("tr010002.trv"), demo_.titleOf("tr010003.trv")}));

    // The page list too, as it stands on disk at each opening: replaced, even by one of the same size
    // (told apart by its time), and read again only then.
    QTemporaryDir lists;
    host_->folder = lists.path();
    const QString pageList = lists.filePath(QStringLiteral("files.trv"));
    const QDateTime written = QDateTime::currentDateTime().addSecs(-60);
    const struct {
        QByteArray bytes;
        QString row;
    } versions[] = {{"1\ttr010003.trv\tMotors\r\n", "Motors"},
                    {"1\ttr010003.trv\tRelays\r\n", "Relays"},
                    {"1\ttr010003.trv\tSwitches\r\n", "Switches"}};
    for (int i = 0; i < 3; ++i) {
        writeFile(pageList, versions[i].bytes);
        QFile stamped(pageList);
        QVERIFY(stamped.open(QIODevice::ReadWrite));
        QVERIFY(stamped.setFileTime(written.addSecs(i), QFileDevice::FileModificationTime));
        stamped.close();
        w.LoadHist();
        QCOMPARE(listRows(w), QStringList{versions[i].row});
    }
}

void TestHistory::withoutPageListTheRecordsShow() {
    QTemporaryDir noLists;
    host_->folder = noLists.path();
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n\"trva.trv\"\r\n");
    frmHist w(*host_);
    w.LoadHist();
    QCOMPARE(listRows(w), (QStringList{"\"tr010002.trv\"", "\"trva.trv\""}));
    // A second opening shows them once, not twice.
    w.LoadHist();
    QCOMPARE(listRows(w).size(), 2);
    // Such a row opens the page its record names.
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickRow(w, 1);
    w.lbResults_DblClick();
    QTRY_COMPARE(host_->navigated, QStringList{host_->locn + "trva.trv"});
}

void TestHistory::badPageListShowsTheRecords() {
    QTemporaryDir lists;
    host_->folder = lists.path();
    writeFile(lists.filePath("files.trv"), "1\ttr010002.trv\tMotors\r\nx\ttr010005.trv\tRelays\r\n");
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n");
    frmHist w(*host_);
    w.LoadHist();
    QCOMPARE(listRows(w), QStringList{"\"tr010002.trv\""});
    QVERIFY(host_->boxes.empty());
}

void TestHistory::twentyThousandAndOne() {
    for (const int n : {20000, 20001}) {
        QByteArray history;
        for (int i = 0; i < n; ++i) {
            history += i % 2 == 0 ? "\"tr010002.trv\"\r\n" : "\"trvc.trv\"\r\n";
        }
        writeFile(host_->bill + "history.trv", history);
        host_->boxes.clear();
        frmHist w(*host_);
        w.LoadHist();
        if (n > 20000) {
            QCOMPARE(host_->boxes.size(), std::size_t{1});
            QCOMPARE(host_->boxes[0].text, QStringLiteral("Too many History entries!"));
            QCOMPARE(host_->boxes[0].style, 0);
        } else {
            QVERIFY(host_->boxes.empty());
        }
        const QStringList rows = listRows(w);
        QCOMPARE(rows.size(), 20000);
        QCOMPARE(rows.at(19999), demo_.titleOf("trvc.trv"));
    }
}

void TestHistory::enterOpensTheSelectedRow() {
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n\"  tr010003.trv \"\r\n");
    frmHist w(*host_);
    host_->main.move(40, 30);
    w.move(220, 110);
    w.LoadHist();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickRow(w, 1);
    QTest::keyClick(&part<QListView>(w, "lbResults"), Qt::Key_Return);
    QTRY_COMPARE(host_->navigated, QStringList{host_->locn + "tr010003.trv"});
    QVERIFY(w.isHidden());
    QCOMPARE(host_->main.pos(), w.pos());
}

void TestHistory::doubleClickWithoutSelectionDoesNothing() {
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n");
    frmHist w(*host_);
    w.LoadHist();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The window opens with its list focused and the first row chosen, so Enter opens it at once.
    QCOMPARE(w.view().selectedRow, 0);
    QCOMPARE(w.view().focus, QStringLiteral("lbResults"));
    // With the choice taken away (Ctrl and a click on the chosen row), a double-click below the last
    // row and Enter open nothing.
    clickRow(w, 0, Qt::ControlModifier);
    QCOMPARE(w.view().selectedRow, -1);
    torvane::testing::doubleClickBelowTheRows(w);
    QTest::keyClick(&part<QListView>(w, "lbResults"), Qt::Key_Return);
    QVERIFY(host_->navigated.isEmpty());
    QVERIFY(w.isVisible());
    // Chosen again, Enter opens it.
    clickRow(w, 0);
    QTest::keyClick(&part<QListView>(w, "lbResults"), Qt::Key_Return);
    QTRY_COMPARE(host_->navigated, QStringList{host_->locn + "tr010002.trv"});
}

// A page name that is no address as it stands (a space, a lone "%") is asked for encoded; without a course
// address to ask it from, the window stays on screen.
void TestHistory::pageNamesAreAskedForAsTheyStand() {
    QTemporaryDir lists;
    host_->folder = lists.path();
    writeFile(lists.filePath("files.trv"), "1\ttr01 0003.trv\tMotors\r\n2\t50%.trv\tHalf\r\n");
    writeFile(host_->bill + "history.trv", "\"tr01 0003.trv\"\r\n\"50%.trv\"\r\n");
    frmHist w(*host_);
    for (const auto& [row, address] : {std::pair<int, QString>{0, "tr01%200003.trv"}, {1, "50%25.trv"}}) {
        w.LoadHist();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickRow(w, row);
        w.lbResults_DblClick();
        QTRY_VERIFY(w.isHidden());
        QCOMPARE(host_->navigated.last(), host_->locn + address);
    }
    host_->navigated.clear();
    host_->locn.clear();
    w.LoadHist();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickRow(w, 0);
    w.lbResults_DblClick();
    QTest::qWait(3 * torvane::base::intervals().pauseMs);
    QVERIFY(host_->navigated.isEmpty());
    QVERIFY(w.isVisible());
}

void TestHistory::openedFromAMaximisedWindow() {
    writeFile(host_->bill + "history.trv", "\"tr010002.trv\"\r\n");
    host_->main.move(300, 200);
    frmHist w(*host_);
    w.LoadHist();
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    clickRow(w, 0);
    w.lbResults_DblClick();
    QVERIFY(host_->main.windowState() & Qt::WindowMaximized);
    QTRY_COMPARE(host_->navigated, QStringList{host_->locn + "tr010002.trv"});
    QCOMPARE(host_->main.pos(), QPoint(300, 200));
}

TORVANE_SECONDARY_TEST_MAIN(TestHistory)
#include "tst_history.moc"
