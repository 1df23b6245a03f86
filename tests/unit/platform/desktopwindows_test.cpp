#include <gtest/gtest.h>
#include <platform/desktopwindowrules.h>
#include <platform/desktopwindows.h>

namespace {

using torvane::platform::chooseWindowByTitle;
using torvane::platform::isSearchableWindow;
using torvane::platform::X11WindowFacts;

TEST(WindowByTitle, ExactFirstThenBeginning) {
    const QStringList titles{"Solidra - lab 3", "Kirvolt - circuit.ckt", "Kirvolt", "Torvane - Module 1",
                             "Torvane"};
    struct Row {
        const char* wanted;
        qsizetype expected; // -1: none
    };
    const Row rows[] = {
        {"Kirvolt", 2}, // the exact title wins over an earlier one that begins with it
        {"Solidra -", 0},
        {"Torvane", 4},
        {"Torvane - Module", 3},
        {"kirvolt", -1}, // titles are compared with their letter case
        {"Solidra", 0},
        {"Kirvolt - circuit.ckt and more", -1},
        {"", -1},
    };
    for (const Row& row : rows) {
        const auto chosen = chooseWindowByTitle(titles, QString::fromLatin1(row.wanted));
        EXPECT_EQ(chosen.value_or(-1), row.expected) << row.wanted;
    }
    EXPECT_FALSE(chooseWindowByTitle({}, "Torvane").has_value());
}

TEST(WindowByTitle, OnlyApplicationWindowsOfTheDesktopCount) {
    const QByteArray normal = "_NET_WM_WINDOW_TYPE_NORMAL";
    X11WindowFacts shown;
    shown.viewable = true;
    X11WindowFacts listed; // listed by the window manager, unmapped: minimised or on another workspace
    listed.inClientList = true;
    const auto with = [](X11WindowFacts facts, auto change) {
        change(facts);
        return facts;
    };
    struct Row {
        const char* what;
        X11WindowFacts facts;
        bool counts;
    };
    const Row rows[] = {
        {"shown, no type", shown, true},
        {"listed by the window manager though not shown", listed, true},
        {"unlisted and unmapped: withdrawn", X11WindowFacts{}, false},
        {"unlisted, unmapped, left minimised", with(X11WindowFacts{}, [](auto& f) { f.iconic = true; }),
         true},
        {"transient", with(listed, [](auto& f) { f.transient = true; }), false},
        {"override-redirect", with(shown, [](auto& f) { f.overrideRedirect = true; }), false},
        {"input only", with(shown, [](auto& f) { f.inputOnly = true; }), false},
        {"normal", with(listed, [&](auto& f) { f.windowTypes = {normal}; }), true},
        // Qt names a vendor type first and a standard fallback after the one that decides.
        {"frameless normal window as Qt types it",
         with(listed,
              [&](auto& f) {
                  f.windowTypes = {"", normal};
              }),
         true},
        {"splash with its fallback",
         with(listed,
              [&](auto& f) {
                  f.windowTypes = {"_NET_WM_WINDOW_TYPE_SPLASH", "", normal};
              }),
         false},
        {"tool palette",
         with(listed,
              [&](auto& f) {
                  f.windowTypes = {"_NET_WM_WINDOW_TYPE_UTILITY", normal};
              }),
         false},
        {"dialog", with(listed, [](auto& f) { f.windowTypes = {"_NET_WM_WINDOW_TYPE_DIALOG"}; }), false},
        {"notification", with(listed, [](auto& f) { f.windowTypes = {"_NET_WM_WINDOW_TYPE_NOTIFICATION"}; }),
         false},
        {"menu", with(listed, [](auto& f) { f.windowTypes = {"_NET_WM_WINDOW_TYPE_MENU"}; }), false},
        {"tooltip", with(listed, [](auto& f) { f.windowTypes = {"_NET_WM_WINDOW_TYPE_TOOLTIP"}; }), false},
        {"only types nobody knows",
         with(listed,
              [](auto& f) {
                  f.windowTypes = {"", ""};
              }),
         true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isSearchableWindow(row.facts), row.counts) << row.what;
    }
}

TEST(QpaPlatform, XcbWhereAnXDisplayIsAndTheLearnerChoseNone) {
    struct Row {
        const char* qpaPlatform;
        const char* display;
        const char* chosen; // nullptr: nothing chosen
    };
    const Row rows[] = {
        {"", ":0", "xcb"},          // X11 desktop, or XWayland under a Wayland session
        {"", "", nullptr},          // no X display: Qt's own choice
        {"wayland", ":0", nullptr}, // the learner's choice stays
        {"offscreen", "", nullptr},
    };
    for (const Row& row : rows) {
        const auto chosen = torvane::platform::chosenQpaPlatform(row.qpaPlatform, row.display);
        EXPECT_EQ(chosen.value_or("(none)"), QByteArray(row.chosen ? row.chosen : "(none)"))
            << row.qpaPlatform << " " << row.display;
    }
}

} // namespace
