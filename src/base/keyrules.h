#pragma once

// What a key does in the course windows: the main window and the search, index and history windows
// share one key handler, which differs by window only where the windows' keys differ.

#include <QString>
#include <base/keycodes.h>
#include <base/toolbar.h>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>

namespace torvane::base {

// The key code of a Qt key, numbered as the system's virtual keys; 0 for a key no window acts on.
int virtualKeyOf(int qtKey);
// The shift state of Qt's keyboard modifiers: bit 1 Shift, 2 Ctrl, 4 Alt.
int shiftStateOf(int qtModifiers);

enum class KeyWindow { Main, Search, Index, History };

// What one key press does. Every key hides the window's help picture first.
enum class KeyCommand {
    None,
    Quit,            // the quit question
    Previous,        // the window's << command
    Next,            // the window's >> command
    StopVideo,       // main window: stop and hide the video
    OpenSelectedRow, // index and history windows: open the selected row, as a double-click does
};
struct KeyDecision final {
    KeyCommand command = KeyCommand::None;
    int keyCode = 0; // the key code after the handler: 0 swallows the key
};
KeyDecision decideKeyDown(KeyWindow window, int keyCode, int shift);

// What a window does for each command of its keys; a command a window has not (empty) does nothing.
struct KeyCommands final {
    std::function<void()> quit;
    std::function<void()> previous;
    std::function<void()> next;
    std::function<void()> stopVideo;
    std::function<void()> openSelectedRow;
};
// The key handler of a window: the decision for `keyCode` and `shift` carried out with `commands`.
// Returns the key code after it (0 swallows the key).
int runKeyDown(KeyWindow window, int keyCode, int shift, const KeyCommands& commands);

// The character after a window's key-press handler: Esc is swallowed (0), others pass.
int decideKeyPress(int character);

// The toolbar row of `window`, left to right.
std::span<const ToolbarButton> toolbarOf(KeyWindow window);

// A caption as it is drawn: its text without the "&", and the position in that text of the access key
// it marks (-1 for none).
struct PlainCaption final {
    QString text;
    int accessKey = -1;
};
PlainCaption plainCaption(const char* caption);

// The position (0 leftmost) of the button in `row` whose access key (the character after "&" in its
// caption, letter case aside) is the Qt key `qtKey`; none when no button has it.
std::optional<std::size_t> accessKeyPosition(std::span<const ToolbarButton> row, int qtKey);

} // namespace torvane::base
