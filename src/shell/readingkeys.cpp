#include <Qt>
#include <shell/readingkeys.h>

namespace torvane::shell {

namespace {

bool isPlus(int key) {
    return key == Qt::Key_Plus || key == Qt::Key_Equal;
}

bool isMinus(int key) {
    return key == Qt::Key_Minus || key == Qt::Key_Underscore;
}

// Ctrl held alone: the browsers' keys for the text size, and find.
ReadingCommand withCtrl(int key) {
    if (isPlus(key)) {
        return ReadingCommand::TextBigger;
    }
    if (isMinus(key)) {
        return ReadingCommand::TextSmaller;
    }
    if (key == Qt::Key_0) {
        return ReadingCommand::TextNormal;
    }
    return key == Qt::Key_F ? ReadingCommand::Find : ReadingCommand::None;
}

// Ctrl and Shift held. Plus is typed with Shift on many keyboards, so Ctrl+Shift+Plus is Ctrl+Plus
// there: it changes the reading rate only while something is read aloud.
ReadingCommand withCtrlShift(int key, bool readingAloud) {
    if (isPlus(key)) {
        return readingAloud ? ReadingCommand::ReadFaster : ReadingCommand::TextBigger;
    }
    if (isMinus(key)) {
        return readingAloud ? ReadingCommand::ReadSlower : ReadingCommand::TextSmaller;
    }
    switch (key) {
    case Qt::Key_S:
        return ReadingCommand::ReadAloud;
    case Qt::Key_D:
        return ReadingCommand::DarkMode;
    default:
        return ReadingCommand::None;
    }
}

} // namespace

ReadingCommand decideReadingKey(int qtKey, int qtModifiers, bool readingAloud) {
    const int held =
        qtModifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier) {
        return withCtrl(qtKey);
    }
    if (held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return withCtrlShift(qtKey, readingAloud);
    }
    if (held == 0 || held == Qt::ShiftModifier) {
        switch (qtKey) {
        case Qt::Key_F3:
            return held == 0 ? ReadingCommand::FindNext : ReadingCommand::FindPrevious;
        case Qt::Key_F1:
            return held == 0 ? ReadingCommand::KeysPanel : ReadingCommand::None;
        case Qt::Key_F6:
            return held == 0 ? ReadingCommand::SwitchFocus : ReadingCommand::None;
        default:
            break;
        }
    }
    return ReadingCommand::None;
}

} // namespace torvane::shell
