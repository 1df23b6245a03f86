// The sample nginx server block serves a course folder as the viewer's own course scheme does: the
// same content types (no charset forced on pages that declare their own), and nothing outside the folder.
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <router/coursepath.h>
#include <support/courseserver.h>

using torvane::testing::CourseServer;

class TestNginx final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void servesAsTheCourseScheme_data();
    void servesAsTheCourseScheme();
    void refusesWhatLiesOutsideTheCourse_data();
    void refusesWhatLiesOutsideTheCourse();

private:
    struct Answer {
        int status = 0;
        QByteArray contentType;
        QByteArray body;
    };
    Answer get(const QString& path);

    QTemporaryDir dir_;
    std::unique_ptr<CourseServer> server_;
    QNetworkAccessManager network_;
};

namespace {

// A page in Windows-1252 that says so itself: a charset in the reply header would override it.
const QByteArray kAnsiPage =
    "<html><head><meta charset=\"windows-1252\"></head><body>Ohm \xb5V</body></html>";

const QStringList kCourseFiles{"trva.trv", "d01/fig0107.avi", "d01/v0103.wav", "pic.jpg", "pic.jpeg",
                               "pic.png",  "pic.gif",         "pic.svg",       "s.css",   "s.js",
                               "p.html",   "p.htm",           "UPPER.TRV",     "data.bin"};

} // namespace

void TestNginx::initTestCase() {
    const QString course = dir_.filePath(QStringLiteral("course"));
    for (const QString& name : kCourseFiles) {
        QDir().mkpath(QFileInfo(course + QLatin1Char('/') + name).path());
        QFile file(course + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kAnsiPage + name.toLatin1());
    }
    QFile secret(dir_.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("not course material");
    secret.close();
    server_ = std::make_unique<CourseServer>(course);
    QVERIFY2(server_->start(), qPrintable(server_->error()));
}

TestNginx::Answer TestNginx::get(const QString& path) {
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_->port()) + path));
    QNetworkReply* reply = network_.get(request);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                  reply->rawHeader("Content-Type"), reply->readAll()};
    reply->deleteLater();
    return answer;
}

void TestNginx::servesAsTheCourseScheme_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : kCourseFiles) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

void TestNginx::servesAsTheCourseScheme() {
    QFETCH(QString, name);
    const Answer answer = get(QStringLiteral("/trv_cbt/trv2/") + name);
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.contentType, torvane::router::courseMimeType(name));
    QCOMPARE(answer.body, kAnsiPage + name.toLatin1());
}

void TestNginx::refusesWhatLiesOutsideTheCourse_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("beside the location, no slash") << QStringLiteral("/trv_cbt/trv2../secret.txt");
    QTest::newRow("climbing out") << QStringLiteral("/trv_cbt/trv2/../secret.txt");
    QTest::newRow("climbing out, encoded") << QStringLiteral("/trv_cbt/trv2/%2e%2e/secret.txt");
    QTest::newRow("outside the location") << QStringLiteral("/secret.txt");
    QTest::newRow("missing page") << QStringLiteral("/trv_cbt/trv2/trvz.trv");
}

void TestNginx::refusesWhatLiesOutsideTheCourse() {
    QFETCH(QString, path);
    const Answer answer = get(path);
    QVERIFY2(!answer.body.contains("not course material"), qPrintable(path));
    QCOMPARE(answer.status, 404);
}

QTEST_GUILESS_MAIN(TestNginx)
#include "tst_nginx.moc"
