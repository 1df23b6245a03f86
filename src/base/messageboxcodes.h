#pragma once

#include <optional>

namespace torvane::base {

// Message-box style bits and results, numbered as the course's tools and documents know them.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int SetForeground = 65536;

inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;

// The quit questions: Yes and No, the question icon, brought to the foreground (65572).
inline constexpr int QuitStyle = YesNo | Question | SetForeground;
} // namespace mb

// The application title a message box shows when it is given none.
inline constexpr char kAppTitle[] = "Torvane";

// Whether the answer to "Do you want to quit?" ends the program: anything but No counts as Yes, and a
// question that could not be shown was never answered and ends nothing.
inline bool quitConfirmed(const std::optional<int>& answer) {
    return answer.has_value() && *answer != mb::No;
}

} // namespace torvane::base
