#include <gtest/gtest.h>
#include <platform/calculator.h>

namespace {

using torvane::platform::calculatorArguments;

TEST(Calculator, AskedForTheWholeWorkArea) {
    struct Row {
        const char* program;
        QRect area;
        QStringList arguments;
    };
    const Row rows[] = {
        {"/usr/bin/xcalc", {0, 0, 1280, 800}, {"-geometry", "1280x800+0+0"}},
        {"/usr/bin/kcalc", {0, 0, 1280, 800}, {"-qwindowgeometry", "1280x800+0+0"}},
        // A panel at the top or left moves the work area; a screen left of the primary one is negative.
        {"/usr/bin/xcalc", {64, 27, 1856, 1053}, {"-geometry", "1856x1053+64+27"}},
        {"/usr/local/bin/kcalc", {-1920, 0, 1920, 1080}, {"-qwindowgeometry", "1920x1080-1920+0"}},
        // No geometry option: the desktop is asked for the maximised window instead.
        {"/usr/bin/gnome-calculator", {0, 0, 1280, 800}, {}},
        {"/usr/bin/mate-calc", {0, 0, 1280, 800}, {}},
        {"/usr/bin/galculator", {0, 0, 1280, 800}, {}},
        {"/opt/xcalc-tools/bin/other", {0, 0, 1280, 800}, {}}, // the program's name decides, not its folder
        {"/usr/bin/xcalc", {}, {}},                            // no screen to measure
    };
    for (const Row& row : rows) {
        EXPECT_EQ(calculatorArguments(QString::fromLatin1(row.program), row.area), row.arguments)
            << row.program << ' ' << row.area.width() << 'x' << row.area.height();
    }
}

} // namespace
