#include <QString>
#include <Qt>
#include <base/keyrules.h>

namespace torvane::base {

namespace {

// The search window's row: the main window's, with Index where Search stands.
constexpr std::array<ToolbarButton, 10> searchWindowToolbar() {
    std::array<ToolbarButton, 10> row = kMainToolbar;
    row[kSearchOrIndexPosition] = kIndexButton;
    return row;
}
constexpr std::array<ToolbarButton, 10> kSearchWindowToolbar = searchWindowToolbar();

} // namespace

int virtualKeyOf(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey; // letters and digits share their numbers
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
        return vk::Enter;
    default:
        return 0;
    }
}

int shiftStateOf(int qtModifiers) {
    return ((qtModifiers & Qt::ShiftModifier) != 0 ? kShiftBit : 0) |
           ((qtModifiers & Qt::ControlModifier) != 0 ? kCtrlBit : 0) |
           ((qtModifiers & Qt::AltModifier) != 0 ? kAltBit : 0);
}

KeyDecision decideKeyDown(KeyWindow window, int keyCode, int shift) {
    if ((shift & kAltBit) != 0) {
        switch (keyCode) {
        case vk::Q:
            return {KeyCommand::Quit, 0};
        case vk::Comma:
            return {KeyCommand::Previous, 0};
        case vk::FullStop:
            return {KeyCommand::Next, 0};
        default:
            break;
        }
    }
    switch (window) {
    case KeyWindow::Main:
        switch (keyCode) {
        case vk::Escape:
            return {KeyCommand::StopVideo, keyCode}; // the key itself goes on
        case vk::PageUp:
            return {KeyCommand::Previous, 0};
        case vk::PageDown:
            return {KeyCommand::Next, 0};
        default:
            break;
        }
        break;
    case KeyWindow::Index:
    case KeyWindow::History:
        if (keyCode == vk::Enter) {
            // Used up: the list and the text box have nothing more to do with this Enter.
            return {KeyCommand::OpenSelectedRow, 0};
        }
        break;
    case KeyWindow::Search:
        break; // Enter belongs to its text box and list
    }
    return {KeyCommand::None, keyCode};
}

int runKeyDown(KeyWindow window, int keyCode, int shift, const KeyCommands& commands) {
    const KeyDecision decision = decideKeyDown(window, keyCode, shift);
    const std::function<void()>* command = nullptr;
    switch (decision.command) {
    case KeyCommand::Quit:
        command = &commands.quit;
        break;
    case KeyCommand::Previous:
        command = &commands.previous;
        break;
    case KeyCommand::Next:
        command = &commands.next;
        break;
    case KeyCommand::StopVideo:
        command = &commands.stopVideo;
        break;
    case KeyCommand::OpenSelectedRow:
        command = &commands.openSelectedRow;
        break;
    case KeyCommand::None:
        break;
    }
    if (command != nullptr && *command) {
        (*command)();
    }
    return decision.keyCode;
}

int decideKeyPress(int character) {
    return character == vk::Escape ? 0 : character;
}

std::span<const ToolbarButton> toolbarOf(KeyWindow window) {
    return window == KeyWindow::Search ? std::span<const ToolbarButton>(kSearchWindowToolbar)
                                       : std::span<const ToolbarButton>(kMainToolbar);
}

PlainCaption plainCaption(const char* caption) {
    QString text = QString::fromLatin1(caption);
    const qsizetype marker = text.indexOf(QLatin1Char('&'));
    if (marker < 0 || marker + 1 >= text.size()) {
        return {text.remove(QLatin1Char('&')), -1};
    }
    text.remove(marker, 1);
    return {text, static_cast<int>(marker)};
}

std::optional<std::size_t> accessKeyPosition(std::span<const ToolbarButton> row, int qtKey) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        const PlainCaption caption = plainCaption(row[i].caption);
        if (caption.accessKey >= 0 && caption.text.at(caption.accessKey).toUpper().unicode() == qtKey) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace torvane::base
