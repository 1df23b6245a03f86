#include <gtest/gtest.h>
#include <shell/rendererrecovery.h>
#include <string>
#include <vector>

namespace {

using torvane::shell::RendererRecovery;

// One event in a scripted run: the renderer of `page` died at `atMs`, or `page` completed.
struct Event {
    enum Kind { Crash, Completed } kind;
    const char* page;
    std::int64_t atMs;
    bool reload; // Crash only: whether the page is to be loaded again
};

TEST(RendererRecovery, ReloadsABoundedNumberOfTimes) {
    struct Row {
        const char* name;
        std::vector<Event> events;
    };
    constexpr std::int64_t w = RendererRecovery::kWindowMs;
    const Row rows[] = {
        {"three reloads, then the page stays as it is",
         {{Event::Crash, "a", 0, true},
          {Event::Completed, "a", 10, false},
          {Event::Crash, "a", 20, true},
          {Event::Completed, "a", 30, false},
          {Event::Crash, "a", 40, true},
          {Event::Crash, "a", 50, false},
          {Event::Crash, "a", 60, false}}},
        {"another page completing starts a new count",
         {{Event::Crash, "a", 0, true},
          {Event::Crash, "a", 1, true},
          {Event::Crash, "a", 2, true},
          {Event::Crash, "a", 3, false},
          {Event::Completed, "b", 4, false},
          {Event::Crash, "b", 5, true},
          {Event::Completed, "a", 6, false},
          {Event::Crash, "a", 7, true}}},
        {"a crash on another page starts a new count",
         {{Event::Crash, "a", 0, true},
          {Event::Crash, "a", 1, true},
          {Event::Crash, "a", 2, true},
          {Event::Crash, "b", 3, true}}},
        {"reloads older than the window no longer count",
         {{Event::Crash, "a", 0, true},
          {Event::Crash, "a", 1, true},
          {Event::Crash, "a", 2, true},
          {Event::Crash, "a", w - 1, false},
          {Event::Crash, "a", w, true},
          {Event::Crash, "a", w + 1, true},
          {Event::Crash, "a", w + 2, true},
          {Event::Crash, "a", w + 3, false}}},
    };
    for (const Row& row : rows) {
        RendererRecovery recovery;
        int step = 0;
        for (const Event& e : row.events) {
            if (e.kind == Event::Crash) {
                EXPECT_EQ(recovery.rendererEnded(e.page, e.atMs), e.reload) << row.name << ", event " << step;
            } else {
                recovery.documentCompleted(e.page);
            }
            ++step;
        }
    }
}

} // namespace
