#pragma once

namespace torvane::shell {

// Where a screen reader (or any assistive technology) runs, the browser engine builds the accessibility
// tree of every course page from the start, so that the page's headings, text and links reach the
// reader; elsewhere it does not spend the time. Looks at the desktop's accessibility status (AT-SPI on
// Linux, or QT_LINUX_ACCESSIBILITY_ALWAYS_ON) and passes the engine its switch. Call before the browser
// engine starts.
void prepareBrowserForScreenReaders();

} // namespace torvane::shell
