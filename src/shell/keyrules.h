#pragma once

#include <base/keycodes.h>

namespace torvane::shell {

namespace vk = base::vk;
using base::kAltBit;
using base::kCtrlBit;
using base::kShiftBit;

// The virtual-key number of a Qt key, or 0 for a key the viewer has no number for.
int virtualKeyOf(int qtKey);

// What one key press does in the main window. Every key hides the help picture first.
enum class KeyCommand { None, AskQuit, Previous, Next, StopVideo };
struct KeyDecision final {
    KeyCommand command = KeyCommand::None;
    int keyCode = 0; // the key code after the handler: 0 swallows the key
};
KeyDecision decideMainKeyDown(int keyCode, int shift);

// The character after the main window's key-press handler: Esc is swallowed (0), others pass.
int decideMainKeyPress(int character);

} // namespace torvane::shell
