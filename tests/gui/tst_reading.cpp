// The reading aids of the main window, driven with real keys on the X server as a learner types them:
// text size, find in the page, the dark reading mode, the keys panel, the keyboard path into the page,
// and the preferences kept across runs. The course's own keys keep their meaning throughout.
#include "fakespeaker.h"
#include "viewerharness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QWebEngineView>
#include <memory>
#include <shell/preferences.h>

using torvane::shell::frmTRV;
using torvane::testing::completedPages;
using torvane::testing::FakeSpeaker;
using torvane::testing::part;
using torvane::testing::toolbarButton;
using torvane::testing::ViewerHarness;

namespace {

constexpr int kWait = 20000;

void type(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(10000);
}

void key(const QString& keys) {
    type({QStringLiteral("key"), keys});
}

// Runs `script` in the page and waits for its result.
QVariant inPage(frmTRV& w, const QString& script) {
    QVariant result;
    bool done = false;
    w.runInPage(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    QTest::qWaitFor([&] { return done; }, kWait);
    return result;
}

} // namespace

class TestReading final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void textSizeFollowsThePagesNotTheSizeClass();
    void findInThePage();
    void darkReadingModeKeepsLinksAndPictures();
    void keysPanelAndTheKeyboardPathIntoThePage();
    void preferencesKeptAcrossRuns();
    void readingAloudThroughTheWindow();

private:
    frmTRV& start();
    QString preferencesFile() const {
        return h->env.value(QStringLiteral("APPDATA")) + QStringLiteral("/Parlenta/Torvane/viewer.ini");
    }
    std::unique_ptr<ViewerHarness> h;
};

void TestReading::init() {
    h = std::make_unique<ViewerHarness>();
}

void TestReading::cleanup() {
    h.reset();
}

frmTRV& TestReading::start() {
    h->make();
    frmTRV& w = h->showFirstCopy();
    QTest::qWaitFor([&w] { return w.isActiveWindow(); }, kWait);
    return w;
}

void TestReading::textSizeFollowsThePagesNotTheSizeClass() {
    frmTRV& w = start();
    auto& web = part<QWebEngineView>(w, "Web1");
    const struct {
        const char* keys;
        int size;
    } steps[] = {{"ctrl+equal", 110}, {"ctrl+plus", 125}, {"ctrl+minus", 110}, {"ctrl+0", 100},
                 {"ctrl+minus", 90},  {"ctrl+minus", 80}, {"ctrl+KP_Add", 90}};
    for (const auto& step : steps) {
        key(QString::fromLatin1(step.keys));
        QTRY_COMPARE(w.view().textSize, step.size);
        QVERIFY(w.view().textSizeShown);
        QCOMPARE(qRound(web.zoomFactor() * 100), step.size);
    }
    // Ctrl with the wheel, a step a notch; the ends hold.
    type({"click", "--repeat", "1", "4"}); // a wheel notch up, no Ctrl: the page scrolls, the size stays
    QCOMPARE(w.view().textSize, 90);
    type({"keydown", "ctrl", "click", "4", "keyup", "ctrl"});
    QTRY_COMPARE(w.view().textSize, 100);
    for (int i = 0; i < 12; ++i) {
        key(QStringLiteral("ctrl+equal"));
    }
    QTRY_COMPARE(w.view().textSize, 300);
    // Other pages get it too; the size class is the window's.
    QVERIFY(h->go(QStringLiteral("tr010002.trv"), QStringLiteral("tr010002.trv")));
    QCOMPARE(qRound(web.zoomFactor() * 100), 300);
    QCOMPARE(w.state().ScreenSize, 3);
    QTRY_VERIFY(!w.view().textSizeShown); // the indicator goes by itself
    // Kept for the next run, beside the history.
    QFile file(preferencesFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(torvane::shell::parsePreferences(file.readAll()).textSize, 300);
}

void TestReading::findInThePage() {
    frmTRV& w = start();
    const QRect browser = part<QWebEngineView>(w, "Web1").geometry();
    // The page's own count of "module", letter case aside, in its visible text.
    const int count =
        inPage(w, QStringLiteral("(document.body.innerText.match(/module/gi) || []).length")).toInt();
    QVERIFY2(count >= 3, "the contents page names its modules");
    toolbarButton(w, 8)->click(); // the help picture up: any key hides it
    key(QStringLiteral("ctrl+f"));
    QTRY_VERIFY(w.view().findBarShown);
    QVERIFY(!w.view().helpShown);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtFind"));
    type({"type", "--delay", "30", "module"});
    const auto of = [count](int current) { return QStringLiteral("%1 of %2").arg(current).arg(count); };
    QTRY_COMPARE(w.view().findStatus, of(1));
    const struct {
        const char* keys;
        int current;
    } moves[] = {{"Return", 2}, {"Return", 3}, {"shift+Return", 2}, {"F3", 3}, {"shift+F3", 2}};
    for (const auto& move : moves) {
        key(QString::fromLatin1(move.keys));
        QTRY_COMPARE(w.view().findStatus, of(move.current));
    }
    type({"type", "--delay", "30", "zzq"});
    QTRY_COMPARE(w.view().findStatus, QStringLiteral("Not found"));
    QCOMPARE(part<QWebEngineView>(w, "Web1").geometry(), browser); // the bar lies over the page

    // Esc closes the bar, gives the page the keyboard, and still stops a video.
    w.playVideo(w.state().FileLocn + QStringLiteral("d01/fig0105.avi"));
    QTRY_VERIFY(w.view().backdropShown);
    key(QStringLiteral("Escape"));
    QTRY_VERIFY(!w.view().findBarShown);
    QVERIFY(!w.view().backdropShown);
    QTRY_VERIFY(w.view().pageHasKeyboard);

    // Page Down keeps its meaning with the bar open, and the page it brings closes the bar.
    key(QStringLiteral("ctrl+f"));
    QTRY_VERIFY(w.view().findBarShown);
    const QString next = w.state().NextLink.mid(w.state().NextLink.indexOf(QStringLiteral("trv2/")) + 5);
    QSignalSpy paged(&w, &frmTRV::documentCompleted);
    key(QStringLiteral("Next"));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(paged).contains(next), kWait);
    QTRY_VERIFY(!w.view().findBarShown);
}

void TestReading::darkReadingModeKeepsLinksAndPictures() {
    frmTRV& w = start();
    const QString filter = QStringLiteral("getComputedStyle(document.documentElement).filter");
    const QString links = QStringLiteral("Array.from(document.links, (l) => l.href).join(' ')");
    const QString before = inPage(w, links).toString();
    const QByteArray history = h->history();
    key(QStringLiteral("ctrl+shift+d"));
    QTRY_VERIFY(w.view().darkMode);
    QTRY_VERIFY(inPage(w, filter).toString().contains(QStringLiteral("invert")));
    QCOMPARE(inPage(w, links).toString(), before);
    QCOMPARE(w.lastDocument().links.join(QLatin1Char(' ')), before);
    // Pictures are turned back to their own colours.
    QVERIFY(
        inPage(w, QStringLiteral("(function(){const i=document.createElement('img');document.body.append(i);"
                                 "const f=getComputedStyle(i).filter;i.remove();return f;})()"))
            .toString()
            .contains(QStringLiteral("invert(1)")));
    // The next page too, and nothing of it reaches the history or the kept links.
    QVERIFY(h->go(QStringLiteral("tr010002.trv"), QStringLiteral("tr010002.trv")));
    QTRY_VERIFY(inPage(w, filter).toString().contains(QStringLiteral("invert")));
    QCOMPARE(h->history(), history + "\"tr010002.trv\"\r\n");
    key(QStringLiteral("ctrl+shift+d"));
    QTRY_VERIFY(!w.view().darkMode);
    QTRY_COMPARE(inPage(w, filter).toString(), QStringLiteral("none"));
}

void TestReading::keysPanelAndTheKeyboardPathIntoThePage() {
    frmTRV& w = start();
    // F1 shows and hides the panel; Esc and a click hide it too. The help picture stays the toolbar's.
    for (const QString& hide : {QStringLiteral("F1"), QStringLiteral("Escape"), QStringLiteral("click")}) {
        key(QStringLiteral("F1"));
        QTRY_VERIFY(w.view().keysPanelShown);
        QVERIFY(!w.view().helpShown);
        if (hide == QLatin1String("click")) {
            QTest::mouseClick(&part<QLabel>(w, "keysPanel"), Qt::LeftButton);
        } else {
            key(hide);
        }
        QTRY_VERIFY(!w.view().keysPanelShown);
    }
    // F6 moves the keyboard between the toolbar row and the page.
    toolbarButton(w, 0)->setFocus();
    key(QStringLiteral("F6"));
    QTRY_VERIFY(w.view().pageHasKeyboard);
    key(QStringLiteral("F6"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(toolbarButton(w, 0)));
    key(QStringLiteral("F6"));
    QTRY_VERIFY(w.view().pageHasKeyboard);
    // Tab walks the page's links with a visible ring; Enter follows the one with the keyboard, which
    // is handled and recorded like any other page.
    const QString focused = QStringLiteral("document.activeElement && document.activeElement.href || ''");
    QString link;
    for (int i = 0; i < 20 && !link.contains(QStringLiteral("trv2/tr01")); ++i) {
        key(QStringLiteral("Tab"));
        QTest::qWait(50);
        link = inPage(w, focused).toString();
    }
    QVERIFY2(link.contains(QStringLiteral("trv2/tr01")), qPrintable(link));
    QVERIFY(inPage(w, QStringLiteral("getComputedStyle(document.activeElement).outlineStyle")).toString() !=
            QStringLiteral("none"));
    const QString page = link.mid(link.indexOf(QStringLiteral("trv2/")) + 5);
    QSignalSpy followed(&w, &frmTRV::documentCompleted);
    key(QStringLiteral("Return"));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(followed).contains(page), kWait);
    QVERIFY2(h->history().contains("\"" + page.toLatin1() + "\"\r\n"), h->history().constData());
    // The course's keys work from the page too.
    const QString next = w.state().NextLink.mid(w.state().NextLink.indexOf(QStringLiteral("trv2/")) + 5);
    QSignalSpy paged(&w, &frmTRV::documentCompleted);
    key(QStringLiteral("alt+period"));
    QTRY_VERIFY_WITH_TIMEOUT(completedPages(paged).contains(next), kWait);
}

void TestReading::preferencesKeptAcrossRuns() {
    // A damaged file gives the defaults, and is written afresh at the next change.
    QVERIFY(QDir().mkpath(QFileInfo(preferencesFile()).path()));
    QFile damaged(preferencesFile());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x00\xff[Reading]\nTextSize=9999\nDarkMode=perhaps\n", 40);
    damaged.close();
    {
        frmTRV& w = start();
        QCOMPARE(w.view().textSize, 100);
        QVERIFY(!w.view().darkMode);
        key(QStringLiteral("ctrl+equal"));
        key(QStringLiteral("ctrl+equal"));
        key(QStringLiteral("ctrl+shift+d"));
        QTRY_VERIFY(w.view().darkMode);
        QTRY_COMPARE(w.view().textSize, 125);
        // A confirmed quit deletes the history; the preferences stay.
        h->boxes.answerNext(6);
        w.AskQuit();
        QVERIFY(!QFile::exists(h->historyPath()));
    }
    QVERIFY(QFile::exists(preferencesFile()));
    ViewerHarness again;
    again.env = h->env;
    again.make();
    frmTRV& w = again.showFirstCopy();
    QCOMPARE(w.view().textSize, 125);
    QVERIFY(w.view().darkMode);
    QCOMPARE(qRound(part<QWebEngineView>(w, "Web1").zoomFactor() * 100), 125);
}

// Reading aloud from the keyboard, over a fake speech engine: one voice at a time, stopped by Esc, by
// another page and by the course's own sound; the rate kept.
void TestReading::readingAloudThroughTheWindow() {
    FakeSpeaker* speaker = nullptr;
    torvane::shell::ViewerServices services = h->services();
    services.speaker = [&speaker] {
        auto made = std::make_unique<FakeSpeaker>();
        speaker = made.get();
        return made;
    };
    h->make(std::move(services));
    frmTRV& w = h->showFirstCopy();
    QTest::qWaitFor([&w] { return w.isActiveWindow(); }, kWait);
    QVERIFY(speaker != nullptr);
    const auto readsFromTheTop = [&] {
        key(QStringLiteral("ctrl+shift+s"));
        QTRY_VERIFY(w.view().readingAloud);
        QTRY_VERIFY(!speaker->said.isEmpty());
    };
    readsFromTheTop();
    const QString first = speaker->said.first();
    emit speaker->sentenceDone();
    QTRY_COMPARE(speaker->said.size(), 2);
    QVERIFY(speaker->said[1] != first);
    // The same key pauses and goes on; while reading, Ctrl+Shift+Plus is the rate, not the text size.
    key(QStringLiteral("ctrl+shift+s"));
    QTRY_VERIFY(w.view().readingPaused);
    QCOMPARE(speaker->pauses, 1);
    key(QStringLiteral("ctrl+shift+plus"));
    QTRY_VERIFY(qAbs(speaker->rate - 0.1) < 1e-9);
    QCOMPARE(w.view().textSize, 100);
    key(QStringLiteral("ctrl+shift+s"));
    QTRY_COMPARE(speaker->resumes, 1);
    // Esc stops it.
    key(QStringLiteral("Escape"));
    QTRY_VERIFY(!w.view().readingAloud);
    // The course's own sound stops it: never two voices.
    speaker->said.clear();
    readsFromTheTop();
    w.playVideo(w.state().FileLocn + QStringLiteral("d01/fig0105.avi"));
    QTRY_VERIFY(!w.view().readingAloud);
    key(QStringLiteral("Escape"));
    // Another page stops it.
    speaker->said.clear();
    readsFromTheTop();
    QVERIFY(h->go(QStringLiteral("tr010002.trv"), QStringLiteral("tr010002.trv")));
    QTRY_VERIFY(!w.view().readingAloud);
    // The rate is kept for the next run.
    QFile file(preferencesFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(torvane::shell::parsePreferences(file.readAll()).readingRate, 0.1);
    // Without a speech engine the first use says what to install, once; nothing else changes.
    speaker->engine = false;
    const std::size_t boxes = h->boxes.asked.size();
    key(QStringLiteral("ctrl+shift+s"));
    QTRY_COMPARE(h->boxes.asked.size(), boxes + 1);
    QVERIFY2(h->boxes.asked.back().text.contains(QStringLiteral("speech")),
             qPrintable(h->boxes.asked.back().text));
    key(QStringLiteral("ctrl+shift+s"));
    QTest::qWait(300);
    QCOMPARE(h->boxes.asked.size(), boxes + 1);
    QVERIFY(!w.view().readingAloud);
}

TORVANE_GUI_TEST_MAIN(TestReading)
#include "tst_reading.moc"
