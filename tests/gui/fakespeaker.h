#pragma once

// A speech engine for the tests: it records what it is asked to say and do; the test ends each sentence
// by emitting sentenceDone().

#include <QStringList>
#include <shell/speaker.h>

namespace torvane::testing {

class FakeSpeaker final : public shell::Speaker {
public:
    bool available() const override { return engine; }
    void say(const QString& text) override { said << text; }
    void pause() override { ++pauses; }
    void resume() override { ++resumes; }
    void stop() override { ++stops; }
    void setRate(double r) override { rate = r; }
    void chooseVoice(const QString& language, const QString& preferred) override {
        askedFor = language;
        voice = preferred.isEmpty() ? QStringLiteral("fake-") + language : preferred;
    }
    QString voiceName() const override { return voice; }

    bool engine = true;
    QStringList said;
    int pauses = 0, resumes = 0, stops = 0;
    double rate = 0.0;
    QString askedFor, voice;
};

} // namespace torvane::testing
