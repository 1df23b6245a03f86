#pragma once

#include <cstdint>
#include <functional>

class QObject;

namespace torvane::base {

// Every interval the viewer waits or polls with, kept in one place. A test may shorten them all at once
// by setting TORVANE_TIME_DIVISOR (a whole number 1..1000) in the environment before the first call.
struct Intervals final {
    int pauseMs;      // the one-second pause of WaitASecond
    int preVideoMs;   // from the start of a video to the first look at its play state
    int videoWatchMs; // between two looks at a playing video
    int pollMs;       // between two looks at the shared blocks
    int launchMs;     // between two looks for a tool's window
    int launchLooks;  // how often a tool's window is looked for before giving up
    int popupMs;      // between two looks at the left mouse button while a popup shows
};

// How long a navigation the viewer started may go without completing before the renderer of the page
// being left is asked whether it still answers, and how long it then has to answer. Not shortened for
// tests: a healthy renderer on a busy machine must have its time.
inline constexpr int kNavigationLookMs = 1500;
inline constexpr int kRendererAnswerMs = 1000;

// How long media may go on loading before the player gives it up as broken: a file the media backend
// can neither read nor reject (a cut-off header, a server that never answers) would otherwise leave it
// loading for ever. Not shortened for tests either.
inline constexpr int kMediaLoadGiveUpMs = 10000;

// The intervals in force for this process.
const Intervals& intervals();

// The standard intervals divided by `divisor` (at least 1 ms each; the number of looks never changes).
Intervals intervalsDividedBy(int divisor);

// Milliseconds on a monotonic 64-bit clock: never negative, never wraps, never jumps with the wall clock.
std::int64_t TickNow();

// The one-second pause of a handler that goes on afterwards: `then` (the handler's remaining steps) runs
// from a timer once intervals().pauseMs have passed, unless `context` is gone by then. The handler
// returns at once; whatever happens meanwhile (a click, a page that completes) runs at once and to its
// end.
void WaitASecond(QObject& context, std::function<void()> then);

} // namespace torvane::base
