// The index window over the demo course's word list, driven through a fake main window.
#include "demolists.h"
#include "fakehost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
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
using torvane::testing::DemoLists;
using torvane::testing::FakeHost;

namespace {

QStringList listRows(const frmIndex& w) {
    QStringList rows;
    for (int i = 0; i < w.ListCount(); ++i) {
        rows << w.List(i);
    }
    return rows;
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
    QCOMPARE(w.lblIndex->text(), QStringLiteral("Index Results:"));
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:"));
    QCOMPARE(w.lblFound->geometry(), QRect(512, 88, 145, 25));
    w.resize(1000, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.lbResults->size(), QSize(950, 480));
    QCOMPARE(w.txtInput->width(), 800);
    QCOMPARE(w.lbResults->pos(), QPoint(24, 112));
}

void TestIndex::narrowingAtEveryChange() {
    FakeHost host;
    frmIndex w(host);
    w.LoadWords();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::keyClicks(w.txtInput, QStringLiteral("c"));
    QStringList c;
    for (const QString& word : demo_.words) {
        if (word.startsWith(QLatin1Char('c'), Qt::CaseInsensitive)) {
            c << word + QLatin1Char(' ');
        }
    }
    QCOMPARE(listRows(w), c);
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  %1 words").arg(c.size()));

    QTest::keyClicks(w.txtInput, QStringLiteral("o"));
    const QStringList co = listRows(w);
    QVERIFY(!co.isEmpty());
    QVERIFY(co.size() < c.size());
    for (const QString& row : co) {
        QVERIFY2(row.startsWith(QStringLiteral("co"), Qt::CaseInsensitive), qPrintable(row));
    }

    QTest::keyClicks(w.txtInput, QStringLiteral("zzq"));
    QCOMPARE(w.ListCount(), 0);
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  0 words"));

    // Cleared: every word of the table.
    w.txtInput->clear();
    QCOMPARE(w.ListCount(), demo_.words.size());
    QCOMPARE(w.lblFound->text(), QStringLiteral("Found:  %1 words").arg(demo_.words.size()));
    QCOMPARE(w.List(0), demo_.words[0] + QLatin1Char(' '));
}

void TestIndex::typedCaseDoesNotMatter() {
    FakeHost host;
    frmIndex w(host);
    w.LoadWords();
    w.txtInput->setText(QStringLiteral("co"));
    const QStringList lower = listRows(w);
    w.txtInput->setText(QStringLiteral("CO"));
    QCOMPARE(listRows(w), lower);
    w.txtInput->setText(QStringLiteral("  co  "));
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
    w.txtInput->setText(QStringLiteral("c"));
    QCOMPARE(listRows(w), (QStringList{"coil ", "Copper "}));
    w.txtInput->setText(QString());
    QCOMPARE(listRows(w), (QStringList{" cable ", "coil ", "Copper "}));
}

void TestIndex::doubleClickAsTheFirstActionOfARun() {
    FakeHost host;
    Windows windows(host);
    frmIndex& w = windows.index;
    w.LoadWords();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!windows.search.loaded());

    QTest::keyClicks(w.txtInput, QStringLiteral("relay"));
    QVERIFY(w.ListCount() > 0);
    const QString word = w.List(0);
    const QRect first = w.lbResults->visualRect(w.lbResults->model()->index(0, 0));
    QTest::mouseClick(w.lbResults->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(w.lbResults->viewport(), Qt::LeftButton, {}, first.center());

    // The search window searched for the word, its trailing space and all, on its freshly loaded lists.
    QCOMPARE(windows.search.txtInput->text(), word);
    QVERIFY(windows.search.loaded());
    const QVector<int> pages = demo_.pagesFor(word.trimmed());
    QVERIFY(!pages.isEmpty());
    QCOMPARE(windows.search.ListCount(), pages.size());
    QCOMPARE(windows.search.List(0), demo_.rowsFor(pages).front());
    QCOMPARE(windows.search.lblFound->text(), QStringLiteral("Found:  %1 pages").arg(pages.size()));
    QCOMPARE(host.navigated, QStringList{host.locn + QStringLiteral("search.trv")});
    QVERIFY(w.isHidden());

    // The navigation handler then opens the search window for the first time: no second load.
    windows.search.LoaderUp();
    QCOMPARE(host.askedAbout(QStringLiteral("/files.trv")), 1);
    QCOMPARE(windows.search.List(0), demo_.rowsFor(pages).front());
}

void TestIndex::enterActsLikeADoubleClick() {
    FakeHost host;
    Windows windows(host);
    frmIndex& w = windows.index;
    w.LoadWords();
    w.txtInput->setText(QStringLiteral("mot"));
    w.setListIndex(1);
    const QString word = w.List(1);
    // From the text box too: the window's key handler takes Enter whichever control has the focus.
    QTest::keyClick(w.txtInput, Qt::Key_Return);
    QCOMPARE(windows.search.txtInput->text(), word);
    QCOMPARE(host.navigated.size(), 1);
}

void TestIndex::doubleClickWithoutSelectionDoesNothing() {
    FakeHost host;
    Windows windows(host);
    windows.index.LoadWords();
    windows.index.txtInput->setText(QStringLiteral("mot"));
    QCOMPARE(windows.index.ListIndex(), -1);
    QTest::keyClick(windows.index.lbResults, Qt::Key_Return);
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
    w.txtInput->setText(QStringLiteral("w2000"));
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
    QCOMPARE(w.ListCount(), 0);
    w.txtInput->setText(QStringLiteral("x"));
    w.txtInput->setText(QString());
    QCOMPARE(w.ListCount(), 20000);
    qint64 worst = 0;
    for (const char* typed : {"c", "co", "c", "", "m"}) {
        QElapsedTimer clock;
        clock.start();
        w.txtInput->setText(QString::fromLatin1(typed));
        w.lbResults->repaint();
        worst = std::max(worst, clock.elapsed());
    }
    qInfo("slowest keystroke with repaint: %lld ms", static_cast<long long>(worst));
    // A generous bound for a debug build on a loaded machine; the release figures are in the README.
    QVERIFY2(worst < 100, qPrintable(QString::number(worst)));
}

TORVANE_SECONDARY_TEST_MAIN(TestIndex)
#include "tst_index.moc"
