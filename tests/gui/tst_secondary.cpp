// The search, index and history windows through the real main window and browser: opening them,
// opening a page from them, their toolbar, the hand-over of window state and their quit question.
#include "demolists.h"
#include "viewerharness.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <functional>
#include <history/frmhist.h>
#include <memory>
#include <router/pagenames.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>

using torvane::base::MessageBoxRequest;
using torvane::history::frmHist;
using torvane::router::DocumentSnapshot;
using torvane::search::frmIndex;
using torvane::search::frmSearch;
using torvane::secondary::SecondaryWindow;
using torvane::shell::frmTRV;
using torvane::shell::ViewerServices;
using torvane::testing::clickRow;
using torvane::testing::completedPages;
using torvane::testing::CourseServer;
using torvane::testing::DemoLists;
using torvane::testing::part;
using torvane::testing::toolbarButton;
using torvane::testing::ViewerHarness;

namespace {

constexpr int kWait = 20000; // for things that must happen
constexpr int kShown = 3000; // for a window to show or hide once its page has completed
constexpr int kSettle = 600; // long enough for a page to complete again if something reloads it

QStringList rowsOf(const SecondaryWindow& w) {
    return w.view().rows;
}

// The name of the control that has the keyboard, where it is a control of `window`.
QString keysIn(const QWidget& window) {
    const QWidget* focused = QApplication::focusWidget();
    return focused != nullptr && focused->window() == &window ? focused->objectName() : QString();
}

// The titles the history window gives a history file: for each record in file order, every page of
// the page list (up to its first empty name) whose name occurs in the record from its second
// character on, in any letter case.
QStringList titlesFor(const QStringList& records, const DemoLists& lists) {
    QStringList rows;
    for (const QString& record : records) {
        if (record.trimmed().isEmpty()) {
            continue;
        }
        for (int w = 0; w < lists.files.size(); ++w) {
            const QString name = lists.files[w].trimmed();
            if (name.isEmpty()) {
                break;
            }
            if (record.indexOf(name, 1, Qt::CaseInsensitive) >= 0) {
                rows << lists.titles[w];
            }
        }
    }
    return rows;
}

// Only the main window or the one secondary window is visible.
bool onlyVisible(frmTRV& w, const QWidget* visible) {
    const QList<const QWidget*> windows{&w, &w.searchWindow(), &w.indexWindow(), &w.historyWindow()};
    for (const QWidget* window : windows) {
        if (window->isVisible() != (window == visible)) {
            return false;
        }
    }
    return true;
}

// Which of the four course windows are visible, for failure messages.
QByteArray visibleWindows(frmTRV& w) {
    QStringList names;
    const QList<QWidget*> windows{&w, &w.searchWindow(), &w.indexWindow(), &w.historyWindow()};
    for (QWidget* window : windows) {
        if (window->isVisible()) {
            names << window->objectName();
        }
    }
    return ("visible: " + names.join(QStringLiteral(", "))).toUtf8();
}

// Only `window` of the four course windows is visible (soon after the page that decides it completed).
#define EXPECT_ONLY_VISIBLE(w, window)                                                                       \
    QTRY_VERIFY2_WITH_TIMEOUT(onlyVisible(w, window), visibleWindows(w).constData(), kShown)

// Runs `command` and waits until the browser has completed `placeholder`, which it must load once: a
// window placeholder that completes again reopens its window over and over.
#define OPEN_WITH(w, command, placeholder)                                                                   \
    do {                                                                                                     \
        QSignalSpy opened(&(w), &frmTRV::documentCompleted);                                                 \
        command;                                                                                             \
        QTRY_VERIFY_WITH_TIMEOUT(completedPages(opened).contains(QString::fromUtf8(placeholder)), kWait);    \
        QTest::qWait(kSettle);                                                                               \
        QCOMPARE(completedPages(opened).count(QString::fromUtf8(placeholder)), 1);                           \
    } while (false)

// Keys and text typed on the X server, as a learner types them: they go to the window that has the
// focus, not to a widget of the test's choosing.
void type(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(10000);
}

// A main window on private folders (ViewerHarness) whose command line is the viewer's own (empty) and
// whose program starts are only counted.
struct Rig final {
    ViewerHarness h;
    int started = 0;
    QString courseRoot; // the bundled course's folder; empty: the demo course

    frmTRV& make() {
        ViewerServices services = h.services();
        if (!courseRoot.isEmpty()) {
            services.courseRoot = courseRoot;
        }
        services.printing.defaultPrinter = [] { return std::unique_ptr<QPrinter>(); };
        services.startProgram = [this](const QString&, const QStringList&) {
            ++started;
            return true;
        };
        return h.make(std::move(services));
    }
};

} // namespace

class TestSecondary final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void searchFromTheToolbarAndOpenAResult();
    void indexDoubleClickAsTheFirstActionOfARun();
    void searchWordsShowInTheOpenedPage();
    void historyWindowListsAKnownFile();
    void handOverOfTheWindowState_data();
    void handOverOfTheWindowState();
    void quitQuestionFromASecondaryWindow_data();
    void quitQuestionFromASecondaryWindow();
    void contentsFromASecondaryWindow_data();
    void contentsFromASecondaryWindow();
    void backwardCommandsReturnToThePageBefore_data();
    void backwardCommandsReturnToThePageBefore();
    void backReturnsToTheWindowThatOpenedThisOne();
    void sectionAndHistoryToggleTheHelpPicture();
    void learnerTourWithTheKeyboard();
    void pageCompletingDuringAWindowsPauseRunsAtOnce();
    void backDuringAVideosPausePassesOverAPlaceholder();
    void pageThatDoesNotLoadBringsTheMainWindowBack_data();
    void pageThatDoesNotLoadBringsTheMainWindowBack();

private:
    frmTRV& start(bool maximised = true, const QString& contents = QStringLiteral("trvc.trv"));
    void go(const QString& page, const QString& completes);
    QString historyPath() const { return r->h.historyPath(); }
    QByteArray history() const { return r->h.history(); }

    std::unique_ptr<Rig> r;
    DemoLists lists;
};

void TestSecondary::initTestCase() {
    qApp->setQuitOnLastWindowClosed(false);
    lists = DemoLists::read(QCoreApplication::applicationDirPath());
    QVERIFY2(!lists.files.isEmpty() && !lists.words.isEmpty(), "the demo course's word lists are missing");
}

void TestSecondary::init() {
    r = std::make_unique<Rig>();
}

void TestSecondary::cleanup() {
    r.reset();
}

frmTRV& TestSecondary::start(bool maximised, const QString& contents) {
    r->make();
    frmTRV& w = r->h.showFirstCopy(contents, maximised);
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) {
        qFatal("the main window did not become active");
    }
    return w;
}

void TestSecondary::go(const QString& page, const QString& completes) {
    QVERIFY(r->h.go(page, completes, kWait));
}

// --- search --------------------------------------------------------------------------------------

void TestSecondary::searchFromTheToolbarAndOpenAResult() {
    frmTRV& w = start();
    frmSearch& s = w.searchWindow();
    // Alt+S on the main window: its Search button.
    toolbarButton(w, 0)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(toolbarButton(w, 0)));
    OPEN_WITH(w, QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier), "search.trv");
    EXPECT_ONLY_VISIBLE(w, &s);
    QTRY_VERIFY(QApplication::activeWindow() == &s);

    auto* input = &part<QLineEdit>(s, "txtInput");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("ohm"));
    QTest::keyClick(input, Qt::Key_Return);
    const QVector<int> pages = lists.pagesFor(QStringLiteral("ohm"));
    QCOMPARE(rowsOf(s), lists.rowsFor(pages));
    QCOMPARE(s.view().found.text, QStringLiteral("Found:  %1 pages").arg(pages.size()));

    // Open the row of tr010005.trv with Enter in the list.
    int row = -1;
    for (int i = 0; i < pages.size(); ++i) {
        if (lists.files.value(pages[i] - 1) == QLatin1String("tr010005.trv")) {
            row = i;
        }
    }
    QVERIFY2(row >= 0, "the demo course lists ohm on tr010005.trv");
    const QByteArray before = history();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    clickRow(s, row);
    QCOMPARE(s.view().selectedRow, row);
    QTest::keyClick(&part<QListView>(s, "lbResults"), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("tr010005.trv")), kWait);
    QCOMPARE(completedPages(spy).first(), QStringLiteral("tr010005.trv"));
    EXPECT_ONLY_VISIBLE(w, &w);
    QCOMPARE(w.state().CurPage, QStringLiteral("tr010005.trv"));
    QCOMPARE(history(), before + "\"tr010005.trv\"\r\n");
    QVERIFY(r->h.boxes.asked.empty());
}

void TestSecondary::indexDoubleClickAsTheFirstActionOfARun() {
    frmTRV& w = start();
    frmIndex& x = w.indexWindow();
    frmSearch& s = w.searchWindow();
    go(QStringLiteral("index.trv"), QStringLiteral("index.trv"));
    EXPECT_ONLY_VISIBLE(w, &x);
    QVERIFY(!w.state().SearchLoaded);

    part<QLineEdit>(x, "txtInput").setFocus();
    QTest::keyClicks(&part<QLineEdit>(x, "txtInput"), QStringLiteral("rel"));
    const auto row = static_cast<int>(rowsOf(x).indexOf(QStringLiteral("relay ")));
    QVERIFY2(row >= 0, "the demo course's index lists relay under rel");
    clickRow(x, row);

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    x.lbResults_DblClick();
    const QVector<int> pages = lists.pagesFor(QStringLiteral("relay"));
    QVERIFY(pages.size() >= 2);
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("search.trv")), kWait);
    QCOMPARE(s.view().input.text, QStringLiteral("relay "));
    EXPECT_ONLY_VISIBLE(w, &s);
    // The word's pages are listed, and the window's first opening did not load the lists again.
    QCOMPARE(rowsOf(s), lists.rowsFor(pages));
    QCOMPARE(s.view().found.text, QStringLiteral("Found:  %1 pages").arg(pages.size()));
    QVERIFY(w.state().SearchLoaded);
    QVERIFY(s.loaded());
    QVERIFY(r->h.boxes.asked.empty());

    // A later opening of the search window, after a result was opened, keeps the list as it is.
    clickRow(s, 0);
    const QString first = lists.files.value(pages.first() - 1);
    OPEN_WITH(w, s.lbResults_DblClick(), qPrintable(first));
    EXPECT_ONLY_VISIBLE(w, &w);
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    EXPECT_ONLY_VISIBLE(w, &s);
    QCOMPARE(rowsOf(s), lists.rowsFor(pages));
    QVERIFY(r->h.boxes.asked.empty());
}

void TestSecondary::searchWordsShowInTheOpenedPage() {
    // A window lower than the page, so that the word lies below the fold.
    frmTRV& w = start(false);
    w.resize(900, 330);
    QTest::qWait(kSettle);
    frmSearch& s = w.searchWindow();
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    QTest::keyClicks(&part<QLineEdit>(s, "txtInput"), QStringLiteral("branch"));
    s.cmdFTS_Click();
    const int row = static_cast<int>(lists.pagesFor(QStringLiteral("branch"))
                                         .indexOf(lists.files.indexOf(QStringLiteral("tr010009.trv")) + 1));
    QVERIFY2(row >= 0, "the demo course lists branch on tr010009.trv");
    clickRow(s, row);
    const QByteArray before = history();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    s.lbResults_DblClick();
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("tr010009.trv")), kWait);

    // What the page shows: the marks, the words of its text that begin
    // with "branch" (counted from the text itself), how far it is scrolled, and the first mark in view.
    const auto look = [&w] {
        QVariantList seen;
        bool done = false;
        w.runInPage(
            QStringLiteral(
                "(() => { const m = Array.from(document.querySelectorAll('mark.torvane-search-hit'));"
                " const r = m.length ? m[0].getBoundingClientRect() : null;"
                " return [m.length, (document.body.innerText.match(/(^|[^A-Za-z0-9])branch/gi) || []).length,"
                " window.scrollY, r !== null && r.top >= 0 && r.bottom <= window.innerHeight,"
                " m.every(x => /^branch[a-z]*$/i.test(x.textContent))]; })()"),
            [&](const QVariant& v) {
                seen = v.toList();
                done = true;
            });
        if (!QTest::qWaitFor([&] { return done; }, kWait)) {
            return QVariantList();
        }
        return seen;
    };
    QVariantList seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen = look()).value(0).toInt() > 0, kWait);
    QCOMPARE(seen.value(0).toInt(), seen.value(1).toInt());
    QVERIFY2(seen.value(2).toDouble() > 0, "the first word was not scrolled to");
    QVERIFY(seen.value(3).toBool());
    QVERIFY(seen.value(4).toBool());
    // Nothing else changes: the page is recorded once, its links are kept.
    QTest::qWait(kSettle);
    QCOMPARE(history(), before + "\"tr010009.trv\"\r\n");
    QVERIFY(w.state().NextLink.endsWith(QLatin1String("tr010010.trv")));

    // The next page shows nothing marked.
    OPEN_WITH(w, w.cmdNext_Click(), "tr010010.trv");
    QCOMPARE(look().value(0).toInt(), 0);
}

// --- history -------------------------------------------------------------------------------------

void TestSecondary::historyWindowListsAKnownFile() {
    frmTRV& w = start();
    const QStringList records{
        QStringLiteral("\"tr010005.trv\""), QStringLiteral("\"tr010002.trv\""),
        QStringLiteral("\"tr010005.trv\""), QStringLiteral("\"TR010012.TRV\""),
        QStringLiteral("\"trvc.trv\""),     QStringLiteral("\"nosuch.trv\""),
    };
    {
        QFile file(historyPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QString& record : records) {
            file.write(record.toLatin1() + "\r\n");
        }
    }
    const QStringList expected = titlesFor(records, lists);
    // Every record but the unknown page gives one row; the page visited twice is listed twice.
    QCOMPARE(expected.size(), 5);
    QCOMPARE(expected.at(0), expected.at(2));

    OPEN_WITH(w, toolbarButton(w, 6)->click(), "hist.trv");
    frmHist& hist = w.historyWindow();
    EXPECT_ONLY_VISIBLE(w, &hist);
    QCOMPARE(rowsOf(hist), expected);
    QCOMPARE(hist.HistRowPage().size(), std::size_t{5});
    QCOMPARE(hist.HistRowPage()[3], QStringLiteral("tr010012.trv"));
    QVERIFY(r->h.boxes.asked.empty());
}

// --- hand-over -----------------------------------------------------------------------------------

void TestSecondary::handOverOfTheWindowState_data() {
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("searchMaximised"); // the search window's state when a result is opened
    QTest::newRow("maximised") << true << true;
    QTest::newRow("normal") << false << false;
    QTest::newRow("maximised, search window restored") << true << false;
    QTest::newRow("normal, search window maximised") << false << true;
}

void TestSecondary::handOverOfTheWindowState() {
    QFETCH(bool, maximised);
    QFETCH(bool, searchMaximised);
    frmTRV& w = start(maximised);
    frmSearch& s = w.searchWindow();
    QCOMPARE(w.isMaximized(), maximised);
    const QPoint mainAt = w.pos();
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    EXPECT_ONLY_VISIBLE(w, &s);
    QCOMPARE(bool(s.windowState() & Qt::WindowMaximized), maximised);
    if (!maximised) {
        QCOMPARE(s.pos(), mainAt);
    }
    if (searchMaximised != maximised) {
        searchMaximised ? s.showMaximized() : s.showNormal();
        QTRY_COMPARE(s.isMaximized(), searchMaximised);
        QTest::qWait(kSettle);
    }

    // And back: a result opened from the search window gives the main window the search window's state,
    // and its page is loaded and recorded once, however the main window's size changes with it.
    QTest::keyClicks(&part<QLineEdit>(s, "txtInput"), QStringLiteral("ohm"));
    s.cmdFTS_Click();
    QVERIFY(!rowsOf(s).isEmpty());
    const QVector<int> pages = lists.pagesFor(QStringLiteral("ohm"));
    clickRow(s, static_cast<int>(pages.indexOf(lists.files.indexOf(QStringLiteral("tr010005.trv")) + 1)));
    const QByteArray before = history();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    s.lbResults_DblClick();
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("tr010005.trv")), kWait);
    EXPECT_ONLY_VISIBLE(w, &w);
    // (A main window handed the normal state may still fill the screen, and some window managers
    // maximise such a window when it is mapped, as the viewer itself does when it is resized so.)
    if (searchMaximised) {
        QTRY_VERIFY(w.isMaximized());
    }
    QTest::qWait(kSettle);
    QCOMPARE(completedPages(spy), QStringList{QStringLiteral("tr010005.trv")});
    QCOMPARE(history(), before + "\"tr010005.trv\"\r\n");
}

// --- quitting ------------------------------------------------------------------------------------

void TestSecondary::quitQuestionFromASecondaryWindow_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("byKey"); // Alt+Q; otherwise the window is closed
    QTest::addColumn<int>("answer");
    QTest::newRow("search, Alt+Q, No") << "search" << true << 7;
    QTest::newRow("search, Alt+Q, Yes") << "search" << true << 6;
    QTest::newRow("search, close, No") << "search" << false << 7;
    QTest::newRow("search, close, Yes") << "search" << false << 6;
    QTest::newRow("history, Alt+Q, No") << "history" << true << 7;
    QTest::newRow("history, close, Yes") << "history" << false << 6;
}

void TestSecondary::quitQuestionFromASecondaryWindow() {
    QFETCH(QString, window);
    QFETCH(bool, byKey);
    QFETCH(int, answer);
    frmTRV& w = start();
    SecondaryWindow* secondary = nullptr;
    QWidget* focus = nullptr;
    if (window == QLatin1String("search")) {
        OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
        secondary = &w.searchWindow();
        focus = &part<QLineEdit>(w.searchWindow(), "txtInput");
    } else {
        OPEN_WITH(w, w.cmdHist_Click(), "hist.trv");
        secondary = &w.historyWindow();
        focus = &part<QListView>(w.historyWindow(), "lbResults");
    }
    EXPECT_ONLY_VISIBLE(w, secondary);
    const QByteArray before = history();
    QVERIFY(!before.isEmpty());

    r->h.boxes.answerNext(answer);
    if (byKey) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Q, Qt::AltModifier);
    } else {
        secondary->close();
    }
    QCOMPARE(r->h.boxes.asked.size(), std::size_t{1});
    const MessageBoxRequest& box = r->h.boxes.asked[0];
    QCOMPARE(box.text, QStringLiteral("Do you want to quit?"));
    QCOMPARE(box.title, QStringLiteral("Quit Torvane?"));
    QCOMPARE(box.style, 65572);
    QCOMPARE(box.owner, static_cast<QWidget*>(secondary));
    QVERIFY(box.placement.has_value());
    QCOMPARE(box.placement->offsetX, 100);
    QCOMPARE(box.placement->offsetY, 80);
    QVERIFY(!box.placement->centreX && !box.placement->centreY && !box.placement->desktop);

    if (answer == 7) {
        QCOMPARE(r->h.ended, 0);
        QCOMPARE(history(), before);
        QVERIFY(secondary->isVisible());
    } else {
        QCOMPARE(r->h.ended, 1);
        QVERIFY(!QFile::exists(historyPath()));
    }
}

// --- the toolbar ---------------------------------------------------------------------------------

void TestSecondary::contentsFromASecondaryWindow_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("contents");
    QTest::newRow("1280x800 class 3") << QSize() << "trvc.trv";
    QTest::newRow("800x600 class 1") << QSize(800, 600) << "trva.trv";
}

void TestSecondary::contentsFromASecondaryWindow() {
    QFETCH(QSize, screen);
    QFETCH(QString, contents);
    if (screen.isValid()) {
        r->h.screen = screen;
    }
    // Opened from the contents page: the main window's own Contents would go on to the second one.
    frmTRV& w = start(true, contents);
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    frmSearch& s = w.searchWindow();
    EXPECT_ONLY_VISIBLE(w, &s);

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    part<QPushButton>(s, "cmdCont").click();
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    QTest::qWait(200);
    QCOMPARE(completedPages(spy), QStringList{contents});
    EXPECT_ONLY_VISIBLE(w, &w);
}

void TestSecondary::backwardCommandsReturnToThePageBefore_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("Back") << "cmdBack";
    QTest::newRow("<<") << "cmdPrev";
    QTest::newRow(">>") << "cmdNext";
    QTest::newRow("Alt+comma") << "Alt+comma";
    QTest::newRow("Alt+full stop") << "Alt+full stop";
}

void TestSecondary::backwardCommandsReturnToThePageBefore() {
    QFETCH(QString, command);
    frmTRV& w = start();
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    frmSearch& s = w.searchWindow();
    EXPECT_ONLY_VISIBLE(w, &s);
    const QByteArray before = history();

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    if (command.startsWith(QLatin1String("cmd"))) {
        part<QPushButton>(s, qPrintable(command)).click();
    } else {
        QLineEdit& input = part<QLineEdit>(s, "txtInput");
        input.setFocus();
        QTest::keyClick(&input, command.endsWith(QLatin1String("comma")) ? Qt::Key_Comma : Qt::Key_Period,
                        Qt::AltModifier);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    QTest::qWait(200);
    QCOMPARE(completedPages(spy), QStringList{QStringLiteral("tr010003.trv")});
    QVERIFY(!w.state().GoingBack);
    // The page reached again is recorded again.
    QCOMPARE(history(), before + "\"tr010003.trv\"\r\n");
    // The main window is back, alone.
    EXPECT_ONLY_VISIBLE(w, &w);
}

void TestSecondary::backReturnsToTheWindowThatOpenedThisOne() {
    frmTRV& w = start();
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    frmSearch& s = w.searchWindow();
    EXPECT_ONLY_VISIBLE(w, &s);
    OPEN_WITH(w, part<QPushButton>(s, "cmdHist").click(), "hist.trv");
    EXPECT_ONLY_VISIBLE(w, &w.historyWindow());

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    part<QPushButton>(w.historyWindow(), "cmdBack").click();
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("search.trv")), kWait);
    EXPECT_ONLY_VISIBLE(w, &s);
}

void TestSecondary::sectionAndHistoryToggleTheHelpPicture() {
    frmTRV& w = start();
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    frmSearch& s = w.searchWindow();
    EXPECT_ONLY_VISIBLE(w, &s);
    QVERIFY(!s.view().helpShown);
    part<QPushButton>(s, "cmdSecn").click();
    QVERIFY(s.view().helpShown);
    QCOMPARE(s.view().helpDrawn, QSize(800, 640));
    part<QPushButton>(s, "cmdSecn").click();
    QVERIFY(!s.view().helpShown);
    // Any key hides it again.
    part<QPushButton>(s, "cmdHelp").click();
    QVERIFY(s.view().helpShown);
    QLineEdit& input = part<QLineEdit>(s, "txtInput");
    input.setFocus();
    QTest::keyClick(&input, Qt::Key_F);
    QVERIFY(!s.view().helpShown);

    // In the history window its own History button shows the help and leaves the list alone.
    OPEN_WITH(w, part<QPushButton>(s, "cmdHist").click(), "hist.trv");
    frmHist& hist = w.historyWindow();
    EXPECT_ONLY_VISIBLE(w, &hist);
    const QStringList rows = rowsOf(hist);
    QVERIFY(!rows.isEmpty());
    QFile file(historyPath());
    QVERIFY(file.open(QIODevice::Append));
    file.write("\"tr010005.trv\"\r\n");
    file.close();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    part<QPushButton>(hist, "cmdHist").click();
    QVERIFY(hist.view().helpShown);
    QTest::qWait(200);
    QVERIFY(spy.isEmpty());
    QCOMPARE(rowsOf(hist), rows);
    part<QPushButton>(hist, "cmdHist").click();
    QVERIFY(!hist.view().helpShown);
}

// --- on a desktop, with the keyboard ---------------------------------------------------------------

// What a learner does with the keys alone, on a desktop with a window manager: each window opens once,
// alone on screen, with the keyboard where it is used, and the main window takes keys again at once.
void TestSecondary::learnerTourWithTheKeyboard() {
    frmTRV& w = start();
    frmSearch& s = w.searchWindow();
    frmHist& hist = w.historyWindow();

    OPEN_WITH(w, type({"key", "alt+s"}), "search.trv");
    EXPECT_ONLY_VISIBLE(w, &s);
    QTRY_COMPARE(keysIn(s), QStringLiteral("txtInput"));
    type({"type", "--delay", "20", "ohm"});
    type({"key", "Return"});
    const QVector<int> pages = lists.pagesFor(QStringLiteral("ohm"));
    QTRY_COMPARE(rowsOf(s), lists.rowsFor(pages));

    // Tab reaches the list with its first row chosen; Down moves to the row of tr010005.trv.
    type({"key", "Tab", "Tab"});
    QTRY_COMPARE(keysIn(s), QStringLiteral("lbResults"));
    QCOMPARE(s.view().selectedRow, 0);
    const auto row = pages.indexOf(lists.files.indexOf(QStringLiteral("tr010005.trv")) + 1);
    QVERIFY2(row >= 0, "the demo course lists ohm on tr010005.trv");
    for (int i = 0; i < row; ++i) {
        type({"key", "Down"});
    }
    QTRY_COMPARE(s.view().selectedRow, row);
    const QByteArray before = history();
    QSignalSpy opened(&w, &frmTRV::documentCompleted);
    type({"key", "Return"});
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(opened).contains(QStringLiteral("tr010005.trv")), kWait);
    EXPECT_ONLY_VISIBLE(w, &w);
    QTest::qWait(kSettle);
    QCOMPARE(completedPages(opened), QStringList{QStringLiteral("tr010005.trv")});
    QCOMPARE(history(), before + "\"tr010005.trv\"\r\n");

    // Back in the main window Page Down follows the page's next link without a click.
    const QString next = w.state().NextLink.mid(w.state().NextLink.indexOf(QStringLiteral("trv2/")) + 5);
    QSignalSpy paged(&w, &frmTRV::documentCompleted);
    type({"key", "Next"});
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(paged).contains(next), kWait);

    // The history window opens with its list focused and its first row chosen: Enter opens it.
    OPEN_WITH(w, type({"key", "alt+t"}), "hist.trv");
    EXPECT_ONLY_VISIBLE(w, &hist);
    QTRY_COMPARE(keysIn(hist), QStringLiteral("lbResults"));
    QCOMPARE(hist.view().selectedRow, 0);
    QSignalSpy reopened(&w, &frmTRV::documentCompleted);
    type({"key", "Return"});
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(reopened).contains(hist.HistRowPage().front()), kWait);
    EXPECT_ONLY_VISIBLE(w, &w);
}

// A page that completes while the handler pauses before opening a window runs at once, to its end; the
// window opens when the pause is over.
void TestSecondary::pageCompletingDuringAWindowsPauseRunsAtOnce() {
    frmTRV& w = start();
    frmHist& hist = w.historyWindow();
    const QByteArray before = history();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    QStringList visibleAtEachEnd;
    connect(&w, &frmTRV::documentCompleted, this, [&] { visibleAtEachEnd << QString(visibleWindows(w)); });
    w.Web1_DocumentComplete({w.state().FileLocn + QStringLiteral("hist.trv"), {}});
    QVERIFY(spy.isEmpty()); // pausing
    w.Web1_DocumentComplete({w.state().FileLocn + QStringLiteral("tr010003.trv"), {}});
    QCOMPARE(completedPages(spy), QStringList{QStringLiteral("tr010003.trv")});
    QCOMPARE(history(), before + "\"tr010003.trv\"\r\n");
    QTRY_COMPARE(completedPages(spy),
                 (QStringList{QStringLiteral("tr010003.trv"), QStringLiteral("hist.trv")}));
    QCOMPARE(visibleAtEachEnd,
             (QStringList{QStringLiteral("visible: frmTRV"), QStringLiteral("visible: frmHist")}));
    EXPECT_ONLY_VISIBLE(w, &hist);
}

// Back pressed while a video's start pauses: the module placeholder it comes to is passed over at once,
// neither shown nor recorded.
void TestSecondary::backDuringAVideosPausePassesOverAPlaceholder() {
    frmTRV& w = start();
    const QByteArray before = history();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.Web1_DocumentComplete({w.state().FileLocn + QStringLiteral("fig0105.trv"), {}});
    QVERIFY(w.view().backdropShown);
    toolbarButton(w, 3)->click(); // Back
    QVERIFY(w.state().GoingBack);
    w.Web1_DocumentComplete({w.state().FileLocn + QStringLiteral("tr010001.trv"), {}});
    QVERIFY(!w.state().GoingBack);
    QTRY_COMPARE(completedPages(spy),
                 (QStringList{QStringLiteral("tr010001.trv"), QStringLiteral("fig0105.trv")}));
    QVERIFY(w.view().videoStarting); // the video's end is watched after its pause, as always
    QTest::qWait(kSettle);
    QVERIFY2(!completedPages(spy).contains(QStringLiteral("mod01c.trv")),
             qPrintable(completedPages(spy).join(' ')));
    QCOMPARE(history(), before);
}

void TestSecondary::pageThatDoesNotLoadBringsTheMainWindowBack_data() {
    QTest::addColumn<bool>("serverGone"); // else the page is missing from the bundled course
    QTest::newRow("course server gone") << true;
    QTest::newRow("page missing") << false;
}

// A page opened from a secondary window that fails to load leaves the learner the main window with the
// browser's error page and the toolbar, not an empty desktop.
void TestSecondary::pageThatDoesNotLoadBringsTheMainWindowBack() {
    QFETCH(bool, serverGone);
    QTemporaryDir course;
    std::unique_ptr<CourseServer> server;
    if (serverGone) {
        server = r->h.serveCourse(torvane::testing::demoCourseRoot());
    } else {
        QVERIFY(torvane::testing::copyFolder(torvane::testing::demoCourseRoot(), course.path()));
        QVERIFY(QFile::remove(course.path() + QStringLiteral("/tr010005.trv")));
        r->courseRoot = course.path();
    }
    frmTRV& w = start();
    frmSearch& s = w.searchWindow();
    OPEN_WITH(w, w.cmdSearch_Click(), "search.trv");
    QTest::keyClicks(&part<QLineEdit>(s, "txtInput"), QStringLiteral("ohm"));
    s.cmdFTS_Click();
    const QVector<int> pages = lists.pagesFor(QStringLiteral("ohm"));
    clickRow(s, static_cast<int>(pages.indexOf(lists.files.indexOf(QStringLiteral("tr010005.trv")) + 1)));
    QVERIFY(s.view().selectedRow >= 0);
    if (server) {
        server->stop();
    }
    const QByteArray before = history();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    s.lbResults_DblClick();
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    EXPECT_ONLY_VISIBLE(w, &w);
    QCOMPARE(history(), before);

    // The learner goes on from there. With the server back, a resize of the window loads the page that
    // failed again.
    if (server) {
        QVERIFY(server->start());
        QSignalSpy retried(&w, &frmTRV::documentCompleted);
        w.showNormal();
        QTRY_VERIFY_WITH_TIMEOUT(completedPages(retried).contains(QStringLiteral("tr010005.trv")), kWait);
        QVERIFY(history().endsWith("\"tr010005.trv\"\r\n"));
        QTest::qWait(kSettle); // the window manager's last word on the size, and its reload
    }
    QSignalSpy on(&w, &frmTRV::documentCompleted);
    toolbarButton(w, 0)->click();
    const QString contents =
        torvane::router::contentsPage(static_cast<torvane::router::ScreenSize>(w.state().ScreenSize));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(on).contains(contents), kWait);
    EXPECT_ONLY_VISIBLE(w, &w);
}

TORVANE_GUI_TEST_MAIN(TestSecondary)
#include "tst_secondary.moc"
