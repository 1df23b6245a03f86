#pragma once

#include <QString>

namespace torvane::shell {

// Where the main window's Contents button goes: on the contents page of the screen's class it goes
// on to the second contents page, from anywhere else to the contents page; so pressing it again
// and again alternates between the two. Sizes outside 1..7 use the "a" pages.
QString contentsTarget(const QString& fileLocn, const QString& curPage, int screenSize);

} // namespace torvane::shell
