#include <QPointer>
#include <QVariant>
#include <algorithm>
#include <base/logging.h>
#include <cmath>
#include <shell/coursebrowser.h>
#include <shell/readaloud.h>
#include <shell/sentencemarks.h>

namespace torvane::shell {

namespace {

QString noEngineMessage() {
    return QStringLiteral(
        "Reading aloud needs a speech engine, and none was found that works.\n\n"
        "Install speech-dispatcher with its espeak-ng voices (speech-dispatcher-espeak-ng) and "
        "qt6-speech-speechd-plugin, or qt6-speech-flite-plugin, then start Torvane again.");
}

constexpr double kRateStep = 0.1;

// The rate one step up or down the scale of tenths from `rate`, which may lie between two of them.
double stepped(double rate, int steps) {
    const double tenths = rate / kRateStep;
    const double from = steps > 0 ? std::floor(tenths + 1e-6) : std::ceil(tenths - 1e-6);
    return std::clamp((from + steps) * kRateStep, -1.0, 1.0);
}

} // namespace

ReadAloud::ReadAloud(QObject& parent, CourseBrowser& browser, std::unique_ptr<Speaker> speaker,
                     std::function<void(const QString&)> tell)
    : QObject(&parent), browser_(browser), speaker_(std::move(speaker)), tell_(std::move(tell)) {
    connect(speaker_.get(), &Speaker::sentenceDone, this, &ReadAloud::sentenceDone);
}

ReadAloud::~ReadAloud() {
    if (active()) {
        speaker_->stop();
    }
}

bool ReadAloud::active() const {
    return state_ != State::Idle;
}

bool ReadAloud::paused() const {
    return state_ == State::Paused;
}

void ReadAloud::toggle() {
    switch (state_) {
    case State::Idle:
        start();
        break;
    case State::Reading:
        state_ = State::Paused;
        if (saying_) {
            speaker_->pause();
        }
        break;
    case State::Paused:
        state_ = State::Reading;
        if (saying_) {
            speaker_->resume();
        } else if (current_ >= 0) {
            speak(current_); // marked while paused, not said yet
        }
        break;
    }
}

void ReadAloud::stop() {
    if (!active()) {
        return;
    }
    state_ = State::Idle;
    ++run_;
    sentences_.clear();
    current_ = -1;
    saying_ = false;
    speaker_->stop();
    browser_.runInViewerWorld(sentenceUnmarkScript());
}

// The page's sentences are read in first, in the viewer's script world; reading begins when they come.
void ReadAloud::start() {
    if (!speaker_->available()) {
        if (!told_) {
            told_ = true;
            tell_(noEngineMessage());
        }
        return;
    }
    state_ = State::Reading;
    const quint64 run = ++run_;
    browser_.runInViewerWorld(sentenceScript(),
                              [self = QPointer<ReadAloud>(this), run](const QVariant& result) {
                                  if (self && self->run_ == run) {
                                      self->begin(result);
                                  }
                              });
}

void ReadAloud::begin(const QVariant& result) {
    const PageSentences page = readSentences(result);
    if (page.sentences.isEmpty()) {
        qCDebug(base::lcMedia) << "reading aloud: no text to read in" << browser_.url().toString();
        stop();
        return;
    }
    sentences_ = page.sentences;
    speaker_->chooseVoice(page.language, voice_);
    const QString chosen = speaker_->voiceName();
    if (!chosen.isEmpty() && chosen != voice_) {
        voice_ = chosen;
        emit preferencesChanged();
    }
    speak(page.first);
}

// Marks sentence `index` and, unless paused, says it.
void ReadAloud::speak(int index) {
    current_ = index;
    browser_.runInViewerWorld(sentenceMarkScript(index));
    if (state_ != State::Reading) {
        return;
    }
    if (!speaker_->available()) {
        qCWarning(base::lcMedia) << "reading aloud: the speech engine has gone; reading stops";
        stop();
        return;
    }
    saying_ = true;
    speaker_->say(sentences_.at(index));
}

void ReadAloud::sentenceDone() {
    if (!active() || !saying_) {
        return;
    }
    saying_ = false;
    if (current_ + 1 >= sentences_.size()) {
        stop(); // the last one has been read
        return;
    }
    speak(current_ + 1);
}

void ReadAloud::faster() {
    changeRate(stepped(rate_, 1));
}

void ReadAloud::slower() {
    changeRate(stepped(rate_, -1));
}

double ReadAloud::rate() const {
    return rate_;
}

void ReadAloud::setRate(double rate) {
    rate_ = std::isfinite(rate) ? std::clamp(rate, -1.0, 1.0) : 0.0;
    speaker_->setRate(rate_);
}

void ReadAloud::changeRate(double rate) {
    if (std::abs(rate - rate_) < 1e-9) {
        return; // at the end of the scale
    }
    rate_ = rate;
    speaker_->setRate(rate_);
    emit preferencesChanged();
}

QString ReadAloud::voice() const {
    return voice_;
}

void ReadAloud::setVoice(const QString& voice) {
    voice_ = voice;
}

} // namespace torvane::shell
