#pragma once

#include <base/toolbar.h>

class QPushButton;
class QWidget;

namespace torvane::secondary {

// One button of the toolbar row at `position` (0 leftmost) on `parent`: caption, control name, face,
// place, and the name a screen reader says. Its access key is left to the window's key handler.
QPushButton* makeToolbarButton(QWidget* parent, int position, const base::ToolbarButton& face);

} // namespace torvane::secondary
