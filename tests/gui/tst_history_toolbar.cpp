// The toolbar, keys, help picture, hand-over and quit question the three secondary windows share,
// checked in each of them through a fake main window.
#include "fakehost.h"
#include "parts.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <history/frmhist.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>

using torvane::secondary::SecondaryWindow;
using torvane::testing::FakeHost;
using torvane::testing::part;
using Kind = SecondaryWindow::Kind;

Q_DECLARE_METATYPE(SecondaryWindow::Kind)

namespace {

// The three windows wired as the main window wires them.
struct Windows {
    explicit Windows(FakeHost& host) : search(host), index(host), hist(host) {
        for (SecondaryWindow* w : all()) {
            w->setPeers(&search, &index, &hist);
        }
    }
    std::array<SecondaryWindow*, 3> all() { return {&search, &index, &hist}; }
    SecondaryWindow& of(Kind kind) {
        return kind == Kind::Search  ? static_cast<SecondaryWindow&>(search)
               : kind == Kind::Index ? static_cast<SecondaryWindow&>(index)
                                     : static_cast<SecondaryWindow&>(hist);
    }
    torvane::search::frmSearch search;
    torvane::search::frmIndex index;
    torvane::history::frmHist hist;
};

// Clicks the window's toolbar button `name` with the mouse.
void click(const SecondaryWindow& w, const char* name) {
    QTest::mouseClick(&part<QPushButton>(w, name), Qt::LeftButton);
}

bool helpShown(const SecondaryWindow& w) {
    return w.view().helpShown;
}

void kinds() {
    QTest::addColumn<Kind>("kind");
    QTest::newRow("search") << Kind::Search;
    QTest::newRow("index") << Kind::Index;
    QTest::newRow("history") << Kind::History;
}

} // namespace

class TestToolbar final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void buttonsOfEachWindow_data() { kinds(); }
    void buttonsOfEachWindow();
    void contents_data();
    void contents();
    void backPrevNextAllStepBack_data() { kinds(); }
    void backPrevNextAllStepBack();
    void helpAndSectionToggleThePicture_data() { kinds(); }
    void helpAndSectionToggleThePicture();
    void historyButtonInTheHistoryWindow();
    void hideRule_data() { kinds(); }
    void hideRule();
    void print_data() { kinds(); }
    void print();
    void calc();
    void buttonsThatOpenAnotherWindow_data();
    void buttonsThatOpenAnotherWindow();
    void handOverOfAMaximisedWindow();
    void keys_data() { kinds(); }
    void keys();
    void accessKeysWithTheHelpPictureUp_data() { kinds(); }
    void accessKeysWithTheHelpPictureUp();
    void enterInTheListWindows();
    void quitAnsweredNoThenYes_data() { kinds(); }
    void quitAnsweredNoThenYes();
    void quitWithoutAnAnswerDoesNothing();
    void negativeLeftIsPutBackOnScreen_data() { kinds(); }
    void negativeLeftIsPutBackOnScreen();
    void activationHidesTheOtherWindows_data() { kinds(); }
    void activationHidesTheOtherWindows();

private:
    std::unique_ptr<QTemporaryDir> bill_;
};

void TestToolbar::init() {
    bill_ = std::make_unique<QTemporaryDir>();
}

void TestToolbar::buttonsOfEachWindow() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    const QString third = kind == Kind::Search ? QStringLiteral("&Index") : QStringLiteral("&Search");
    const QStringList captions = {"&Contents", "&Print",   third,   "&Back", "&<<",
                                  "&>>",       "His&tory", "C&alc", "&Help", "Sectio&n"};
    const QString thirdName = kind == Kind::Search ? QStringLiteral("cmdIndex") : QStringLiteral("cmdSearch");
    const QStringList names = {"cmdCont", "cmdPrint", thirdName, "cmdBack", "cmdPrev",
                               "cmdNext", "cmdHist",  "cmdCalc", "cmdHelp", "cmdSecn"};
    const torvane::secondary::SecondaryView v = w.view();
    for (int i = 0; i < captions.size(); ++i) {
        const torvane::secondary::ControlView& button = v.toolbar.at(static_cast<std::size_t>(i));
        QCOMPARE(button.name, names[i]);
        QCOMPARE(button.text, captions[i]);
        // Lefts 45 + 990 i twips, top 30, 975 x 280: in pixels at 15 twips each.
        QCOMPARE(button.rect, QRect(qFloor((45 + 990 * i) / 15.0 + 0.5), 2, 65, 19));
        QVERIFY(button.font.bold());
        QCOMPARE(button.font.family(), QStringLiteral("MS Sans Serif"));
    }
    QCOMPARE(w.palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(v.help, QRect(40, 48, 809, 649));
    QVERIFY(!v.helpShown);
    QVERIFY(v.helpDrawn.isEmpty()); // drawn when first shown
    w.cmdHelp_Click();
    QCOMPARE(w.view().helpDrawn, QSize(800, 640));
}

void TestToolbar::contents_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("screenSize");
    QTest::addColumn<QString>("page");
    QTest::newRow("search, class 3") << Kind::Search << 3 << "trvc.trv";
    QTest::newRow("index, class 2") << Kind::Index << 2 << "trvb.trv";
    QTest::newRow("history, class 7") << Kind::History << 7 << "trvg.trv";
    QTest::newRow("class 1") << Kind::History << 1 << "trva.trv";
    QTest::newRow("class 0") << Kind::Search << 0 << "trva.trv";
    QTest::newRow("class 9") << Kind::Index << 9 << "trva.trv";
    QTest::newRow("class 65538") << Kind::Index << 65538 << "trva.trv";
}

void TestToolbar::contents() {
    QFETCH(Kind, kind);
    QFETCH(int, screenSize);
    QFETCH(QString, page);
    FakeHost host;
    host.size = screenSize;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    w.move(120, 80);
    host.main.move(10, 10);
    click(w, "cmdCont");
    QTRY_COMPARE(host.navigated, QStringList{host.locn + page});
    QCOMPARE(host.main.pos(), QPoint(120, 80)); // handed over first
    // Pressed again from the contents page it never goes to the second contents page.
    w.cmdCont_Click();
    QCOMPARE(host.navigated.last(), host.locn + page);
}

void TestToolbar::backPrevNextAllStepBack() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    click(w, "cmdBack");
    click(w, "cmdPrev");
    click(w, "cmdNext");
    QCOMPARE(host.backs, 3);
    QVERIFY(host.navigated.isEmpty());
}

void TestToolbar::helpAndSectionToggleThePicture() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    for (const char* button : {"cmdHelp", "cmdSecn"}) {
        click(w, button);
        QVERIFY(helpShown(w));
        click(w, button);
        QVERIFY(!helpShown(w));
    }
    w.cmdHelp_Click();
    w.cmdSecn_Click(); // either one hides what the other showed
    QVERIFY(!helpShown(w));
    QVERIFY(host.navigated.isEmpty());
}

void TestToolbar::historyButtonInTheHistoryWindow() {
    QTemporaryDir bill;
    FakeHost host;
    host.bill = bill.path() + QLatin1Char('/');
    QFile history(host.bill + "history.trv");
    QVERIFY(history.open(QIODevice::WriteOnly));
    history.write("\"tr010002.trv\"\r\n");
    history.close();
    Windows windows(host);
    windows.hist.LoadHist();
    QCOMPARE(windows.hist.view().rows.size(), 1);
    QVERIFY(history.open(QIODevice::Append));
    history.write("\"tr010003.trv\"\r\n");
    history.close();

    click(windows.hist, "cmdHist");
    QVERIFY(helpShown(windows.hist));
    click(windows.hist, "cmdHist");
    QVERIFY(!helpShown(windows.hist));
    QCOMPARE(windows.hist.view().rows.size(), 1); // not reloaded
    QVERIFY(host.navigated.isEmpty());
}

void TestToolbar::hideRule() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    struct Command {
        const char* name;
        std::function<void()> run;
        bool hides;
    };
    const std::vector<Command> commands = {
        {"Contents", [&] { w.cmdCont_Click(); }, true},
        {"Print", [&] { w.cmdPrint_Click(); }, false},
        {"Search/Index", [&] { kind == Kind::Search ? w.cmdIndex_Click() : w.cmdSearch_Click(); }, true},
        {"Back", [&] { w.cmdBack_Click(); }, true},
        {"<<", [&] { w.cmdPrev_Click(); }, true},
        {">>", [&] { w.cmdNext_Click(); }, true},
        {"History", [&] { w.cmdHist_Click(); }, true},
        {"Calc", [&] { w.cmdCalc_Click(); }, true},
        {"click on the picture",
         [&] { QTest::mouseClick(&part<QWidget>(w, "picHelp"), Qt::LeftButton, {}, QPoint(10, 10)); }, true},
    };
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (const Command& c : commands) {
        if (kind == Kind::History && QLatin1String(c.name) == QLatin1String("History")) {
            continue; // there it shows and hides the picture, like Help
        }
        if (!helpShown(w)) {
            w.cmdHelp_Click();
        }
        c.run();
        QCOMPARE(!helpShown(w), c.hides);
        w.show(); // the commands that open another window hide nothing here, but keep it certain
    }
}

void TestToolbar::print() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    click(w, "cmdPrint");
    w.cmdHelp_Click();
    click(w, "cmdPrint");
    QCOMPARE(host.printed, (std::vector<bool>{false, true}));
    QCOMPARE(host.printedSize, QSize(800, 640));
    QVERIFY(helpShown(w)); // printing leaves the picture up
}

void TestToolbar::calc() {
    FakeHost host;
    Windows windows(host);
    for (SecondaryWindow* w : windows.all()) {
        click(*w, "cmdCalc");
    }
    QCOMPARE(host.calculators, 3);
}

void TestToolbar::buttonsThatOpenAnotherWindow_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Kind>("opened");
    QTest::addColumn<QString>("page");
    QTest::newRow("search: index") << Kind::Search << "cmdIndex" << Kind::Index << "index.trv";
    QTest::newRow("search: history") << Kind::Search << "cmdHist" << Kind::History << "hist.trv";
    QTest::newRow("index: search") << Kind::Index << "cmdSearch" << Kind::Search << "search.trv";
    QTest::newRow("index: history") << Kind::Index << "cmdHist" << Kind::History << "hist.trv";
    QTest::newRow("history: search") << Kind::History << "cmdSearch" << Kind::Search << "search.trv";
}

void TestToolbar::buttonsThatOpenAnotherWindow() {
    QFETCH(Kind, kind);
    QFETCH(QString, button);
    QFETCH(Kind, opened);
    QFETCH(QString, page);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    w.move(130, 70);
    click(w, qPrintable(button));
    QTRY_COMPARE(host.navigated, QStringList{host.locn + page});
    QCOMPARE(host.main.pos(), QPoint(130, 70));
    QCOMPARE(windows.of(opened).pos(), QPoint(130, 70));
    // The window itself opens when its placeholder completes, through the navigation handler.
    QVERIFY(windows.of(opened).isHidden());
}

void TestToolbar::handOverOfAMaximisedWindow() {
    FakeHost host;
    Windows windows(host);
    host.main.move(300, 200);
    windows.hist.move(310, 210);
    windows.search.showMaximized();
    QTRY_VERIFY(windows.search.isMaximized());
    windows.search.cmdHist_Click();
    QTRY_VERIFY(host.main.windowState() & Qt::WindowMaximized);
    QTRY_VERIFY(windows.hist.windowState() & Qt::WindowMaximized);
    QTRY_COMPARE(host.main.pos(), QPoint(300, 200));
    QTRY_COMPARE(windows.hist.pos(), QPoint(310, 210));
}

void TestToolbar::keys() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    w.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget* list = &part<QListView>(w, "lbResults");
    QWidget* text = w.findChild<QLineEdit*>(QStringLiteral("txtInput")); // none in the history window

    // Alt+comma and Alt+full stop step back, whichever control has the keys.
    QTest::keyClick(list, Qt::Key_Comma, Qt::AltModifier);
    QTest::keyClick(text != nullptr ? text : list, Qt::Key_Period, Qt::AltModifier);
    QTest::keyClick(&w, Qt::Key_Comma, Qt::AltModifier);
    QCOMPARE(host.backs, 3);

    // Any key hides the help picture.
    w.cmdHelp_Click();
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(!helpShown(w));
    w.cmdHelp_Click();
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!helpShown(w));

    // Alt+Q asks the quit question over this window.
    QTest::keyClick(text != nullptr ? text : list, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(host.boxes.size(), std::size_t{1});
    QCOMPARE(host.boxes[0].text, QStringLiteral("Do you want to quit?"));
    QCOMPARE(host.boxes[0].owner, &w);
    QCOMPARE(host.ended, 0);

    // The access keys press their buttons.
    // (A button pressed by its access key clicks a moment later, after showing itself pressed.)
    QTest::keyClick(&w, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(host.backs, 4);
    QTest::keyClick(&w, Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(helpShown(w));
}

// Every access key with the help picture up: the key hides the picture first, then its button acts as
// a click would on a window without the picture (so Print prints the page, and Help shows it again).
void TestToolbar::accessKeysWithTheHelpPictureUp() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    w.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget* typing = QApplication::focusWidget();
    QVERIFY(typing != nullptr && typing->window() == &w);

    const QString other = kind == Kind::Search ? QStringLiteral("index.trv") : QStringLiteral("search.trv");
    const QString history = kind == Kind::History ? QString() : QStringLiteral("hist.trv");
    const struct {
        Qt::Key key;
        bool pictureAfter;
        QString navigatedTo; // "" nowhere
        int backs;
        int pagesPrinted;
        int calculators;
    } rows[] = {
        {Qt::Key_C, false, QStringLiteral("trvc.trv"), 0, 0, 0},
        {Qt::Key_P, false, {}, 0, 1, 0},
        {kind == Kind::Search ? Qt::Key_I : Qt::Key_S, false, other, 0, 0, 0},
        {Qt::Key_B, false, {}, 1, 0, 0},
        {Qt::Key_Less, false, {}, 1, 0, 0},
        {Qt::Key_Greater, false, {}, 1, 0, 0},
        {Qt::Key_T, kind == Kind::History, history, 0, 0, 0},
        {Qt::Key_A, false, {}, 0, 0, 1},
        {Qt::Key_H, true, {}, 0, 0, 0},
        {Qt::Key_N, true, {}, 0, 0, 0},
    };
    for (const auto& row : rows) {
        const QString what = QKeySequence(row.key).toString();
        if (!helpShown(w)) {
            w.cmdHelp_Click();
        }
        host.navigated.clear();
        host.printed.clear();
        const int backs = host.backs;
        const int calculators = host.calculators;
        QTest::keyClick(typing, row.key, Qt::AltModifier);
        QCOMPARE(helpShown(w), row.pictureAfter);
        QTRY_COMPARE(host.navigated.isEmpty() ? QString() : host.navigated.last().mid(host.locn.size()),
                     row.navigatedTo);
        QCOMPARE(host.backs - backs, row.backs);
        QCOMPARE(int(std::count(host.printed.begin(), host.printed.end(), false)), row.pagesPrinted);
        QVERIFY2(std::count(host.printed.begin(), host.printed.end(), true) == 0, qPrintable(what));
        QCOMPARE(host.calculators - calculators, row.calculators);
    }
}

void TestToolbar::enterInTheListWindows() {
    QTemporaryDir bill;
    FakeHost host;
    host.bill = bill.path() + QLatin1Char('/');
    QFile history(host.bill + "history.trv");
    QVERIFY(history.open(QIODevice::WriteOnly));
    history.write("\"tr010002.trv\"\r\n");
    history.close();
    Windows windows(host);
    windows.hist.LoadHist();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.hist));
    torvane::testing::clickRow(windows.hist, 0);
    // Enter on a toolbar button in the history window still opens the selected row.
    QTest::keyClick(&part<QPushButton>(windows.hist, "cmdPrint"), Qt::Key_Return);
    QTRY_COMPARE(host.navigated, QStringList{host.locn + "tr010002.trv"});
    QVERIFY(host.printed.empty());

    // In the search window Enter does nothing through the window's own handler.
    host.navigated.clear();
    windows.search.LoaderUp();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.search));
    windows.search.searchFor(QStringLiteral("relay"));
    torvane::testing::clickRow(windows.search, 0);
    QTest::keyClick(&windows.search, Qt::Key_Return);
    QVERIFY(host.navigated.isEmpty());
}

void TestToolbar::quitAnsweredNoThenYes() {
    QFETCH(Kind, kind);
    FakeHost host;
    host.bill = bill_->path() + QLatin1Char('/');
    QFile history(host.bill + "history.trv");
    QVERIFY(history.open(QIODevice::WriteOnly));
    history.write("\"tr010002.trv\"\r\n");
    history.close();
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    w.showWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    host.answers = {7};
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QVERIFY(history.exists());
    QCOMPARE(host.endedAfterQuit, 0);
    QCOMPARE(host.boxes.size(), std::size_t{1});
    const FakeHost::Box& box = host.boxes[0];
    QCOMPARE(box.text, QStringLiteral("Do you want to quit?"));
    QCOMPARE(box.style, 65572);
    QCOMPARE(box.title, QStringLiteral("Quit Torvane?"));
    QCOMPARE(box.owner, &w);
    QCOMPARE(box.x.toInt(), 100);
    QCOMPARE(box.y.toInt(), 80);

    host.answers = {6};
    QVERIFY(!w.close()); // never unloaded: the fake host's end of program returns
    QCOMPARE(host.endedAfterQuit, 1);

    // Anything but No counts as Yes.
    host.answers = {2};
    w.close();
    QCOMPARE(host.endedAfterQuit, 2);
    QCOMPARE(host.ended, 0);
    QCOMPARE(host.boxes.size(), std::size_t{3});
}

void TestToolbar::quitWithoutAnAnswerDoesNothing() {
    FakeHost host;
    host.bill = bill_->path() + QLatin1Char('/');
    Windows windows(host);
    host.answers = {-1};
    bool cancel = false;
    windows.search.Form_QueryUnload(cancel);
    QVERIFY(cancel);
    QCOMPARE(host.endedAfterQuit, 0);
    QVERIFY(host.asked.isEmpty());
}

void TestToolbar::negativeLeftIsPutBackOnScreen() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    SecondaryWindow& w = windows.of(kind);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Small enough to stay on screen wherever it is put: window managers push a window that reaches
    // past the bottom of the screen back up when it is resized.
    w.resize(600, 400);
    QTRY_COMPARE(w.size(), QSize(600, 400));
    w.move(-50, 300);
    QTRY_COMPARE(w.x(), -50);
    w.resize(w.width() + 10, w.height());
    QTRY_COMPARE(w.pos(), QPoint(100, 100));
    // A window manager answers each move and resize in turn: let it catch up before the next.
    QTest::qWait(300);
    w.move(0, 300);
    QTRY_COMPARE(w.pos(), QPoint(0, 300));
    QTest::qWait(300);
    w.resize(w.width() - 10, w.height());
    QTest::qWait(50);
    QCOMPARE(w.pos(), QPoint(0, 300));
}

void TestToolbar::activationHidesTheOtherWindows() {
    QFETCH(Kind, kind);
    FakeHost host;
    Windows windows(host);
    host.main.show();
    for (SecondaryWindow* w : windows.all()) {
        w->show();
    }
    SecondaryWindow& w = windows.of(kind);
    w.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_VERIFY(host.main.isHidden());
    for (SecondaryWindow* other : windows.all()) {
        QCOMPARE(other->isVisible(), other == &w);
    }
}

TORVANE_SECONDARY_TEST_MAIN(TestToolbar)
#include "tst_history_toolbar.moc"
