#pragma once

#include <QtCore/qnamespace.h>
#include <functional>

class QWidget;

namespace torvane::secondary {

// The window states a hand-over passes on.
inline constexpr Qt::WindowStates kSizeStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// Moves the learner's view from one course window to another: `target` takes the window state
// (normal, minimised, maximised) of `from`; after the one-second pause, a target in the normal state
// also takes the left and top of `from`.
// `then` (the command's remaining steps) runs once the target has taken its place, after the pause.
void handOver(QWidget& from, QWidget& target, std::function<void()> then);

} // namespace torvane::secondary
