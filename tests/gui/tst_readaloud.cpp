// Reading a course page aloud, in the real browser with a fake speech engine: the sentences said in
// order and marked one at a time, from the selection, paused and resumed, stopped with the page exactly
// as before, the rate, and no engine at all. Then the desktop's own engine, where the machine has one.
#include "fakespeaker.h"
#include "viewerharness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <shell/coursebrowser.h>
#include <shell/qtspeaker.h>
#include <shell/readaloud.h>
#include <shell/searchhits.h>
#include <shell/speaker.h>

using torvane::shell::CourseBrowser;
using torvane::shell::ReadAloud;
using torvane::shell::Speaker;
using torvane::testing::FakeSpeaker;

namespace {

constexpr int kWait = 20000;
const QString kAddress = QStringLiteral("torvane://course/trv_cbt/trv2/page.trv");

// Blocks, a line break, preformatted lines, a link inside a sentence, a word the search marked, text the
// learner never sees, and a last sentence far down the page.
const QString kPage = QStringLiteral(R"(<!DOCTYPE html>
<html lang="en-GB"><head><meta charset="utf-8"><title>Ohm's law</title>
<style>.note { display: none; }</style><script>var unread = "Not read either.";</script></head>
<body>
<h1>Ohm's law</h1>
<p>The current rises with the voltage. See <a href="trv0101.trv">the first page</a> for more!</p>
<p class="note">A hidden note.</p><noscript>No script.</noscript>
<p>Is the resistance <b>constant</b>? It is, at a fixed temperature,<span style="visibility: hidden"> unseen,</span> e.g. in a lab.</p>
<p>Measure it<br>with a meter</p>
<pre>R = U / I
P = U x I</pre>
<div style="height: 3000px"></div>
<p><a href="trv0102.trv">Next page</a></p>
</body></html>)");

const QStringList kSentences = {
    QStringLiteral("Ohm's law"),
    QStringLiteral("The current rises with the voltage."),
    QStringLiteral("See the first page for more!"),
    QStringLiteral("Is the resistance constant?"),
    QStringLiteral("It is, at a fixed temperature, e.g. in a lab."),
    QStringLiteral("Measure it"),
    QStringLiteral("with a meter"),
    QStringLiteral("R = U / I"),
    QStringLiteral("P = U x I"),
    QStringLiteral("Next page"),
};

QString withoutSpaces(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// An engine that records what it is asked; the test ends each sentence with sentenceDone().

// What the page shows: the text of the read-aloud marks, the whole body, its links and text nodes, the
// search's marks, and whether the first read-aloud mark lies in the window (scrolled to whole pixels).
const char kLookScript[] = R"((function () {
  const marks = Array.from(document.querySelectorAll('mark.torvane-read-aloud'));
  let texts = 0;
  for (const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT); w.nextNode();) texts++;
  const r = marks.length ? marks[0].getBoundingClientRect() : null;
  return {marked: marks.map((m) => m.textContent).join(''), marks: marks.length, texts,
          body: document.body.innerHTML, links: Array.from(document.links, (l) => l.href),
          hits: document.querySelectorAll('mark.torvane-search-hit').length,
          inView: !!r && r.top >= 0 && r.bottom <= window.innerHeight + 1};
})())";

} // namespace

class TestReadAloud final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readsThePage_data();
    void readsThePage();
    void systemSpeakerSpeaksASentence();

private:
    QTemporaryDir course_;
};

void TestReadAloud::initTestCase() {
    qApp->setQuitOnLastWindowClosed(false);
    QVERIFY(QDir(course_.path()).mkpath(QStringLiteral("trv_cbt/trv2")));
    QFile page(course_.filePath(QStringLiteral("trv_cbt/trv2/page.trv")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(kPage.toUtf8());
}

void TestReadAloud::readsThePage_data() {
    // Steps: name[=value][*times]. say=N: the engine is given sentence N (and nothing more so far), and
    // the page marks it alone, in view; mark=N: the page marks it; clean: no mark, the page as before.
    QTest::addColumn<QString>("steps");
    QTest::newRow("from the top, every sentence in turn, then the mark goes")
        << "toggle say=0 language=en-GB voice=fake-en-GB prefs=1 done say=1 done say=2 done say=3 done say=4 "
           "done say=5 done say=6 done say=7 done say=8 done say=9 state=reading done state=idle clean";
    QTest::newRow("from the sentence the selection starts in")
        << "select=fixed toggle say=4 done say=5 stop state=idle clean";
    QTest::newRow("from a selection in a link") << "select=first toggle say=2 done say=3 stop clean";
    QTest::newRow("pause and resume, also across the end of a sentence")
        << "toggle say=0 toggle state=paused pauses=1 toggle state=reading resumes=1 toggle state=paused "
           "done "
           "mark=1 toggle say=1 resumes=1 state=reading stop clean";
    QTest::newRow("stop leaves the page as it was; again from the top")
        << "toggle say=0 done say=1 stop state=idle stops=1 clean stop stops=1 toggle say=0 prefs=1 stop "
           "clean";
    QTest::newRow("rate in steps, applied while reading, ends of the scale")
        << "faster rate=0.1 prefs=1 toggle say=0 prefs=2 faster rate=0.2 prefs=3 faster*12 rate=1 prefs=11 "
           "slower*25 rate=-1 prefs=31 slower rate=-1 prefs=31 done say=1 stop clean";
    QTest::newRow("no engine: one message, once; nothing else")
        << "noengine toggle told=1 state=idle toggle told=1 state=idle stop stops=0 clean prefs=0";
}

void TestReadAloud::readsThePage() {
    QFETCH(QString, steps);
    QStringList told;
    QWidget window;
    window.resize(800, 600);
    auto* browser = new CourseBrowser(window);
    browser->installCourse(course_.filePath(QStringLiteral("trv_cbt/trv2")));
    browser->setGeometry(QRect(0, 0, 800, 600));
    auto owned = std::make_unique<FakeSpeaker>();
    FakeSpeaker& fake = *owned;
    auto* reader = new ReadAloud(window, *browser, std::move(owned), [&](const QString& m) { told << m; });
    QSignalSpy preferences(reader, &ReadAloud::preferencesChanged);
    window.show();
    QSignalSpy completed(browser, &CourseBrowser::documentCompleted);
    browser->load(QUrl(kAddress));
    QVERIFY(completed.wait(kWait));

    const auto evaluate = [&](const QString& script) {
        auto result = std::make_shared<std::optional<QVariant>>();
        browser->runInViewerWorld(script, [result](const QVariant& v) { *result = v; });
        return QTest::qWaitFor([&] { return result->has_value(); }, kWait) ? **result : QVariant();
    };
    // The page once its marks show `sentence` (empty: none), or as it is when they never do.
    const auto pageMarking = [&](const QString& sentence) {
        QVariantMap page;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                page = evaluate(QString::fromLatin1(kLookScript)).toMap();
                return withoutSpaces(page[QStringLiteral("marked")].toString()) == withoutSpaces(sentence) &&
                       (page[QStringLiteral("marks")].toInt() > 0) == !sentence.isEmpty();
            },
            kWait));
        return page;
    };
    QCOMPARE(evaluate(torvane::shell::searchHitScript({QStringLiteral("resist")})).toInt(), 1);
    const QVariantMap before = pageMarking(QString());
    QCOMPARE(before[QStringLiteral("links")].toStringList(),
             QStringList({QStringLiteral("torvane://course/trv_cbt/trv2/trv0101.trv"),
                          QStringLiteral("torvane://course/trv_cbt/trv2/trv0102.trv")}));

    const QHash<QString, std::function<void()>> actions{
        {QStringLiteral("toggle"), [&] { reader->toggle(); }},
        {QStringLiteral("stop"), [&] { reader->stop(); }},
        {QStringLiteral("faster"), [&] { reader->faster(); }},
        {QStringLiteral("slower"), [&] { reader->slower(); }},
        {QStringLiteral("done"), [&] { emit fake.sentenceDone(); }},
        {QStringLiteral("noengine"), [&] { fake.engine = false; }},
    };
    const QHash<QString, std::function<QString()>> values{
        {QStringLiteral("state"),
         [&] {
             return QString::fromLatin1(!reader->active() ? "idle" : reader->paused() ? "paused" : "reading");
         }},
        {QStringLiteral("rate"),
         [&] { return QString::number(fake.rate == reader->rate() ? fake.rate : 99); }},
        {QStringLiteral("prefs"), [&] { return QString::number(preferences.count()); }},
        {QStringLiteral("voice"), [&] { return reader->voice(); }},
        {QStringLiteral("language"), [&] { return fake.askedFor; }},
        {QStringLiteral("told"), [&] { return QString::number(told.size()); }},
        {QStringLiteral("pauses"), [&] { return QString::number(fake.pauses); }},
        {QStringLiteral("resumes"), [&] { return QString::number(fake.resumes); }},
        {QStringLiteral("stops"), [&] { return QString::number(fake.stops); }},
    };
    int says = 0;
    for (const QString& token : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList repeated = token.split(QLatin1Char('*'));
        const QString name = repeated.first().section(QLatin1Char('='), 0, 0);
        const QString value = repeated.first().section(QLatin1Char('='), 1);
        for (int i = repeated.value(1, QStringLiteral("1")).toInt(); i > 0; --i) {
            if (actions.contains(name)) {
                actions[name]();
            } else if (values.contains(name)) {
                QCOMPARE(values[name](), value);
            } else if (name == QLatin1String("select")) {
                const QByteArray word = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
                QVERIFY(evaluate(QStringLiteral("getSelection().removeAllRanges(), find(...%1)")
                                     .arg(QString::fromUtf8(word)))
                            .toBool());
            } else if (name == QLatin1String("say") || name == QLatin1String("mark")) {
                const QString sentence = kSentences.at(value.toInt());
                if (name == QLatin1String("say")) {
                    ++says;
                    QTRY_COMPARE_WITH_TIMEOUT(fake.said.size(), says, kWait);
                    QCOMPARE(fake.said.last(), sentence);
                }
                const QVariantMap page = pageMarking(sentence);
                QCOMPARE(withoutSpaces(page[QStringLiteral("marked")].toString()), withoutSpaces(sentence));
                QVERIFY(page[QStringLiteral("inView")].toBool());
                QCOMPARE(page[QStringLiteral("links")], before[QStringLiteral("links")]);
                QCOMPARE(page[QStringLiteral("hits")], before[QStringLiteral("hits")]);
            } else if (name == QLatin1String("clean")) {
                QCOMPARE(pageMarking(QString()), before); // text nodes, links and search marks as they were
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step ") + name));
            }
            if (QTest::currentTestFailed()) {
                qWarning("at step %s", qPrintable(token));
                return;
            }
        }
    }
    QCOMPARE(fake.said.size(), says); // nothing said that the row did not expect
    QVERIFY(told.isEmpty() || told.first().contains(QLatin1String("speech-dispatcher")));
}

// The desktop's engine says a sentence and reports its end, once; a sentence stopped reports none. The
// test gives speech-dispatcher a session of its own with a silent audio output (ALSA's null device), so
// that it runs on machines without a sound device and leaves a desktop's own speech service alone.
void TestReadAloud::systemSpeakerSpeaksASentence() {
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("run")));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("config/speech-dispatcher")));
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile config(home.filePath(QStringLiteral("config/speech-dispatcher/speechd.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("AudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\n");
    config.close();
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("run")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("XDG_CONFIG_HOME", configHome);
    });

    const std::unique_ptr<Speaker> speaker = torvane::shell::makeSystemSpeaker();
    if (!speaker->available()) {
        QSKIP("No speech engine works here (the torvane.media warnings above say why): speech-dispatcher "
              "needs speech-dispatcher-espeak-ng and qt6-speech-speechd-plugin, flite an audio device.");
    }
    speaker->chooseVoice(QStringLiteral("en"), QString());
    QVERIFY(!speaker->voiceName().isEmpty());
    QSignalSpy done(speaker.get(), &Speaker::sentenceDone);
    for (int sentence = 1; sentence <= 2; ++sentence) {
        speaker->say(QStringLiteral("The current rises with the voltage."));
        QVERIFY2(QTest::qWaitFor([&] { return done.count() >= sentence; }, 60000), "no end of the sentence");
    }
    // The null device takes a sentence faster than it is spoken: the stop comes before the engine starts.
    speaker->say(QStringLiteral("This sentence is stopped before it is spoken."));
    speaker->stop();
    QTest::qWait(3000);
    QCOMPARE(done.count(), 2);
}

TORVANE_GUI_TEST_MAIN(TestReadAloud)
#include "tst_readaloud.moc"
