#include <QWidget>
#include <shell/coursebrowser.h>
#include <shell/findbar.h>
#include <shell/keyspanel.h>
#include <shell/readaloud.h>
#include <shell/readingaids.h>
#include <shell/textsize.h>
#include <shell/viewerview.h>

namespace torvane::shell {

ReadingAids::ReadingAids(QWidget& window, CourseBrowser& browser, std::unique_ptr<Speaker> speaker,
                         std::function<void(const QString&)> tell)
    : QObject(&window), browser_(browser) {
    textSize_ = new TextSize(window, browser_);
    findBar_ = new FindBar(window, browser_);
    keysPanel_ = new KeysPanel(window);
    readAloud_ = new ReadAloud(*this, browser_, std::move(speaker), std::move(tell));
    connect(textSize_, &TextSize::changed, this, [this](int percent) {
        preferences_.textSize = percent;
        emit preferencesChanged();
    });
    connect(readAloud_, &ReadAloud::preferencesChanged, this, [this] {
        preferences_.readingRate = readAloud_->rate();
        preferences_.voice = readAloud_->voice();
        emit preferencesChanged();
    });
}

ReadingAids::~ReadingAids() = default;

void ReadingAids::setPreferences(const ReaderPreferences& preferences) {
    preferences_ = preferences;
    textSize_->set(preferences.textSize);
    browser_.setDark(preferences.darkMode);
    readAloud_->setRate(preferences.readingRate);
    readAloud_->setVoice(preferences.voice);
}

void ReadingAids::run(ReadingCommand command) {
    switch (command) {
    case ReadingCommand::TextBigger:
        textSize_->bigger();
        break;
    case ReadingCommand::TextSmaller:
        textSize_->smaller();
        break;
    case ReadingCommand::TextNormal:
        textSize_->normal();
        break;
    case ReadingCommand::Find:
        findBar_->open();
        break;
    case ReadingCommand::FindNext:
        findBar_->next();
        break;
    case ReadingCommand::FindPrevious:
        findBar_->previous();
        break;
    case ReadingCommand::DarkMode:
        setDark(!preferences_.darkMode);
        break;
    case ReadingCommand::KeysPanel:
        keysPanel_->toggle();
        break;
    case ReadingCommand::ReadAloud:
        readAloud_->toggle();
        break;
    case ReadingCommand::ReadFaster:
        readAloud_->faster();
        break;
    case ReadingCommand::ReadSlower:
        readAloud_->slower();
        break;
    case ReadingCommand::SwitchFocus:
    case ReadingCommand::None:
        break;
    }
}

void ReadingAids::wheel(int steps) {
    for (int i = 0; i < std::abs(steps); ++i) {
        run(steps > 0 ? ReadingCommand::TextBigger : ReadingCommand::TextSmaller);
    }
}

void ReadingAids::escape() {
    findBar_->close();
    keysPanel_->hide();
    readAloud_->stop();
}

void ReadingAids::pageShown(const QString& address) {
    if (address != shownAddress_) {
        findBar_->close();
        readAloud_->stop();
    }
    shownAddress_ = address;
}

void ReadingAids::stopReading() {
    readAloud_->stop();
}

bool ReadingAids::readingAloud() const {
    return readAloud_->active();
}

void ReadingAids::setDark(bool dark) {
    preferences_.darkMode = dark;
    browser_.setDark(dark);
    emit preferencesChanged();
}

void ReadingAids::place(const QRect& pageArea) {
    textSize_->place(pageArea);
    findBar_->place(pageArea);
    keysPanel_->place(pageArea);
}

void ReadingAids::describe(ViewerView& v) const {
    v.textSize = textSize_->size();
    v.textSizeShown = textSize_->indicatorShown();
    v.findBarShown = findBar_->isOpen();
    v.findText = findBar_->text();
    v.findStatus = findBar_->status();
    v.darkMode = preferences_.darkMode;
    v.keysPanelShown = keysPanel_->isVisible();
    v.readingAloud = readAloud_->active();
    v.readingPaused = readAloud_->paused();
}

} // namespace torvane::shell
