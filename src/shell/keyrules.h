#pragma once

namespace torvane::shell {

// Key codes the main window acts on, numbered as the system's virtual keys.
namespace vk {
inline constexpr int Escape = 27;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int Q = 81;
inline constexpr int Comma = 188;
inline constexpr int FullStop = 190;
} // namespace vk

// Shift-state bits of a key event.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

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
