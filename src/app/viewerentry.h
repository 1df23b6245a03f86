#pragma once

class QApplication;

namespace torvane::secondcopy {
class StartUp;
}

namespace torvane::app {

// The viewer part: the course viewer's window and the popup picture, with the browser engine they need.
// A module of its own beside the executable, so that a copy with any other job never loads the engine.
inline constexpr const char* kViewerModule = "torvane-viewer"; // the file name as the platform has it
inline constexpr const char* kViewerEntry = "torvaneViewerMain";

// Runs the course viewer (the start-up steps found no other copy) or the popup picture (a second copy
// with "/POPJPG="), taking over what the start-up steps found. Returns the process's exit status.
using ViewerEntry = int (*)(int& argc, char** argv, secondcopy::StartUp& start, QApplication& application);

} // namespace torvane::app
