#pragma once

namespace torvane::router {

// The browser engine draws each page view through a window of its own that is never shown (its caption
// is "Offscreen"). A screen reader would list it beside the viewer's windows as one more, empty window:
// it is taken out of what the desktop's accessibility sees. Call once a browser has loaded a page (its
// drawing window exists from then on, and a new one comes with a new renderer).
void keepOffscreenWindowsFromScreenReaders();

} // namespace torvane::router
