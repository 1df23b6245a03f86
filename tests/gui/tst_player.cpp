// The media player control on real media of the demo course: videos and narration play to their end,
// broken media never claims to play, and the control shows only when its container and its uiMode
// both allow it.
#include "viewerharness.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>
#include <media/mediaurl.h>
#include <media/wmp1.h>
#include <optional>

using torvane::media::WMP1;
using namespace torvane::media;

namespace {

const QString kCourse = QStringLiteral("torvane://course/trv_cbt/trv2/");

// How long a demo media file lasts, read from its own header: an AVI's frame time and frame count, a
// WAV's data size and byte rate.
std::optional<qint64> mediaLengthMs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray head = file.read(4096);
    const auto u32 = [&head](qsizetype at) {
        return at + 4 <= head.size() ? qFromLittleEndian<quint32>(head.constData() + at) : 0u;
    };
    if (const qsizetype avih = head.indexOf("avih"); avih >= 0) {
        return qint64(u32(avih + 8)) * u32(avih + 8 + 16) / 1000;
    }
    const qsizetype fmt = head.indexOf("fmt ");
    const qsizetype data = head.indexOf("data");
    if (fmt < 0 || data < 0 || u32(fmt + 16) == 0) {
        return std::nullopt;
    }
    return qint64(u32(data + 4)) * 1000 / u32(fmt + 16);
}

// Every play state the control goes through, from its signal and from polling as the window does.
class StateLog final {
public:
    explicit StateLog(WMP1& player) : player_(player) {
        QObject::connect(&player, &WMP1::playStateChanged, &poll_, [this](int state) { note(state); });
        QObject::connect(&poll_, &QTimer::timeout, [this] { note(player_.playState()); });
        poll_.start(10);
        clock_.start();
    }
    void note(int state) {
        if (states.isEmpty() || states.last() != state) {
            states << state;
            times << clock_.elapsed();
        }
    }
    // Waits until the control reports `state` at or after entry `from` of the log; the time it was
    // first seen there, or nothing.
    std::optional<qint64> waitFor(int state, int timeoutMs, qsizetype from = 0) {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired() && states.indexOf(state, from) < 0) {
            QTest::qWait(10);
        }
        const qsizetype at = states.indexOf(state, from);
        return at < 0 ? std::nullopt : std::optional<qint64>(times[at]);
    }
    void clear() {
        states.clear();
        times.clear();
    }
    QString text() const {
        QStringList parts;
        for (qsizetype i = 0; i < states.size(); ++i) {
            parts << QStringLiteral("%1@%2").arg(states[i]).arg(times[i]);
        }
        return parts.join(QLatin1Char(' '));
    }

    QList<int> states;
    QList<qint64> times;

private:
    WMP1& player_;
    QTimer poll_;
    QElapsedTimer clock_;
};

// The first media file of the demo course in a folder matching `folders` whose name matches `files`,
// as "<folder>/<file>"; empty when there is none.
QString firstCourseMedia(const QString& folders, const QString& files) {
    const QDir root(torvane::testing::demoCourseRoot());
    for (const QString& folder : root.entryList({folders}, QDir::Dirs, QDir::Name)) {
        const QStringList found = QDir(root.filePath(folder)).entryList({files}, QDir::Files, QDir::Name);
        if (!found.isEmpty()) {
            return folder + QLatin1Char('/') + found.first();
        }
    }
    return {};
}

// The picture shows something other than black.
bool showsPicture(WMP1& player) {
    const QImage image = player.grab().toImage();
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (qGray(image.pixel(x, y)) > 24) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class TestPlayer final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void videoPlaysToItsEnd_data();
    void videoPlaysToItsEnd();
    void narrationPlaysUnseenToItsEnd();
    void sameAddressAgainStartsAfresh();
    void brokenMediaNeverPlays_data();
    void brokenMediaNeverPlays();
    void mediaThatNeverLoadsIsGivenUp();
    void visibilityFollowsContainerAndMode();
    void stopDuringPlayback();
    void bundledAddressesWithoutAResolver();
    void controlsBeforeAnyMedia();
    void backendWithoutSoundDevice_data();
    void backendWithoutSoundDevice();

private:
    std::unique_ptr<WMP1> makePlayer(QWidget& window) {
        window.resize(800, 600);
        window.show();
        auto player = std::make_unique<WMP1>(&window, [](const QString& address) {
            return resolveCourseMediaUrl(address, torvane::testing::demoCourseRoot());
        });
        player->setGeometry(80, 50, 480, 420);
        return player;
    }
    void startVideo(WMP1& player, const QString& name) {
        player.show();
        player.setUiMode(QStringLiteral("none"));
        player.setURL(kCourse + name);
        player.play();
    }
    QString figureVideo_;
    QString narration_;
    const QString titleVideo_ = QStringLiteral("trv/title.avi");

    // Plays `name` to its end: playing within a few seconds, ended after about its own length.
    void playsToItsEnd(WMP1& player, StateLog& log, const QString& name);
};

void TestPlayer::initTestCase() {
    figureVideo_ = firstCourseMedia(QStringLiteral("d??"), QStringLiteral("fig*.avi"));
    narration_ = firstCourseMedia(QStringLiteral("d??"), QStringLiteral("v*.wav"));
    for (const QString& name : {figureVideo_, titleVideo_, narration_}) {
        const QString path = torvane::testing::demoCourseRoot() + QLatin1Char('/') + name;
        QVERIFY2(mediaLengthMs(path).value_or(0) > 0, qPrintable(path));
    }
}

void TestPlayer::playsToItsEnd(WMP1& player, StateLog& log, const QString& name) {
    const qint64 length = *mediaLengthMs(torvane::testing::demoCourseRoot() + QLatin1Char('/') + name);
    const auto started = log.waitFor(wmppsPlaying, 5000);
    QVERIFY2(started, qPrintable(log.text()));
    const qsizetype playing = log.states.indexOf(wmppsPlaying);
    const auto ended = log.waitFor(wmppsMediaEnded, int(length) + 8000, playing);
    QVERIFY2(ended, qPrintable(log.text()));
    // It really played through rather than giving up early.
    QVERIFY2(*ended - *started >= length * 7 / 10, qPrintable(log.text()));
    QCOMPARE(player.playState(), int(wmppsMediaEnded));
    // Once playing, nothing but the end came before the end.
    QCOMPARE(log.states.mid(playing), (QList<int>{wmppsPlaying, wmppsMediaEnded}));
}

void TestPlayer::videoPlaysToItsEnd_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("figure") << figureVideo_;
    QTest::newRow("title") << titleVideo_;
}

void TestPlayer::videoPlaysToItsEnd() {
    QFETCH(QString, name);
    QWidget window;
    auto player = makePlayer(window);
    StateLog log(*player);
    startVideo(*player, name);
    QVERIFY(player->isVisible());
    QVERIFY2(log.waitFor(wmppsPlaying, 5000), qPrintable(log.text()));
    QTRY_VERIFY_WITH_TIMEOUT(showsPicture(*player), 3000);
    playsToItsEnd(*player, log, name);
}

void TestPlayer::narrationPlaysUnseenToItsEnd() {
    QWidget window;
    auto player = makePlayer(window);
    player->show(); // after a video the container stays "visible"; the mode alone hides it
    player->setUiMode(QStringLiteral("invisible"));
    bool everVisible = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] { everVisible = everVisible || player->isVisible(); });
    watch.start(5);
    StateLog log(*player);
    player->setURL(kCourse + narration_);
    player->play();
    playsToItsEnd(*player, log, narration_);
    QVERIFY(!everVisible);
    QVERIFY(!player->isVisible());
}

void TestPlayer::sameAddressAgainStartsAfresh() {
    // A narration requested again while it plays is heard again from its start.
    const qint64 length = *mediaLengthMs(torvane::testing::demoCourseRoot() + QLatin1Char('/') + narration_);
    QWidget window;
    auto player = makePlayer(window);
    player->setURL(kCourse + narration_);
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->playState(), int(wmppsPlaying), 5000);
    QTest::qWait(int(length / 2));
    QCOMPARE(player->playState(), int(wmppsPlaying));
    player->setURL(kCourse + narration_);
    QVERIFY(player->playState() != wmppsPlaying); // loaded again, not started
    StateLog log(*player);
    player->play();
    playsToItsEnd(*player, log, narration_);
}

void TestPlayer::brokenMediaNeverPlays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written to <name> in a course folder of the test's own
    QTest::addColumn<int>("expected");       // the state it settles in
    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator random(20240611);
    random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QTest::newRow("missing file") << "d01/missing.avi" << QByteArray() << int(wmppsStopped);
    QTest::newRow("random bytes") << "d01/noise.avi" << noise << int(wmppsStopped);
    QTest::newRow("empty file") << "d01/empty.avi" << QByteArray("") << int(wmppsStopped);
    QTest::newRow("cut-off header") << "d01/short.avi" << QByteArray("RIFF\x10\0\0\0AVI LIST", 16)
                                    << int(wmppsStopped);
    QTest::newRow("address outside the course") << "../outside.avi" << noise << int(wmppsUndefined);
}

void TestPlayer::brokenMediaNeverPlays() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/course");
    QVERIFY(QDir().mkpath(root + QStringLiteral("/d01")));
    if (!content.isNull()) {
        QFile file(root + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QWidget window;
    window.resize(800, 600);
    window.show();
    WMP1 player(&window, [&root](const QString& address) { return resolveCourseMediaUrl(address, root); });
    StateLog log(player);
    startVideo(player, name);
    // As long as a good video takes to start, and then some; on a busy machine the engine may take
    // longer still to give up on a file.
    QTest::qWait(3000);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), expected, 15000);
    QVERIFY2(!log.states.contains(wmppsPlaying), qPrintable(log.text()));
}

void TestPlayer::mediaThatNeverLoadsIsGivenUp() {
    // A server that takes the connection and never answers keeps the backend loading; the player gives
    // the media up after its load limit instead of reporting "transitioning" for ever.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QUrl address(QStringLiteral("http://127.0.0.1:%1/d01/silent.avi").arg(silent.serverPort()));
    QWidget window;
    window.resize(800, 600);
    window.show();
    WMP1 player(&window, [&address](const QString&) { return address; });
    StateLog log(player);
    QElapsedTimer clock;
    clock.start();
    startVideo(player, QStringLiteral("d01/silent.avi"));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(wmppsStopped), 14000);
    QVERIFY2(clock.elapsed() >= 9000, qPrintable(log.text())); // not given up before its time
    QVERIFY2(!log.states.contains(wmppsPlaying), qPrintable(log.text()));
    player.play(); // asked again, it stays given up
    QCOMPARE(player.playState(), int(wmppsStopped));
}

void TestPlayer::visibilityFollowsContainerAndMode() {
    QWidget window;
    auto player = makePlayer(window);
    QToolButton* firstButton = player->findChild<QToolButton*>();
    QVERIFY(firstButton != nullptr);
    struct Step {
        const char* action;
        bool visible;
        bool controls;
    };
    // Starting from a hidden container in the initial mode, "invisible".
    const Step steps[] = {
        {"none", false, false}, {"show", true, false},       {"invisible", false, false},
        {"none", true, false},  {"full", true, true},        {"hide", false, false},
        {"none", false, false}, {"invisible", false, false}, {"show", false, false},
        {"full", true, true},   {"NONE", true, false},       {"bogus", true, false},
    };
    QVERIFY(!player->isVisible());
    QCOMPARE(player->uiMode(), QStringLiteral("invisible"));
    for (const Step& step : steps) {
        const QString action = QLatin1String(step.action);
        if (action == QLatin1String("show")) {
            player->show();
        } else if (action == QLatin1String("hide")) {
            player->hide();
        } else {
            player->setUiMode(action);
        }
        QVERIFY2(player->isVisible() == step.visible, step.action);
        QVERIFY2(firstButton->isVisible() == step.controls, step.action);
    }
    QCOMPARE(player->uiMode(), QStringLiteral("none"));
    QVERIFY(player->containerVisible());
    // Showing the window again does not bring back a control the mode hides.
    player->setUiMode(QStringLiteral("invisible"));
    window.hide();
    window.show();
    QVERIFY(!player->isVisible());
}

void TestPlayer::stopDuringPlayback() {
    QWidget window;
    auto player = makePlayer(window);
    StateLog log(*player);
    startVideo(*player, titleVideo_);
    QVERIFY2(log.waitFor(wmppsPlaying, 5000), qPrintable(log.text()));
    QTest::qWait(300);
    player->stop();
    QCOMPARE(player->playState(), int(wmppsStopped));
    log.clear();
    QTest::qWait(1500);
    QVERIFY2(!log.states.contains(wmppsPlaying), qPrintable(log.text()));
    QCOMPARE(player->playState(), int(wmppsStopped));
}

void TestPlayer::bundledAddressesWithoutAResolver() {
    // The tests run beside the demo course, where the program finds its bundled course.
    QWidget window;
    window.show();
    WMP1 player(&window);
    const QString name = narration_;
    player.setURL(kCourse + name);
    QCOMPARE(player.URL(), kCourse + name);
    QCOMPARE(player.source(),
             QUrl::fromLocalFile(torvane::testing::demoCourseRoot() + QLatin1Char('/') + name));
    StateLog log(player);
    player.play();
    playsToItsEnd(player, log, name);

    player.setURL(QStringLiteral("file://") + torvane::testing::demoCourseRoot() + QLatin1Char('/') + name);
    QVERIFY(player.source().isEmpty());
    player.play();
    QCOMPARE(player.playState(), int(wmppsUndefined));
}

// The media backend starts only with the first media; until then every control works and reports
// no media, as Esc or the video timers may stop the player before any video was shown.
void TestPlayer::controlsBeforeAnyMedia() {
    QWidget window;
    auto player = makePlayer(window);
    StateLog log(*player);
    player->stop();
    player->pause();
    player->play();
    player->setUiMode(QStringLiteral("full"));
    player->show();
    QTest::qWait(100);
    QCOMPARE(player->playState(), int(wmppsUndefined));
    QVERIFY(player->source().isEmpty());
    QVERIFY(!player->audioOutputAttached());
    QVERIFY2(!log.states.contains(wmppsPlaying), qPrintable(log.text()));

    // The first media still plays to its end.
    startVideo(*player, figureVideo_);
    playsToItsEnd(*player, log, figureVideo_);
}

void TestPlayer::backendWithoutSoundDevice_data() {
    QTest::addColumn<QString>("backend");
    QTest::newRow("gstreamer") << "gstreamer";
    QTest::newRow("ffmpeg") << "ffmpeg";
}

// Narration and video in a program of their own on each installed backend, as on a machine with no
// sound device: it must neither crash nor hang, and narration must still run to its end.
void TestPlayer::backendWithoutSoundDevice() {
    QFETCH(QString, backend);
    if (qEnvironmentVariableIsSet("QT_MEDIA_BACKEND")) {
        QSKIP("this copy is itself running on a chosen backend");
    }
    if (!QMediaDevices::audioOutputs().isEmpty()) {
        QSKIP("this machine has a sound device");
    }
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/multimedia/lib%1mediaplugin.so").arg(backend);
    if (!QFile::exists(plugin)) {
        QSKIP("backend not installed");
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_MEDIA_BACKEND"), backend);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("narrationPlaysUnseenToItsEnd"), QStringLiteral("videoPlaysToItsEnd:title"),
                 QStringLiteral("stopDuringPlayback"), QStringLiteral("sameAddressAgainStartsAfresh")});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
}

TORVANE_GUI_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
