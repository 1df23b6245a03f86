#include <QLocale>
#include <QTextToSpeech>
#include <QTimer>
#include <QVoice>
#include <algorithm>
#include <base/logging.h>
#include <chrono>
#include <shell/qtspeaker.h>

namespace torvane::shell {

namespace {

// The engines to try, in order: speech-dispatcher is the desktop's own speech service and has voices for
// most languages; flite needs no service but speaks English only.
QStringList engineOrder() {
    const QStringList installed = QTextToSpeech::availableEngines();
    QStringList order;
    for (const QString& name : {QStringLiteral("speechd"), QStringLiteral("flite")}) {
        if (installed.contains(name)) {
            order << name;
        }
    }
    for (const QString& name : installed) {
        if (!order.contains(name)) {
            order << name;
        }
    }
    return order;
}

// How long a sentence of `text` may take before the engine is taken as stuck (speech-dispatcher without
// a sound device it can open stays "speaking" for ever): the slowest voices say some seven characters a
// second; this allows for half as many, and for a slow start.
std::chrono::milliseconds longestSentence(const QString& text) {
    return std::chrono::seconds(10) + std::chrono::milliseconds(300) * text.size();
}

// The first engine that opens without an error, or none. An engine can open "ready" and still report
// an error (flite without an audio device): that one does not count.
std::unique_ptr<QTextToSpeech> openEngine() {
    const QStringList order = engineOrder();
    if (order.isEmpty()) {
        qCWarning(base::lcMedia) << "reading aloud: no speech engine plugin is installed";
    }
    for (const QString& name : order) {
        auto engine = std::make_unique<QTextToSpeech>(name);
        if (engine->state() != QTextToSpeech::Error &&
            engine->errorReason() == QTextToSpeech::ErrorReason::NoError) {
            qCDebug(base::lcMedia) << "reading aloud with the speech engine" << name;
            return engine;
        }
        qCWarning(base::lcMedia) << "reading aloud: the speech engine" << name
                                 << "does not work:" << engine->errorString();
    }
    return nullptr;
}

// The engine's locales for the language tag `language`, the best first: the same language and territory,
// then the others of the same language. None when the engine has no voice for the language.
QList<QLocale> localesFor(const QList<QLocale>& locales, const QString& language) {
    const QLocale wanted(language);
    if (language.isEmpty() || wanted.language() == QLocale::C || wanted.language() == QLocale::AnyLanguage) {
        return {}; // not a language Qt knows
    }
    QList<QLocale> found;
    for (const QLocale& locale : locales) {
        if (locale.name() == wanted.name() ||
            locale.bcp47Name().compare(language, Qt::CaseInsensitive) == 0) {
            found.prepend(locale);
        } else if (locale.language() == wanted.language()) {
            found.append(locale);
        }
    }
    return found;
}

class QtSpeaker final : public Speaker {
public:
    QtSpeaker() {
        watchdog_.setSingleShot(true);
        connect(&watchdog_, &QTimer::timeout, this, &QtSpeaker::stuck);
    }

    bool available() const override { return engine() != nullptr && !broken_; }

    void say(const QString& text) override {
        ++said_;
        if (!available()) {
            // The sentence ends at once: whoever reads finds the engine gone and stops.
            finishLater();
            return;
        }
        waiting_ = true;
        started_ = false;
        longest_ = longestSentence(text);
        watchdog_.start(longest_);
        engine_->say(text);
    }

    void pause() override {
        watchdog_.stop();
        if (available()) {
            engine_->pause();
        }
    }

    void resume() override {
        if (available()) {
            if (waiting_) {
                watchdog_.start(longest_);
            }
            engine_->resume();
        }
    }

    void stop() override {
        ++said_;
        waiting_ = false;
        started_ = false;
        watchdog_.stop();
        if (engine_) {
            engine_->stop();
        }
    }

    void setRate(double rate) override {
        rate_ = rate;
        if (engine_) {
            engine_->setRate(rate);
        }
    }

    void chooseVoice(const QString& language, const QString& preferredVoice) override {
        if (!available()) {
            return;
        }
        QList<QLocale> locales = localesFor(engine_->availableLocales(), language);
        if (locales.isEmpty()) {
            if (!language.isEmpty()) {
                qCDebug(base::lcMedia) << "reading aloud: no voice for the language" << language
                                       << "; the voice" << engine_->voice().name() << "reads it";
            }
            locales = {engine_->locale()};
        }
        // The voice the learner chose, in whichever of the language's locales has it.
        if (!preferredVoice.isEmpty()) {
            for (const QLocale& locale : locales) {
                useLocale(locale);
                const QList<QVoice> voices = engine_->availableVoices();
                const auto chosen = std::find_if(voices.begin(), voices.end(),
                                                 [&](const QVoice& v) { return v.name() == preferredVoice; });
                if (chosen != voices.end()) {
                    if (chosen->name() != engine_->voice().name()) {
                        engine_->setVoice(*chosen);
                    }
                    return;
                }
            }
        }
        useLocale(locales.first());
    }

    QString voiceName() const override { return available() ? engine_->voice().name() : QString(); }

private:
    // The engine, opened at the first call.
    QTextToSpeech* engine() const {
        if (!opened_) {
            opened_ = true;
            engine_ = openEngine();
            if (engine_) {
                const_cast<QtSpeaker*>(this)->watch();
            }
        }
        return engine_.get();
    }

    void useLocale(const QLocale& locale) {
        if (locale != engine_->locale()) {
            engine_->setLocale(locale); // and the engine's voice for it
        }
    }

    void watch() {
        engine_->setRate(rate_);
        connect(engine_.get(), &QTextToSpeech::stateChanged, this, &QtSpeaker::onState);
        connect(engine_.get(), &QTextToSpeech::errorOccurred, this,
                [](QTextToSpeech::ErrorReason reason, const QString& why) {
                    qCWarning(base::lcMedia) << "reading aloud: the speech engine failed:" << reason << why;
                });
    }

    // A sentence has ended when the engine is ready again after speaking it. The engine may report
    // states more than once, or report "ready" before it has started: one end per sentence said.
    void onState(QTextToSpeech::State state) {
        switch (state) {
        case QTextToSpeech::Speaking:
            started_ = waiting_;
            break;
        case QTextToSpeech::Ready:
            if (waiting_ && started_) {
                finishLater();
            }
            break;
        case QTextToSpeech::Error:
            broken_ = true;
            if (waiting_) {
                finishLater();
            }
            break;
        case QTextToSpeech::Paused:
            break;
        }
    }

    // The engine has not ended the sentence in all the time it could take: it does not work.
    void stuck() {
        if (!waiting_) {
            return;
        }
        qCWarning(base::lcMedia) << "reading aloud: the speech engine has not ended a sentence after"
                                 << longest_.count() / 1000 << "s and is taken as not working"
                                 << "(has it a sound device?)";
        broken_ = true;
        engine_->stop();
        finishLater();
    }

    // The sentence has ended. The end is told from the event loop, not from inside the engine's notice:
    // the next one is said from there. A sentence said or stopped meanwhile cancels it.
    void finishLater() {
        waiting_ = false;
        started_ = false;
        watchdog_.stop();
        QTimer::singleShot(0, this, [this, said = said_] {
            if (said == said_) {
                emit sentenceDone();
            }
        });
    }

    mutable bool opened_ = false;
    mutable std::unique_ptr<QTextToSpeech> engine_;
    bool broken_ = false;  // the engine reported an error: it is not used again
    bool waiting_ = false; // a sentence is said and has not ended
    bool started_ = false; // the engine has begun speaking it
    quint64 said_ = 0;     // sentences said or stopped so far
    double rate_ = 0.0;
    QTimer watchdog_; // a sentence that never ends
    std::chrono::milliseconds longest_{0};
};

} // namespace

std::unique_ptr<Speaker> makeSystemSpeaker() {
    return std::make_unique<QtSpeaker>();
}

} // namespace torvane::shell
