#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

namespace torvane::platform {

// The system calculator program, or an empty string when the system has none.
QString findCalculator();

// The arguments that ask `calculator` (a program findCalculator gives) for a window covering `area`,
// the screen's work area in pixels: the calculator comes up maximised. X toolkit programs (xcalc)
// take "-geometry WxH+X+Y", Qt programs (kcalc) "-qwindowgeometry WxH+X+Y". The GTK calculators
// (gnome-calculator, mate-calc, galculator) have no such option; for them, as for every program on
// Windows, the maximised window is asked of the desktop when the program is started
// (startProgram with WindowStyle::Maximized). No arguments for those, or for an empty area.
QStringList calculatorArguments(const QString& calculator, const QRect& area);

} // namespace torvane::platform
