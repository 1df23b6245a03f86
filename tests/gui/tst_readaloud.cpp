// The desktop's own speech engine, where the machine has one.
#include "viewerharness.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <memory>
#include <shell/qtspeaker.h>
#include <shell/speaker.h>

using torvane::shell::Speaker;

class TestReadAloud final : public QObject {
    Q_OBJECT
private slots:
    void systemSpeakerSpeaksASentence();
};

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