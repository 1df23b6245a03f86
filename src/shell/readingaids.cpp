#include <QWidget>
#include <shell/coursebrowser.h>
#include <shell/findbar.h>
#include <shell/keyspanel.h>
#include <shell/readingaids.h>
#include <shell/textsize.h>
#include <shell/viewerview.h>

namespace torvane::shell {

ReadingAids::ReadingAids(QWidget& window, CourseBrowser& browser) : QObject(&window), browser_(browser) {
    textSize_ = new TextSize(window, browser_);
    findBar_ = new FindBar(window, browser_);
    keysPanel_ = new KeysPanel(window);
    connect(textSize_, &TextSize::changed, this, [this](int percent) {
        preferences_.textSize = percent;
        emit preferencesChanged();
    });
}

ReadingAids::~ReadingAids() = default;

void ReadingAids::setPreferences(const ReaderPreferences& preferences) {
    preferences_ = preferences;
    textSize_->set(preferences.textSize);
    browser_.setDark(preferences.darkMode);
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
    case ReadingCommand::ReadFaster:
    case ReadingCommand::ReadSlower:
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
}

void ReadingAids::pageShown(const QString& address) {
    if (address != shownAddress_) {
        findBar_->close();
    }
    shownAddress_ = address;
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
}

} // namespace torvane::shell
