#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <shell/speaker.h>

namespace torvane::shell {

class CourseBrowser;

// Reading the course page aloud, a sentence at a time, with the sentence being spoken marked in the page
// and scrolled into view. The marks live in the viewer's own script world and leave the page's text and
// links as they were once reading stops.
class ReadAloud final : public QObject {
    Q_OBJECT
public:
    // `tell` shows the learner a plain message (the first use without a speech engine).
    ReadAloud(QObject& parent, CourseBrowser& browser, std::unique_ptr<Speaker> speaker,
              std::function<void(const QString&)> tell);
    ~ReadAloud() override;
    Q_DISABLE_COPY_MOVE(ReadAloud)

    // Ctrl+Shift+S: not reading -> starts reading the page's text aloud from the top, or from the
    // selection when the page has one (from the sentence the selection starts in); reading -> pauses;
    // paused -> resumes.
    void toggle();
    // Stops reading and removes the sentence mark (Esc; the page changes; the course's own narration or
    // a video starts). Nothing when not reading.
    void stop();
    bool active() const; // reading or paused
    bool paused() const;
    // Ctrl+Shift+Plus / Ctrl+Shift+Minus: the reading rate one step faster or slower (steps of 0.1 from
    // -1.0 to 1.0), applied at once, also while reading.
    void faster();
    void slower();
    double rate() const;
    void setRate(double rate); // from the learner's preferences at start-up
    // The voice in use (for the preferences): the one the preferences gave until a page has been read,
    // empty when neither has named one.
    QString voice() const;
    void setVoice(const QString& voice); // from the preferences

signals:
    // The rate or the voice changed: the preferences keep them.
    void preferencesChanged();

private:
    enum class State { Idle, Reading, Paused };

    void start();
    void begin(const QVariant& result);
    void speak(int index);
    void sentenceDone();
    void changeRate(double rate);

    CourseBrowser& browser_;
    std::unique_ptr<Speaker> speaker_;
    std::function<void(const QString&)> tell_;
    State state_ = State::Idle;
    QStringList sentences_; // the page's sentences; empty until the page has been read in
    int current_ = -1;      // the sentence marked
    bool saying_ = false;   // the engine has been given the current sentence and has not ended it
    quint64 run_ = 0;       // one more for every start and stop: late script answers are recognised
    bool told_ = false;     // the learner has been told that there is no speech engine
    double rate_ = 0.0;
    QString voice_;
};

} // namespace torvane::shell
