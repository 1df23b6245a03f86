#include <Qt>
#include <shell/keyrules.h>

namespace torvane::shell {

int virtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey; // letters share their numbers
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return qtKey;
    }
    switch (qtKey) {
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_PageUp:
        return vk::PageUp;
    case Qt::Key_PageDown:
        return vk::PageDown;
    case Qt::Key_Comma:
    case Qt::Key_Less: // the comma key with Shift
        return vk::Comma;
    case Qt::Key_Period:
    case Qt::Key_Greater: // the full-stop key with Shift
        return vk::FullStop;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    default:
        return 0;
    }
}

KeyDecision decideMainKeyDown(int keyCode, int shift) {
    KeyDecision decision{KeyCommand::None, keyCode};
    if ((shift & kAltBit) != 0) {
        switch (keyCode) {
        case vk::Q:
            return {KeyCommand::AskQuit, 0};
        case vk::Comma:
            return {KeyCommand::Previous, 0};
        case vk::FullStop:
            return {KeyCommand::Next, 0};
        default:
            break;
        }
    }
    switch (decision.keyCode) {
    case vk::Escape:
        decision.command = KeyCommand::StopVideo; // the key itself goes on
        break;
    case vk::PageUp:
        decision = {KeyCommand::Previous, 0};
        break;
    case vk::PageDown:
        decision = {KeyCommand::Next, 0};
        break;
    default:
        break;
    }
    return decision;
}

int decideMainKeyPress(int character) {
    return character == vk::Escape ? 0 : character;
}

} // namespace torvane::shell
