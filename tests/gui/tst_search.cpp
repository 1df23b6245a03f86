// The search window over the demo course's word lists, driven through a fake main window.
#include "demolists.h"
#include "fakehost.h"
#include "parts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <search/frmsearch.h>

using torvane::search::frmSearch;
using torvane::testing::clickRow;
using torvane::testing::DemoLists;
using torvane::testing::FakeHost;
using torvane::testing::part;

namespace {

QStringList listRows(const frmSearch& w) {
    return w.view().rows;
}

// Types `typed` over whatever the text box holds, and presses Enter in it.
void search(frmSearch& w, const QString& typed) {
    auto& box = part<QLineEdit>(w, "txtInput");
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, typed);
    QTest::keyClick(&box, Qt::Key_Return);
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
    torvane::secondary::SecondaryView v = w.view();
    QCOMPARE(v.input.rect.topLeft(), QPoint(24, 40));
    QCOMPARE(v.input.rect.height(), 24);
    QCOMPARE(v.button.text, QStringLiteral("&Search"));
    QCOMPARE(v.button.rect.size(), QSize(89, 25));
    QCOMPARE(v.heading.text, QStringLiteral("Search Results:"));
    QCOMPARE(v.heading.rect, QRect(24, 88, 137, 17));
    QCOMPARE(v.found.text, QStringLiteral("Found:"));
    QCOMPARE(v.found.rect, QRect(512, 88, 145, 25));
    QCOMPARE(v.list.topLeft(), QPoint(24, 112));

    // Form_Resize: the list follows the window; the text box makes room for the button.
    w.resize(1000, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.view().list.size(), QSize(950, 480));
    v = w.view();
    QCOMPARE(v.button.rect.x(), 880);
    QCOMPARE(v.input.rect.width(), 950 - 89 - 20);
    QCOMPARE(v.input.rect.y(), 40);
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
    // The list's model keeps the item-model contract through every search.
    QAbstractItemModelTester tester(part<QListView>(w, "lbResults").model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);

    search(w, typed);
    const QVector<int> pages = demo_.pagesFor(typed);
    QVERIFY(!pages.isEmpty());
    QCOMPARE(listRows(w), demo_.rowsFor(pages));
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  %1 pages").arg(pages.size()));
    QCOMPARE(w.view().input.text, typed); // Enter searched and was swallowed, nothing else

    // Enter in the list opens the selected row's page in the main window.
    const int row = static_cast<int>(pages.size()) - 1;
    clickRow(w, row);
    QCOMPARE(w.view().selectedRow, row);
    QTest::keyClick(&part<QListView>(w, "lbResults"), Qt::Key_Return);
    QTRY_COMPARE(host.navigated, QStringList{host.locn + demo_.files[pages[row] - 1]});
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
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  %1 pages").arg(want.size()));
}

void TestSearch::spacesOnlyChangeNothing() {
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    QTest::keyClick(&part<QLineEdit>(w, "txtInput"), Qt::Key_Return); // nothing typed yet
    QCOMPARE(w.view().found.text, QStringLiteral("Found:"));
    search(w, QStringLiteral("relay"));
    const QStringList rows = listRows(w);
    const QString found = w.view().found.text;
    search(w, QStringLiteral("     "));
    QCOMPARE(listRows(w), rows);
    QCOMPARE(w.view().found.text, found);
}

void TestSearch::doubleClickWithoutSelectionDoesNothing() {
    FakeHost host;
    frmSearch w(host);
    w.LoaderUp();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    search(w, QStringLiteral("relay"));
    QCOMPARE(w.view().selectedRow, -1);
    torvane::testing::doubleClickBelowTheRows(w);
    w.lbResults_DblClick();
    QVERIFY(host.navigated.isEmpty());
    QVERIFY(w.isVisible());

    // A double-click on a row opens it.
    torvane::testing::doubleClickRow(w, 1);
    QTRY_COMPARE(host.navigated, QStringList{host.locn + w.FoundPage().at(1)});
}

void TestSearch::openedFromAMaximisedWindow() {
    FakeHost host;
    host.main.move(300, 200);
    frmSearch w(host);
    w.LoaderUp();
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    search(w, QStringLiteral("relay"));
    clickRow(w, 0);
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
    clickRow(w, 0);
    w.lbResults_DblClick();
    QTRY_COMPARE(host.main.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowStates());
    QTRY_COMPARE(host.main.pos(), w.pos());
}

void TestSearch::listsLoadOncePerRun() {
    FakeHost host;
    frmSearch w(host);
    QVERIFY(!w.loaded());
    w.LoaderUp();
    w.LoaderUp();
    w.searchFor(QStringLiteral("relay")); // as the index window searches
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
    QVERIFY(listRows(w).isEmpty());
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  0 pages"));
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
    // The words are loaded, and every page is nameless: no word finds a page.
    const torvane::courselists::SearchTables& tables = host.lists.tables();
    QCOMPARE(tables.words.at(1).text, demo_.words[0]);
    for (int k = 1; k <= torvane::courselists::PageTable::kLastSlot; ++k) {
        QVERIFY(tables.pages.at(k).file.isEmpty());
    }
    search(w, QStringLiteral("relay"));
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  0 pages"));
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
