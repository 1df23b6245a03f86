#pragma once

namespace torvane::secondary {

// The viewer's own top-level windows are told to screen readers as windows (AT-SPI "frame") named by
// their captions, not as unnamed panes. Safe to call more than once; call before the first window shows.
void exposeWindowsAsWindows();

} // namespace torvane::secondary
