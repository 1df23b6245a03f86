#pragma once

#include <QPixmap>
#include <QString>

namespace torvane::secondary {

// The secondary windows' help picture, 800 x 640 pixels: the toolbar row and what each button and key
// does in the search, index and history windows. Drawn by the program, so it needs no image file and
// always shows the captions the buttons really carry. Needs a GUI application object.
QPixmap secondaryHelpPicture();
// What the picture says, as text: its alternative for a screen reader.
QString secondaryHelpText();

} // namespace torvane::secondary
