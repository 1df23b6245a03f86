#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <platform/folders.h>
#include <shell/pageprinter.h>

namespace torvane::base {
class MessageBoxes;
}

namespace torvane::shell {

class Speaker;
class WholeScreen;

// What the main window takes from its surroundings. The defaults are the real system; tests replace
// single entries.
struct ViewerServices final {
    base::MessageBoxes* messageBoxes = nullptr; // required
    platform::Environment environment;          // empty: the process environment
    WholeScreen* screen = nullptr;              // the whole screen in pixels; none: the window's own screen
    std::function<void()> endProcess;           // last step of EndTRV; empty: end the process at once
    PrintServices printing;                     // the printer and print dialog; empty: the system's
    // Starts a program detached; false when it cannot be started. Empty: the system's way.
    std::function<bool(const QString&, const QStringList&)> startProgram;
    // The speech engine for reading aloud; empty: the desktop's (made at the first use).
    std::function<std::unique_ptr<Speaker>()> speaker;
    QString programFolder; // where the word lists lie; empty: the program's own folder
    QString courseRoot;    // bundled course on disk; empty: "course" beside the program
};

} // namespace torvane::shell
