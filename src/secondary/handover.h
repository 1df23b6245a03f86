#pragma once

#include <functional>

class QWidget;

namespace torvane::secondary {

// Moves the learner's view from one course window to another: `target` takes the window state
// (normal, minimised, maximised) of `from`; after the one-second pause, a target in the normal state
// also takes the left and top of `from`.
void handOver(QWidget& from, QWidget& target);
// The same without waiting inside: `then` (the command's remaining steps) runs once the target has taken
// its place, after the pause.
void handOver(QWidget& from, QWidget& target, std::function<void()> then);

} // namespace torvane::secondary
