#pragma once

namespace torvane::base {

// Key codes the windows act on, numbered as the system's virtual keys.
namespace vk {
inline constexpr int Enter = 13;
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

} // namespace torvane::base
