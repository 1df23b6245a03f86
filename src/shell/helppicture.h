#pragma once

#include <QImage>
#include <QString>

namespace torvane::shell {

// The main window's help picture, 820 x 692 pixels: the toolbar row, what each command does, and the
// buttons the course pages carry. Drawn by the program so it is crisp on screen and in print.
QImage drawMainHelpPicture();
// What the picture says, as text: its alternative for a screen reader.
QString mainHelpText();

} // namespace torvane::shell
