#pragma once

class QWidget;

namespace torvane::secondary {

// Moves the learner's view from one course window to another: `target` takes the window state
// (normal, minimised, maximised) of `from`; after the one-second pause, a target in the normal state
// also takes the left and top of `from`.
void handOver(QWidget& from, QWidget& target);

} // namespace torvane::secondary
