// The index window over the demo course's word list, driven through a fake main window.
#include "demolists.h"
#include "fakehost.h"
#include "parts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <history/frmhist.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>

using torvane::history::frmHist;
using torvane::search::frmIndex;
using torvane::search::frmSearch;
using torvane::testing::clickRow;
using torvane::testing::DemoLists;
using torvane::testing::FakeHost;
using torvane::testing::part;

namespace {

QStringList listRows(const frmIndex& w) {
    return w.view().rows;
}

QLineEdit& textBox(const QWidget& w) {
    return part<QLineEdit>(w, "txtInput");
}

// Types `typed` over whatever the text box holds.
void typeOver(QWidget& w, const QString& typed) {
    QLineEdit& box = textBox(w);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClicks(&box, typed);
}

// The three windows as the main window wires them.
struct Windows {
    explicit Windows(FakeHost& host) : search(host), index(host), hist(host) {
        for (torvane::secondary::SecondaryWindow* w :
             std::initializer_list<torvane::secondary::SecondaryWindow*>{&search, &index, &hist}) {
            w->setPeers(&search, &index, &hist);
        }
    }
    frmSearch search;
    frmIndex index;
    frmHist hist;
};

} // namespace

class TestIndex final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layout();
    void narrowingAtEveryChange();
    void typedCaseDoesNotMatter();
    void leadingSpaceIsPartOfTheWord();
    void doubleClickAsTheFirstActionOfARun();
    void enterActsLikeADoubleClick();
    void doubleClickWithoutSelectionDoesNothing();
    void tooManyWords();
    void keystrokeAtCapacity();

private:
    DemoLists demo_;
};

void TestIndex::initTestCase() {
    demo_ = DemoLists::read(QStringLiteral(TORVANE_BIN_DIR));
    QVERIFY2(demo_.words.size() > 100, "build the demo word lists first");
}

void TestIndex::layout() {
    FakeHost host;
    frmIndex w(host);
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvane - Index"));
    torvane::secondary::SecondaryView v = w.view();
    QCOMPARE(v.heading.text, QStringLiteral("Index Results:"));
    QCOMPARE(v.found.text, QStringLiteral("Found:"));
    QCOMPARE(v.found.rect, QRect(512, 88, 145, 25));
    QVERIFY(v.button.name.isEmpty());
    w.resize(1000, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.view().list.size(), QSize(950, 480));
    v = w.view();
    QCOMPARE(v.input.rect.width(), 800);
    QCOMPARE(v.list.topLeft(), QPoint(24, 112));
}

void TestIndex::narrowingAtEveryChange() {
    FakeHost host;
    frmIndex w(host);
    w.LoadWords();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::keyClicks(&textBox(w), QStringLiteral("c"));
    QStringList c;
    for (const QString& word : demo_.words) {
        if (word.startsWith(QLatin1Char('c'), Qt::CaseInsensitive)) {
            c << word + QLatin1Char(' ');
        }
    }
    QCOMPARE(listRows(w), c);
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  %1 words").arg(c.size()));

    QTest::keyClicks(&textBox(w), QStringLiteral("o"));
    const QStringList co = listRows(w);
    QVERIFY(!co.isEmpty());
    QVERIFY(co.size() < c.size());
    for (const QString& row : co) {
        QVERIFY2(row.startsWith(QStringLiteral("co"), Qt::CaseInsensitive), qPrintable(row));
    }

    QTest::keyClicks(&textBox(w), QStringLiteral("zzq"));
    QVERIFY(listRows(w).isEmpty());
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  0 words"));

    // Cleared: every word of the table.
    typeOver(w, QString());
    QCOMPARE(listRows(w).size(), demo_.words.size());
    QCOMPARE(w.view().found.text, QStringLiteral("Found:  %1 words").arg(demo_.words.size()));
    QCOMPARE(listRows(w).front(), demo_.words[0] + QLatin1Char(' '));
}

void TestIndex::typedCaseDoesNotMatter() {
    FakeHost host;
    frmIndex w(host);
    w.LoadWords();
    typeOver(w, QStringLiteral("co"));
    const QStringList lower = listRows(w);
    typeOver(w, QStringLiteral("CO"));
    QCOMPARE(listRows(w), lower);
    typeOver(w, QStringLiteral("  co  "));
    QCOMPARE(listRows(w), lower);
}

void TestIndex::leadingSpaceIsPartOfTheWord() {
    QTemporaryDir folder;
    QFile words(folder.filePath(QStringLiteral("words.trv")));
    QVERIFY(words.open(QIODevice::WriteOnly));
    words.write(" cable\t1\t\r\ncoil\t1\t\r\n\r\nCopper\t1\t\r\n");
    words.close();
    FakeHost host;
    host.folder = folder.path();
    frmIndex w(host);
    w.LoadWords();
    typeOver(w, QStringLiteral("c"));
    QCOMPARE(listRows(w), (QStringList{"coil ", "Copper "}));
    typeOver(w, QString());
    QCOMPARE(listRows(w), (QStringList{" cable ", "coil ", "Copper "}));
}

void TestIndex::doubleClickAsTheFirstActionOfARun() {
    FakeHost host;
    Windows windows(host);
    frmIndex& w = windows.index;
    w.LoadWords();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!windows.search.loaded());

    QTest::keyClicks(&textBox(w), QStringLiteral("relay"));
    QVERIFY(!listRows(w).isEmpty());
    const QString word = listRows(w).front();
    torvane::testing::doubleClickRow(w, 0);

    // The search window searched for the word, its trailing space and all, on its freshly loaded lists.
    QTRY_COMPARE(host.navigated.size(), 1);
    const torvane::secondary::SecondaryView search = windows.search.view();
    QCOMPARE(search.input.text, word);
    QVERIFY(windows.search.loaded());
    const QVector<int> pages = demo_.pagesFor(word.trimmed());
    QVERIFY(!pages.isEmpty());
    QCOMPARE(search.rows, demo_.rowsFor(pages));
    QCOMPARE(search.found.text, QStringLiteral("Found:  %1 pages").arg(pages.size()));
    QCOMPARE(host.navigated, QStringList{host.locn + QStringLiteral("search.trv")});
    QVERIFY(w.isHidden());

    // The navigation handler then opens the search window for the first time: no second load.
    windows.search.LoaderUp();
    QCOMPARE(host.askedAbout(QStringLiteral("/files.trv")), 1);
    QCOMPARE(windows.search.view().rows, demo_.rowsFor(pages));
}

void TestIndex::enterActsLikeADoubleClick() {
    FakeHost host;
    Windows windows(host);
    frmIndex& w = windows.index;
    w.LoadWords();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    typeOver(w, QStringLiteral("mot"));
    clickRow(w, 1);
    const QString word = listRows(w).at(1);
    // From the text box too: the window's key handler takes Enter whichever control has the focus.
    QTest::keyClick(&textBox(w), Qt::Key_Return);
    QTRY_COMPARE(host.navigated.size(), 1);
    QCOMPARE(windows.search.view().input.text, word);
}

void TestIndex::doubleClickWithoutSelectionDoesNothing() {
    FakeHost host;
    Windows windows(host);
    windows.index.LoadWords();
    typeOver(windows.index, QStringLiteral("mot"));
    QCOMPARE(windows.index.view().selectedRow, -1);
    QTest::keyClick(&part<QListView>(windows.index, "lbResults"), Qt::Key_Return);
    windows.index.lbResults_DblClick();
    QVERIFY(host.navigated.isEmpty());
    QVERIFY(!windows.search.loaded());
    QVERIFY(windows.index.isVisible());
}

void TestIndex::tooManyWords() {
    QTemporaryDir folder;
    QFile words(folder.filePath(QStringLiteral("words.trv")));
    QVERIFY(words.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 20001; ++i) {
        words.write(QStringLiteral("w%1\t1\t\r\n").arg(i).toLatin1());
    }
    words.close();
    FakeHost host;
    host.folder = folder.path();
    frmIndex w(host);
    w.LoadWords();
    QCOMPARE(host.boxes.size(), std::size_t{1});
    QCOMPARE(host.boxes[0].text, QStringLiteral("Too many words!"));
    typeOver(w, QStringLiteral("w2000"));
    QCOMPARE(listRows(w), (QStringList{"w2000 ", "w20000 "}));
}

// One keystroke over a full table, with the list on screen, fits in a frame.
void TestIndex::keystrokeAtCapacity() {
    QTemporaryDir folder;
    QFile words(folder.filePath(QStringLiteral("words.trv")));
    QVERIFY(words.open(QIODevice::WriteOnly));
    for (int i = 0; i < 20000; ++i) {
        QString w;
        for (int n = i * 7919 % 456976, d = 0; d < 4; ++d, n /= 26) {
            w += QChar(u'a' + n % 26);
        }
        words.write((w + QStringLiteral("%1\t1\t\r\n").arg(i)).toLatin1());
    }
    words.close();
    FakeHost host;
    host.folder = folder.path();
    frmIndex w(host);
    w.LoadWords();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The list stays empty until the text box first changes.
    QVERIFY(listRows(w).isEmpty());
    QLineEdit& box = textBox(w);
    QTest::keyClick(&box, Qt::Key_X);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(listRows(w).size(), 20000);
    // Each step is one keystroke: a letter typed, or one taken away.
    QListView& list = part<QListView>(w, "lbResults");
    qint64 worst = 0;
    for (const Qt::Key key : {Qt::Key_C, Qt::Key_O, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_M}) {
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(&box, key);
        list.repaint();
        worst = std::max(worst, clock.elapsed());
    }
    QCOMPARE(w.view().input.text, QStringLiteral("m"));
    qInfo("slowest keystroke with repaint: %lld ms", static_cast<long long>(worst));
    // A generous bound for a debug build on a loaded machine; the release figures are in the README.
    QVERIFY2(worst < 100, qPrintable(QString::number(worst)));
}

TORVANE_SECONDARY_TEST_MAIN(TestIndex)
#include "tst_index.moc"
