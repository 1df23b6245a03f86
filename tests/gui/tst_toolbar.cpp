// The main window's toolbar, keys, help picture, printing, calculator and quitting, against the demo
// course in the real browser.
#include "demolists.h"
#include "viewerharness.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <functional>
#include <history/frmhist.h>
#include <media/wmp1.h>
#include <memory>
#include <platform/calculator.h>
#include <search/frmindex.h>
#include <search/frmsearch.h>
#include <secondcopy/screenmessageboxes.h>

using torvane::base::MessageBoxRequest;
using torvane::router::DocumentSnapshot;
using torvane::secondcopy::Role;
using torvane::shell::frmTRV;
using torvane::shell::ViewerServices;
using torvane::testing::completedPages;
using torvane::testing::DemoLists;
using torvane::testing::part;
using torvane::testing::toolbarButton;
using torvane::testing::ViewerHarness;

namespace {

constexpr int kWait = 20000; // for things that must happen

// The page names of the documents completed since the spy was made.
// The addresses of the documents completed since the spy was made.
QStringList completedUrls(const QSignalSpy& spy) {
    QStringList urls;
    for (const QList<QVariant>& args : spy) {
        urls << args.at(0).value<DocumentSnapshot>().locationUrl;
    }
    return urls;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

qint64 fileSize(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
}

// A main window on private folders (ViewerHarness) whose printer, print dialog, program starts and
// command line are the test's: nothing reaches a real printer or starts a real program.
struct Rig final {
    ViewerHarness h;
    std::function<std::unique_ptr<QPrinter>()> printer = [] { return std::unique_ptr<QPrinter>(); };
    bool dialogAnswer = true;
    int dialogs = 0;
    QWidget* dialogOwner = nullptr;
    QList<QPair<QString, QStringList>> started;

    frmTRV& make() {
        ViewerServices services = h.services();
        services.printing.defaultPrinter = [this] { return printer(); };
        services.printing.printDialog = [this](QPrinter&, QWidget* owner) {
            ++dialogs;
            dialogOwner = owner;
            return dialogAnswer;
        };
        services.startProgram = [this](const QString& program, const QStringList& arguments) {
            started.append({program, arguments});
            return true;
        };
        return h.make(std::move(services));
    }
};

} // namespace

class TestToolbar final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonsOfTheRow_data();
    void buttonsOfTheRow();
    void contentsAlternatesBetweenTheTwoContentsPages_data();
    void contentsAlternatesBetweenTheTwoContentsPages();
    void linkButtonsFollowTheKeptLinks_data();
    void linkButtonsFollowTheKeptLinks();
    void linkCommandsBeforeAnyLinksLeadNowhere();
    void backButtonPassesOverThePlaceholder();
    void searchAndHistoryOpenTheirWindows_data();
    void searchAndHistoryOpenTheirWindows();
    void helpPictureShowsAndHides_data();
    void helpPictureShowsAndHides();
    void printWhileTheHelpPictureShowsPrintsThePicture();
    void printOfThePictureWithoutAPrinterIsReported();
    void printWithoutAPrinterGivesBothMessages();
    void printOfThePageGoesThroughTheDialog();
    void printDialogCancelledPrintsNothing();
    void calcStartsTheCalculatorWhenThereIsOne();
    void pagingKeys_data();
    void pagingKeys();
    void accessKeys_data();
    void accessKeys();
    void escapeStopsTheVideoEvenWithoutOne_data();
    void escapeStopsTheVideoEvenWithoutOne();
    void quitKeyAnsweredNoChangesNothing();
    void quitKeyAnsweredYesEndsTheProgram();
    void quitWithoutAHistoryFileEndsWithoutAnotherBox();
    void closingTheWindow_data();
    void closingTheWindow();
    void shutOffRaisesTheEndFlag();
    void placedBoxOnScreen_data();
    void placedBoxOnScreen();

private:
    frmTRV& start(const QString& contents = QStringLiteral("trvc.trv"));
    void go(const QString& page, const QString& completes);
    void sendKey(bool inBrowser, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QString historyPath() const { return r->h.historyPath(); }
    QByteArray history() const { return r->h.history(); }

    std::unique_ptr<Rig> r;
    std::unique_ptr<QTemporaryDir> scratch;
};

void TestToolbar::initTestCase() {
    // Windows come and go in these tests; the test decides when the program is over.
    qApp->setQuitOnLastWindowClosed(false);
}

void TestToolbar::init() {
    r = std::make_unique<Rig>();
    scratch = std::make_unique<QTemporaryDir>();
}

void TestToolbar::cleanup() {
    r.reset();
    scratch.reset();
}

frmTRV& TestToolbar::start(const QString& contents) {
    r->make();
    frmTRV& w = r->h.showFirstCopy(contents);
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) {
        qFatal("the main window did not become active");
    }
    return w;
}

// Navigates to `page` and waits until the document `completes` has completed.
void TestToolbar::go(const QString& page, const QString& completes) {
    QVERIFY(r->h.go(page, completes, kWait));
}

// Sends a key where the learner's focus is: inside the browser, or on the window's toolbar.
void TestToolbar::sendKey(bool inBrowser, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    frmTRV& w = *r->h.viewer;
    if (inBrowser) {
        QWidget& browser = part<QWidget>(w, "Web1");
        browser.setFocus();
        QTRY_VERIFY(
            QApplication::focusWidget() != nullptr &&
            (QApplication::focusWidget() == &browser || browser.isAncestorOf(QApplication::focusWidget())));
    } else {
        toolbarButton(w, 0)->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(toolbarButton(w, 0)));
    }
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// --- the row of buttons --------------------------------------------------------------------------

void TestToolbar::buttonsOfTheRow_data() {
    QTest::addColumn<int>("position"); // 1..10, left to right
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* names[] = {"cmdCont", "cmdPrint", "cmdSearch", "cmdBack", "cmdPrev",
                           "cmdNext", "cmdHist",  "cmdCalc",   "cmdHelp", "cmdSecn"};
    const char* captions[] = {"&Contents", "&Print",   "&Search", "&Back", "&<<",
                              "&>>",       "His&tory", "C&alc",   "&Help", "Sectio&n"};
    for (int i = 0; i < 10; ++i) {
        QTest::newRow(names[i]) << i + 1 << QString::fromLatin1(names[i]) << QString::fromLatin1(captions[i]);
    }
}

void TestToolbar::buttonsOfTheRow() {
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    frmTRV& w = r->make();
    auto* button = w.findChild<QPushButton*>(name);
    QVERIFY(button != nullptr);
    QCOMPARE(toolbarButton(w, position - 1), button);
    QCOMPARE(button->text(), caption);
    // Design position in twips (left 45 + 990 per button, top 30, 975 x 280); 15 twips to the pixel.
    const auto px = [](int twips) { return qRound(twips / 15.0); };
    QCOMPARE(button->geometry(), QRect(px(45 + 990 * (position - 1)), px(30), px(975), px(280)));
    QVERIFY(button->font().bold());
    QCOMPARE(button->font().pointSizeF(), 8.25);
    // The tab order follows the row.
    if (position < 10) {
        QWidget* next = button->nextInFocusChain();
        while (next != nullptr && next != button && next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        QCOMPARE(next, static_cast<QWidget*>(toolbarButton(w, position)));
    }
}

// --- page commands -------------------------------------------------------------------------------

void TestToolbar::contentsAlternatesBetweenTheTwoContentsPages_data() {
    QTest::addColumn<QSize>("screen"); // invalid: the private X server's own 1280 x 800
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("second");
    QTest::newRow("1280x800 class 3") << QSize() << "trvc.trv"
                                      << "trvcrc.trv";
    QTest::newRow("800x600 class 1") << QSize(800, 600) << "trva.trv"
                                     << "trvcra.trv";
    QTest::newRow("1366x768 class 2") << QSize(1366, 768) << "trvb.trv"
                                      << "trvcrb.trv";
}

void TestToolbar::contentsAlternatesBetweenTheTwoContentsPages() {
    QFETCH(QSize, screen);
    QFETCH(QString, contents);
    QFETCH(QString, second);
    if (screen.isValid()) {
        r->h.screen = screen;
    }
    frmTRV& w = start(contents);
    QPushButton* cmdCont = toolbarButton(w, 0);

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    cmdCont->click();
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    QCOMPARE(completedPages(spy).first(), second);

    // On the second contents page Contents goes back to the first one.
    spy.clear();
    cmdCont->click();
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    QCOMPARE(completedPages(spy).first(), contents);

    // From a course page too.
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    spy.clear();
    cmdCont->click();
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    QCOMPARE(completedUrls(spy).first(), w.state().FileLocn + contents);
    QVERIFY(r->h.boxes.asked.empty());
}

void TestToolbar::linkButtonsFollowTheKeptLinks_data() {
    QTest::addColumn<int>("button"); // 0-based position in the row
    QTest::addColumn<QString>("completes");
    QTest::newRow("<<") << 4 << "tr010002.trv";
    QTest::newRow(">>") << 5 << "tr010004.trv";
    // The Section link of tr010003.trv is the module placeholder: its module page follows it.
    QTest::newRow("Section") << 9 << "mod01c.trv";
}

void TestToolbar::linkButtonsFollowTheKeptLinks() {
    QFETCH(int, button);
    QFETCH(QString, completes);
    frmTRV& w = start();
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    const QString target = button == 4   ? w.state().PrevLink
                           : button == 5 ? w.state().NextLink
                                         : w.state().SecnLink;
    QVERIFY(!target.isEmpty());

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    toolbarButton(w, button)->click();
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(completes), kWait);
    // The kept address is used as it is.
    QCOMPARE(completedUrls(spy).first(), target);
}

void TestToolbar::linkCommandsBeforeAnyLinksLeadNowhere() {
    frmTRV& w = r->make();
    QCOMPARE(r->h.load(), Role::FirstCopy);
    // No page has completed: the three link targets are still empty.
    QVERIFY(w.state().PrevLink.isEmpty() && w.state().NextLink.isEmpty() && w.state().SecnLink.isEmpty());
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    w.cmdPrev_Click();
    w.cmdNext_Click();
    w.cmdSecn_Click();
    w.showMaximized();
    QVERIFY(r->h.waitForDocument(QStringLiteral("trv2/trvc.trv")));
    QTest::qWait(400);
    // Only the contents page the viewer opens with has loaded; nothing was asked.
    QCOMPARE(completedPages(spy), QStringList{QStringLiteral("trvc.trv")});
    QCOMPARE(w.state().CurPage, QStringLiteral("trvc.trv"));
    QVERIFY(r->h.boxes.asked.empty());
    QCOMPARE(r->h.ended, 0);
}

void TestToolbar::backButtonPassesOverThePlaceholder() {
    frmTRV& w = start();
    go(QStringLiteral("tr010001.trv"), QStringLiteral("mod01c.trv"));
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    toolbarButton(w, 3)->click();
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(QStringLiteral("trvc.trv")), kWait);
    QCOMPARE(completedPages(spy), (QStringList{QStringLiteral("tr010001.trv"), QStringLiteral("trvc.trv")}));
    QCOMPARE(w.state().CurPage, QStringLiteral("trvc.trv"));
    QVERIFY(!w.state().GoingBack);
    // The placeholder passed over adds no record; the contents page reached again does.
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010001.trv\"\r\n\"trvc.trv\"\r\n"));
}

// --- Search and History --------------------------------------------------------------------------

void TestToolbar::searchAndHistoryOpenTheirWindows_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("placeholder");
    QTest::newRow("Search") << 2 << "search.trv";
    QTest::newRow("History") << 6 << "hist.trv";
}

void TestToolbar::searchAndHistoryOpenTheirWindows() {
    QFETCH(int, button);
    QFETCH(QString, placeholder);
    frmTRV& w = start();
    go(QStringLiteral("tr010005.trv"), QStringLiteral("tr010005.trv"));
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    QVERIFY(w.isMaximized());
    QWidget& target = button == 2 ? static_cast<QWidget&>(w.searchWindow()) : w.historyWindow();

    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    toolbarButton(w, button)->click();
    // The window took the main window's state during the pause, before the browser was sent on.
    QVERIFY(target.windowState() & Qt::WindowMaximized);
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(spy).contains(placeholder), kWait);
    QCOMPARE(completedUrls(spy).first(), w.state().FileLocn + placeholder);
    // One course window is visible: the one just opened.
    QTRY_VERIFY_WITH_TIMEOUT(target.isVisible() && !w.isVisible(), kWait);
    QVERIFY(!w.indexWindow().isVisible());
    QVERIFY(&target == &w.searchWindow() ? !w.historyWindow().isVisible() : !w.searchWindow().isVisible());
    QVERIFY(r->h.boxes.asked.empty());

    if (button == 6) {
        // The history window lists the titles of the pages visited, in the order of the history file.
        const DemoLists lists = DemoLists::read(QCoreApplication::applicationDirPath());
        QVERIFY2(!lists.files.isEmpty(), "the demo course's files.trv is missing beside the test");
        QStringList expected;
        for (const char* page : {"trvc.trv", "tr010005.trv", "tr010003.trv"}) {
            const QString title = lists.titleOf(QString::fromLatin1(page));
            QVERIFY2(!title.isEmpty(), page);
            expected << title;
        }
        QCOMPARE(expected.at(1), QStringLiteral("Ohm's law")); // the demo course's title of tr010005.trv
        QCOMPARE(w.historyWindow().view().rows, expected);
    }
    // The placeholder itself is not recorded.
    QCOMPARE(history(), QByteArray("\"trvc.trv\"\r\n\"tr010005.trv\"\r\n\"tr010003.trv\"\r\n"));
}

// --- the help picture ----------------------------------------------------------------------------

void TestToolbar::helpPictureShowsAndHides_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("hides");
    QTest::newRow("Help again") << "help" << true;
    QTest::newRow("Esc in the window") << "esc" << true;
    QTest::newRow("Esc in the browser") << "esc-browser" << true;
    QTest::newRow("another key") << "key" << true;
    QTest::newRow("another key in the browser") << "key-browser" << true;
    QTest::newRow("click on the picture") << "click" << true;
    QTest::newRow("Contents") << "button 0" << true;
    QTest::newRow("Search") << "button 2" << true;
    QTest::newRow("Back") << "button 3" << true;
    QTest::newRow("<<") << "button 4" << true;
    QTest::newRow(">>") << "button 5" << true;
    QTest::newRow("History") << "button 6" << true;
    QTest::newRow("Calc") << "button 7" << true;
    QTest::newRow("Section") << "button 9" << true;
    QTest::newRow("Print keeps it") << "button 1" << false;
}

void TestToolbar::helpPictureShowsAndHides() {
    QFETCH(QString, action);
    QFETCH(bool, hides);
    r->printer = [path = scratch->filePath(QStringLiteral("help.pdf"))] { return pdfPrinter(path); };
    frmTRV& w = start();
    QVERIFY(!w.view().helpShown);

    toolbarButton(w, 8)->click(); // Help
    QVERIFY(w.view().helpShown);
    QCOMPARE(w.view().helpDrawn, QSize(820, 692));
    if (action == QLatin1String("help")) {
        toolbarButton(w, 8)->click();
    } else if (action == QLatin1String("esc")) {
        sendKey(false, Qt::Key_Escape);
    } else if (action == QLatin1String("esc-browser")) {
        sendKey(true, Qt::Key_Escape);
    } else if (action == QLatin1String("key")) {
        sendKey(false, Qt::Key_F);
    } else if (action == QLatin1String("key-browser")) {
        sendKey(true, Qt::Key_F);
    } else if (action == QLatin1String("click")) {
        QTest::mouseClick(&part<QWidget>(w, "picHelp"), Qt::LeftButton, {}, QPoint(20, 20));
    } else {
        toolbarButton(w, action.section(QLatin1Char(' '), 1).toInt())->click();
    }
    QCOMPARE(w.view().helpShown, !hides);
}

// --- printing ------------------------------------------------------------------------------------

void TestToolbar::printWhileTheHelpPictureShowsPrintsThePicture() {
    const QString pdf = scratch->filePath(QStringLiteral("picture.pdf"));
    r->printer = [pdf] { return pdfPrinter(pdf); };
    frmTRV& w = start();
    toolbarButton(w, 8)->click();
    QVERIFY(w.view().helpShown);
    toolbarButton(w, 1)->click();
    // The picture goes to the default printer there and then, without the print dialog.
    QVERIFY2(fileSize(pdf) > 0, qPrintable(pdf));
    QCOMPARE(r->dialogs, 0);
    QVERIFY(r->h.boxes.asked.empty());
    QVERIFY(w.view().helpShown);
}

void TestToolbar::printOfThePictureWithoutAPrinterIsReported() {
    frmTRV& w = start(); // no default printer
    toolbarButton(w, 8)->click();
    toolbarButton(w, 1)->click();
    // Only the error message: the browser's print status is not asked for the picture.
    QCOMPARE(r->h.boxes.asked.size(), std::size_t{1});
    QVERIFY2(r->h.boxes.asked[0].text.startsWith(QStringLiteral("Print command Error: ")),
             qPrintable(r->h.boxes.asked[0].text));
    QCOMPARE(r->h.boxes.asked[0].title, QStringLiteral("Torvane"));
    QCOMPARE(r->dialogs, 0);
}

void TestToolbar::printWithoutAPrinterGivesBothMessages() {
    frmTRV& w = start(); // no default printer
    QVERIFY(!w.view().helpShown);
    toolbarButton(w, 1)->click();
    const auto& asked = r->h.boxes.asked;
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[0].text, QStringLiteral("The Print command is currently disabled."));
    QVERIFY2(asked[1].text.startsWith(QStringLiteral("Print command Error: ")), qPrintable(asked[1].text));
    QVERIFY(asked[1].text.size() > QStringLiteral("Print command Error: ").size()); // with the description
    for (const MessageBoxRequest& box : asked) {
        QCOMPARE(box.title, QStringLiteral("Torvane"));
        QCOMPARE(box.style & 7, 0); // OK only
    }
    QCOMPARE(r->dialogs, 0);
}

void TestToolbar::printOfThePageGoesThroughTheDialog() {
    const QString pdf = scratch->filePath(QStringLiteral("page.pdf"));
    r->printer = [pdf] { return pdfPrinter(pdf); };
    frmTRV& w = start();
    go(QStringLiteral("tr010005.trv"), QStringLiteral("tr010005.trv"));
    QSignalSpy printed(&w, &frmTRV::pagePrinted);
    toolbarButton(w, 1)->click();
    QCOMPARE(r->dialogs, 1);
    QCOMPARE(r->dialogOwner, static_cast<QWidget*>(&w));
    // The browser prints in the background; the printer has to outlive the print.
    QTRY_COMPARE_WITH_TIMEOUT(printed.count(), 1, 3 * kWait); // a busy machine prints slowly
    QCOMPARE(printed.at(0).at(0).toBool(), true);
    QVERIFY2(fileSize(pdf) > 0, qPrintable(pdf));
    QVERIFY(r->h.boxes.asked.empty());
}

void TestToolbar::printDialogCancelledPrintsNothing() {
    const QString pdf = scratch->filePath(QStringLiteral("cancelled.pdf"));
    r->printer = [pdf] { return pdfPrinter(pdf); };
    r->dialogAnswer = false;
    frmTRV& w = start();
    toolbarButton(w, 1)->click();
    QCOMPARE(r->dialogs, 1);
    QTest::qWait(500);
    QCOMPARE(fileSize(pdf), qint64(-1));
    QVERIFY(r->h.boxes.asked.empty());
}

// --- Calc ----------------------------------------------------------------------------------------

void TestToolbar::calcStartsTheCalculatorWhenThereIsOne() {
    frmTRV& w = start();
    toolbarButton(w, 7)->click();
    const QString calculator = torvane::platform::findCalculator();
    if (calculator.isEmpty()) {
        // No calculator on this system: nothing is started and nothing is said.
        QVERIFY(r->started.isEmpty());
    } else {
        QCOMPARE(r->started.size(), 1);
        QCOMPARE(r->started.first().first, calculator);
    }
    QVERIFY(r->h.boxes.asked.empty());
    QCOMPARE(r->h.ended, 0);
}

// --- keys ----------------------------------------------------------------------------------------

void TestToolbar::pagingKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("inBrowser");
    QTest::addColumn<QString>("completes");
    const int alt = Qt::AltModifier;
    const int altShift = Qt::AltModifier | Qt::ShiftModifier;
    struct Row {
        const char* name;
        int key;
        int modifiers;
        const char* completes;
    };
    const Row rows[] = {
        {"Page Down", Qt::Key_PageDown, 0, "tr010004.trv"},
        {"Page Up", Qt::Key_PageUp, 0, "tr010002.trv"},
        {"Alt+comma", Qt::Key_Comma, alt, "tr010002.trv"},
        {"Alt+full stop", Qt::Key_Period, alt, "tr010004.trv"},
        {"Alt+<", Qt::Key_Less, altShift, "tr010002.trv"},
        {"Alt+>", Qt::Key_Greater, altShift, "tr010004.trv"},
    };
    for (const Row& row : rows) {
        for (const bool inBrowser : {false, true}) {
            QTest::addRow("%s, focus %s", row.name, inBrowser ? "in the browser" : "on the toolbar")
                << row.key << row.modifiers << inBrowser << QString::fromLatin1(row.completes);
        }
    }
}

void TestToolbar::pagingKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, inBrowser);
    QFETCH(QString, completes);
    frmTRV& w = start();
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    sendKey(inBrowser, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
    QTest::qWait(200);
    // The key acts once, and only as the command.
    QCOMPARE(completedPages(spy), QStringList{completes});
    QVERIFY(r->h.boxes.asked.empty());
}

void TestToolbar::accessKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("inBrowser");
    for (const bool inBrowser : {false, true}) {
        const char* where = inBrowser ? "in the browser" : "on the toolbar";
        QTest::addRow("Alt+C, focus %s", where) << int(Qt::Key_C) << inBrowser;
        QTest::addRow("Alt+H, focus %s", where) << int(Qt::Key_H) << inBrowser;
    }
}

void TestToolbar::accessKeys() {
    QFETCH(int, key);
    QFETCH(bool, inBrowser);
    frmTRV& w = start();
    QSignalSpy spy(&w, &frmTRV::documentCompleted);
    sendKey(inBrowser, static_cast<Qt::Key>(key), Qt::AltModifier);
    if (key == Qt::Key_C) {
        // Contents on the contents page: the second contents page.
        QTRY_VERIFY_WITH_TIMEOUT(!spy.isEmpty(), kWait);
        QTest::qWait(200);
        QCOMPARE(completedPages(spy), QStringList{QStringLiteral("trvcrc.trv")});
        QVERIFY(!w.view().helpShown);
    } else {
        QVERIFY(w.view().helpShown);
        QTest::qWait(200);
        QVERIFY(spy.isEmpty());
    }
}

void TestToolbar::escapeStopsTheVideoEvenWithoutOne_data() {
    QTest::addColumn<bool>("inBrowser");
    QTest::newRow("focus on the toolbar") << false;
    QTest::newRow("focus in the browser") << true;
}

void TestToolbar::escapeStopsTheVideoEvenWithoutOne() {
    QFETCH(bool, inBrowser);
    frmTRV& w = start();
    w.playVideo(w.state().FileLocn + QStringLiteral("d01/fig0105.avi"));
    QTRY_VERIFY(w.view().backdropShown && w.view().videoStarting);
    toolbarButton(w, 8)->click();
    sendKey(inBrowser, Qt::Key_Escape);
    QVERIFY(!w.view().videoStarting);
    QVERIFY(!w.view().videoWatched);
    QVERIFY(!w.view().backdropShown);
    QCOMPARE(w.view().playerMode, QStringLiteral("invisible"));
    QVERIFY(!w.view().helpShown);
    QVERIFY(w.isVisible());
}

// --- quitting ------------------------------------------------------------------------------------

void TestToolbar::quitKeyAnsweredNoChangesNothing() {
    frmTRV& w = start();
    go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv"));
    const QByteArray before = history();
    QVERIFY(!before.isEmpty());
    const QString page = w.state().CurPage;
    r->h.boxes.answerNext(7);
    sendKey(true, Qt::Key_Q, Qt::AltModifier);

    QCOMPARE(r->h.boxes.asked.size(), std::size_t{1});
    const MessageBoxRequest& box = r->h.boxes.asked[0];
    QCOMPARE(box.text, QStringLiteral("Do you want to quit?"));
    QCOMPARE(box.title, QStringLiteral("Quit Torvane?"));
    QCOMPARE(box.style, 65572);
    QCOMPARE(box.owner, static_cast<QWidget*>(&w));
    QVERIFY(box.placement.has_value());
    QVERIFY(!box.placement->centreX && !box.placement->centreY && !box.placement->desktop);
    QCOMPARE(box.placement->offsetX, 100);
    QCOMPARE(box.placement->offsetY, 80);

    QCOMPARE(r->h.ended, 0);
    QCOMPARE(history(), before);
    QVERIFY(w.isVisible());
    QVERIFY(w.view().blocksPolled);
    QCOMPARE(w.view().blocksHeld, 4);
    QCOMPARE(w.state().CurPage, page);
}

void TestToolbar::quitKeyAnsweredYesEndsTheProgram() {
    frmTRV& w = start();
    QVERIFY(QFile::exists(historyPath()));
    r->h.boxes.answerNext(6);
    sendKey(false, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(r->h.boxes.asked.size(), std::size_t{1});
    QCOMPARE(r->h.ended, 1);
    QVERIFY(!QFile::exists(historyPath()));
    QVERIFY(!w.view().blocksPolled);
    QCOMPARE(w.view().blocksHeld, 0);
}

void TestToolbar::quitWithoutAHistoryFileEndsWithoutAnotherBox() {
    frmTRV& w = start();
    QVERIFY(QFile::remove(historyPath()));
    r->h.boxes.answerNext(6);
    w.AskQuit();
    QCOMPARE(r->h.boxes.asked.size(), std::size_t{1});
    QCOMPARE(r->h.ended, 1);
    QVERIFY(!QFile::exists(historyPath()));
}

void TestToolbar::closingTheWindow_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("fromWithfile");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("stays");
    QTest::addColumn<int>("ended");
    QTest::newRow("viewer, No") << QString() << false << 7 << true << true << 0;
    QTest::newRow("viewer, Yes") << QString() << false << 6 << true << true << 1;
    QTest::newRow("command line") << QStringLiteral("trv0000") << false << 6 << false << false << 0;
    QTest::newRow("ended from the companion window") << QString() << true << 6 << false << false << 0;
}

void TestToolbar::closingTheWindow() {
    QFETCH(QString, commandLine);
    QFETCH(bool, fromWithfile);
    QFETCH(int, answer);
    QFETCH(bool, asks);
    QFETCH(bool, stays);
    QFETCH(int, ended);
    r->h.commandLine = commandLine;
    frmTRV& w = start();
    w.state().FromWithfile = fromWithfile;
    const QByteArray before = history();
    r->h.boxes.answerNext(answer);

    const bool closed = w.close();
    QCOMPARE(r->h.boxes.asked.size(), std::size_t{asks ? 1u : 0u});
    if (asks) {
        QCOMPARE(r->h.boxes.asked[0].text, QStringLiteral("Do you want to quit?"));
        QCOMPARE(r->h.boxes.asked[0].owner, static_cast<QWidget*>(&w));
    }
    QCOMPARE(r->h.ended, ended);
    if (ended == 0) {
        QCOMPARE(closed, !stays);
        QCOMPARE(w.isVisible(), stays);
        // Only a confirmed quit deletes the history.
        QCOMPARE(history(), before);
    } else {
        QVERIFY(!QFile::exists(historyPath()));
    }
}

void TestToolbar::shutOffRaisesTheEndFlag() {
    frmTRV& w = start();
    QFile block(r->h.runtimeFolder() + QStringLiteral("/KirvoltEnd"));
    QVERIFY2(block.open(QIODevice::ReadOnly), qPrintable(block.fileName()));
    QCOMPARE(block.read(1), QByteArray(1, '\0')); // cleared at start
    block.close();
    w.ShutOffTRV();
    QVERIFY(block.open(QIODevice::ReadOnly));
    QCOMPARE(block.read(1), QByteArray(1, '\1'));
    // The program goes on.
    QCOMPARE(r->h.ended, 0);
    QVERIFY(w.view().blocksPolled);
}

// --- a placed box on the screen ------------------------------------------------------------------

void TestToolbar::placedBoxOnScreen_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QVariant>("x");
    QTest::addColumn<QVariant>("y");
    QTest::addColumn<bool>("desktop");
    QTest::newRow("100, 80 from (10, 20)")
        << QRect(10, 20, 400, 300) << QVariant(100) << QVariant(80) << false;
    QTest::newRow("-150 from (300, 200)")
        << QRect(300, 200, 500, 300) << QVariant(-150) << QVariant(80) << false;
    QTest::newRow("center, center") << QRect(0, 0, 801, 600) << QVariant(QStringLiteral("center"))
                                    << QVariant(QStringLiteral("center")) << false;
    QTest::newRow("centre over a narrow owner")
        << QRect(200, 150, 101, 41) << QVariant(QStringLiteral("Center"))
        << QVariant(QStringLiteral("CENTER")) << false;
    QTest::newRow("centre over the desktop") << QRect(10, 20, 400, 300) << QVariant(QStringLiteral("Center"))
                                             << QVariant(QStringLiteral("Center")) << true;
}

void TestToolbar::placedBoxOnScreen() {
    QFETCH(QRect, owner);
    QFETCH(QVariant, x);
    QFETCH(QVariant, y);
    QFETCH(bool, desktop);
    QWidget window;
    window.setGeometry(owner);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Under a window manager the owner's frame (title bar and borders) is what the box is placed by.
    QTest::qWait(100);

    // Looks at the box once it is up; once it has come to rest, drags it aside through the window manager
    // as the learner would and looks again; then answers Yes.
    QRect seen;
    QRect dragged;
    QElapsedTimer shown;
    QElapsedTimer overall;
    overall.start();
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        if (!shown.isValid()) {
            shown.start();
            return;
        }
        const bool late = overall.elapsed() > 10000;
        if (!seen.isValid()) {
            if (shown.elapsed() < 150 && !late) {
                return; // the X server has had time to map and place it
            }
            seen = box->frameGeometry();
            return;
        }
        if (shown.elapsed() < 1000 && !late) {
            return;
        }
        if (!dragged.isValid()) {
            QProcess::execute(QStringLiteral("xdotool"),
                              {QStringLiteral("windowmove"), QString::number(box->winId()),
                               QString::number(seen.x() + 40), QString::number(seen.y() + 60)});
            dragged = QRect(0, 0, 1, 1);
            return;
        }
        if (shown.elapsed() < 1500 && !late) {
            return;
        }
        dragged = box->frameGeometry();
        poll.stop();
        box->button(QMessageBox::Yes)->click();
    });
    poll.start();

    torvane::secondcopy::ScreenMessageBoxes boxes;
    const std::optional<int> result =
        torvane::base::MsgBoxAt(boxes, QStringLiteral("Do you want to quit?"), 65572,
                                QStringLiteral("Quit Torvane?"), &window, desktop, x, y);
    QVERIFY(result.has_value());
    QCOMPARE(*result, 6);
    QVERIFY(seen.isValid());

    const QRect reference = desktop ? window.screen()->virtualGeometry() : window.frameGeometry();
    QPoint expected;
    if (x.typeId() == QMetaType::QString) {
        // Centred halves truncate toward zero.
        expected = QPoint(reference.left() + (reference.width() - seen.width()) / 2,
                          reference.top() + (reference.height() - seen.height()) / 2);
    } else {
        expected = reference.topLeft() + QPoint(x.toInt(), y.toInt());
    }
    QCOMPARE(seen.topLeft(), expected);
    // Dragged aside, it stays where the learner put it.
    QVERIFY2(dragged.topLeft().x() > seen.left() + 20 && dragged.topLeft().y() > seen.top() + 20,
             qPrintable(QStringLiteral("placed at %1,%2, after the drag at %3,%4")
                            .arg(seen.left())
                            .arg(seen.top())
                            .arg(dragged.left())
                            .arg(dragged.top())));
}

TORVANE_GUI_TEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
