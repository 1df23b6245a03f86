// The search window over the demo course's word lists, driven through a fake main window.
#include "demolists.h"
#include "fakehost.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <history/frmhist.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>

using torvane::search::frmSearch;
using torvane::testing::DemoLists;
using torvane::testing::FakeHost;

namespace {

QStringList listRows(const frmSearch& w) {
    QStringList rows;
    for (int i = 0; i < w.ListCount(); ++i) {
        rows << w.List(i);
    }
    return rows;
}

void search(frmSearch& w, const QString& typed) {
    w.txtInput->clear();
    QTest::keyClicks(w.txtInput, typed);
    QTest::keyClick(w.txtInput, Qt::Key_Return);
}

} // namespace

class TestSearch final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layout();
    void typeEnterAndOpen_data();
    void typeEnterAndOpen();
    void sameResultsWhateverTheCase();
    void twoWords();
    void spacesOnlyChangeNothing();
    void doubleClickWithoutSelectionDoesNothing();
    void openedFromAMaximisedWindow();
    void normalWindowGivesTheMainWindowItsPlace();
    void listsLoadOncePerRun();
    void missingListsFindNothing();
    void missingPageListLeavesPagesNameless();
    void tooManyPages();

private:
    DemoLists demo_;
};

void TestSearch::initTestCase() {
    demo_ = DemoLists::read(QStringLiteral(TORVANE_BIN_DIR));
    QVERIFY2(demo_.files.size() > 10 && demo_.words.size() > 100, "build the demo word lists first");
}

void TestSearch::layout() {
    FakeHost host;
    frmSearch w(host);
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane - Search"));
    QCOMPARE(w.txtInput->geometry().topLeft(), QPoint(24, 40));
    QCOMPARE(w.txtInput->height(), 24);
    QCOMPARE(w.cmdFTS->text(), QStringLiteral("&Search"));
    QCOMPARE(w.cmdFTS->size(), QSize(89, 25));
    QCOMPARE(w.lblSearch->text(), QStringLiteral("Search Results:"));
    QCOMPARE(w.lblSearch->geometry(), QRect(24, 88, 137, 17));
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:"));
    QCOMPARE(w.lblFound->geometry(), QRect(512, 88, 145, 25));
    QCOMPARE(w.lbResults->geometry().topLeft(), QPoint(24, 112));

    // Form_Resize: the list follows the window; the text box makes room for the button.
    w.resize(1000, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.lbResults->size(), QSize(950, 480));
    QCOMPARE(w.cmdFTS->x(), 880);
    QCOMPARE(w.txtInput->width(), 950 - 89 - 20);
    QCOMPARE(w.txtInput->y(), 40);
}

void TestSearch::typeEnterAndOpen_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("relay") << "relay";
    QTest::newRow("mot") << "mot";
    QTest::newRow("resist") << "resist";
}

void TestSearch::typeEnterAndOpen() {
    QFETCH(QString, typed);
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    search(w, typed);
    const QVector<int> pages = demo_.pagesFor(typed);
    QVERIFY(!pages.isEmpty());
    QCOMPARE(listRows(w), demo_.rowsFor(pages));
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  %1 pages").arg(pages.size()));
    QCOMPARE(w.txtInput->text(), typed); // Enter searched and was swallowed, nothing else

    // Enter in the list opens the selected row's page in the main window.
    const int row = static_cast<int>(pages.size()) - 1;
    w.setListIndex(row);
    QTest::keyClick(w.lbResults, Qt::Key_Return);
    QCOMPARE(host.navigated, QStringList{host.locn + demo_.files[pages[row] - 1]});
    QVERIFY(w.isHidden());
    QCOMPARE(w.FoundPage().at(static_cast<std::size_t>(row)), demo_.files[pages[row] - 1]);
}

void TestSearch::sameResultsWhateverTheCase() {
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    search(w, QStringLiteral("mot"));
    const QStringList lower = listRows(w);
    search(w, QStringLiteral("MOT"));
    QCOMPARE(listRows(w), lower);
    search(w, QStringLiteral("   mot   "));
    QCOMPARE(listRows(w), lower);
}

void TestSearch::twoWords() {
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    const QVector<int> first = demo_.pagesFor(QStringLiteral("relay"));
    const QVector<int> second = demo_.pagesFor(QStringLiteral("coil"));
    QStringList want;
    for (const int r : first) {
        if (std::any_of(second.begin(), second.end(),
                        [&](int s) { return demo_.files[s - 1] == demo_.files[r - 1]; })) {
            want << demo_.titles[r - 1] + QLatin1Char(' ');
        }
    }
    QVERIFY(!want.isEmpty());
    QVERIFY(want.size() < first.size());
    search(w, QStringLiteral("relay  coil"));
    QCOMPARE(listRows(w), want);
    search(w, QStringLiteral("relay coil zzzz"));
    QCOMPARE(listRows(w), want);
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  %1 pages").arg(want.size()));
}

void TestSearch::spacesOnlyChangeNothing() {
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    QTest::keyClick(w.txtInput, Qt::Key_Return); // nothing typed yet
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:"));
    search(w, QStringLiteral("relay"));
    const QStringList rows = listRows(w);
    const QString found = w.lblFound->text();
    search(w, QStringLiteral("     "));
    QCOMPARE(listRows(w), rows);
    QCOMPARE(w.lblFound->text(), found);
}

void TestSearch::doubleClickWithoutSelectionDoesNothing() {
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    search(w, QStringLiteral("relay"));
    QCOMPARE(w.ListIndex(), -1);
    // Below the last row.
    QTest::mouseDClick(w.lbResults->viewport(), Qt::LeftButton, {},
                       QPoint(5, w.lbResults->viewport()->height() - 3));
    w.lbResults_DblClick();
    QVERIFY(host.navigated.isEmpty());
    QVERIFY(w.isVisible());

    // A double-click on a row opens it.
    const QRect second = w.lbResults->visualRect(w.lbResults->model()->index(1, 0));
    QTest::mouseClick(w.lbResults->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(w.lbResults->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(host.navigated, QStringList{host.locn + w.FoundPage().at(1)});
}

void TestSearch::openedFromAMaximisedWindow() {
    FakeHost host;
    host.main.move(300, 200);
    frmSearch w(host);
    w.LoaderUp();
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    search(w, QStringLiteral("relay"));
    w.setListIndex(0);
    w.lbResults_DblClick();
    QVERIFY(host.main.windowState() & Qt::WindowMaximized);
    QCOMPARE(host.main.pos(), QPoint(300, 200));
}

void TestSearch::normalWindowGivesTheMainWindowItsPlace() {
    FakeHost host;
    host.main.setWindowState(Qt::WindowMaximized);
    frmSearch w(host);
    w.move(150, 90);
    w.LoaderUp();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    search(w, QStringLiteral("relay"));
    w.setListIndex(0);
    w.lbResults_DblClick();
    QCOMPARE(host.main.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowStates());
    QCOMPARE(host.main.pos(), w.pos());
}

void TestSearch::listsLoadOncePerRun() {
    FakeHost host;
    frmSearch w(host);
    QVERIFY(!w.loaded());
    w.LoaderUp();
    w.LoaderUp();
    w.ensureLoaded();
    QVERIFY(w.loaded());
    QCOMPARE(host.askedAbout(QStringLiteral("/files.trv")), 1);
    QCOMPARE(host.askedAbout(QStringLiteral("/words.trv")), 1);
}

void TestSearch::missingListsFindNothing() {
    QTemporaryDir empty;
    FakeHost host;
    host.folder = empty.path();
    frmSearch w(host);
    w.LoaderUp();
    search(w, QStringLiteral("relay"));
    QCOMPARE(w.ListCount(), 0);
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  0 pages"));
    QVERIFY(host.boxes.empty());
}

void TestSearch::missingPageListLeavesPagesNameless() {
    QTemporaryDir folder;
    QVERIFY(QFile::copy(QStringLiteral(TORVANE_BIN_DIR "/words.trv"),
                        folder.filePath(QStringLiteral("words.trv"))));
    FakeHost host;
    host.folder = folder.path();
    frmSearch w(host);
    w.LoaderUp();
    QCOMPARE(w.tables().words.text[1], demo_.words[0]);
    QVERIFY(std::all_of(w.tables().pages.file.begin(), w.tables().pages.file.end(),
                        [](const QString& f) { return f.isEmpty(); }));
    search(w, QStringLiteral("relay"));
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  0 pages"));
}

void TestSearch::tooManyPages() {
    QTemporaryDir folder;
    QFile files(folder.filePath(QStringLiteral("files.trv")));
    QVERIFY(files.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 20001; ++i) {
        files.write(QStringLiteral("%1\tp%2.trv\tPage %2\r\n").arg(i % 30000).arg(i).toLatin1());
    }
    files.close();
    QFile words(folder.filePath(QStringLiteral("words.trv")));
    QVERIFY(words.open(QIODevice::WriteOnly));
    words.write("last\t20000\t20001\t\r\n");
    words.close();

    FakeHost host;
    host.folder = folder.path();
    frmSearch w(host);
    w.LoaderUp();
    QCOMPARE(host.boxes.size(), std::size_t{1});
    QCOMPARE(host.boxes[0].text, QStringLiteral("Too many files!"));
    QCOMPARE(host.boxes[0].style, 0);
    QVERIFY(w.isVisible());
    search(w, QStringLiteral("last"));
    QCOMPARE(listRows(w), QStringList{QStringLiteral("Page 20000 ")});
}

TORVANE_SECONDARY_TEST_MAIN(TestSearch)
#include "tst_search.moc"
