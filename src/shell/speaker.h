#pragma once

#include <QObject>
#include <QString>

namespace torvane::shell {

// The speech engine behind reading aloud: it speaks one sentence at a time and says when it has ended.
// An interface, so that tests can put a fake in its place.
class Speaker : public QObject {
    Q_OBJECT
public:
    // True when an engine is there to speak with.
    virtual bool available() const = 0;
    // Speaks one sentence; sentenceDone() when it has ended.
    virtual void say(const QString& text) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Ends the sentence being spoken; no sentenceDone() for it.
    virtual void stop() = 0;
    // -1.0 slowest .. 0 normal .. 1.0 fastest.
    virtual void setRate(double rate) = 0;
    // Chooses the voice of `language` (a BCP 47 tag such as "en", "en-GB", "de") when the engine has one,
    // else keeps the engine's default voice. `preferredVoice` (a voice name the learner chose earlier, may
    // be empty) wins when it speaks that language.
    virtual void chooseVoice(const QString& language, const QString& preferredVoice) = 0;
    virtual QString voiceName() const = 0;

signals:
    void sentenceDone();
};

} // namespace torvane::shell
