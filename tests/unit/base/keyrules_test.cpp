#include <Qt>
#include <base/keyrules.h>
#include <gtest/gtest.h>

namespace {

using namespace torvane::base;

// One key through each window's key handler: the command it gives and the key code left after it.
TEST(Keys, KeyDownRulesOfEachWindow) {
    using W = KeyWindow;
    struct Row {
        W window;
        int keyCode;
        int shift;
        KeyCommand command;
        int keyAfter;
    };
    const Row rows[] = {
        {W::Main, vk::Q, kAltBit, KeyCommand::Quit, 0},
        {W::Main, vk::Comma, kAltBit, KeyCommand::Previous, 0},
        {W::Main, vk::FullStop, kAltBit, KeyCommand::Next, 0},
        {W::Main, vk::Comma, kAltBit | kShiftBit, KeyCommand::Previous, 0},
        {W::Main, vk::Q, 0, KeyCommand::None, vk::Q}, // Q alone is just a key
        {W::Main, vk::Q, kCtrlBit, KeyCommand::None, vk::Q},
        {W::Main, vk::Comma, 0, KeyCommand::None, vk::Comma},
        {W::Main, vk::Escape, 0, KeyCommand::StopVideo, vk::Escape}, // Esc goes on to the key-press handler
        {W::Main, vk::Escape, kAltBit, KeyCommand::StopVideo, vk::Escape},
        {W::Main, vk::PageUp, 0, KeyCommand::Previous, 0},
        {W::Main, vk::PageDown, 0, KeyCommand::Next, 0},
        {W::Main, vk::PageDown, kAltBit, KeyCommand::Next, 0},
        {W::Main, vk::Enter, 0, KeyCommand::None, vk::Enter},
        {W::Main, 65, kAltBit, KeyCommand::None, 65},
        {W::Main, 0, 0, KeyCommand::None, 0},
        // The secondary windows: the same Alt keys; no Esc, Page Up or Page Down of their own; Enter
        // opens the selected row in the index and history windows only.
        {W::Search, vk::Q, kAltBit, KeyCommand::Quit, 0},
        {W::Index, vk::Comma, kAltBit, KeyCommand::Previous, 0},
        {W::History, vk::FullStop, kAltBit | kShiftBit, KeyCommand::Next, 0},
        {W::Search, vk::Escape, 0, KeyCommand::None, vk::Escape},
        {W::History, vk::PageUp, 0, KeyCommand::None, vk::PageUp},
        {W::Index, vk::PageDown, 0, KeyCommand::None, vk::PageDown},
        {W::Search, vk::Enter, 0, KeyCommand::None, vk::Enter},
        {W::Index, vk::Enter, 0, KeyCommand::OpenSelectedRow, 0},
        {W::History, vk::Enter, kAltBit, KeyCommand::OpenSelectedRow, 0},
        {W::History, vk::Q, 0, KeyCommand::None, vk::Q},
    };
    for (const Row& row : rows) {
        const auto d = decideKeyDown(row.window, row.keyCode, row.shift);
        EXPECT_EQ(d.command, row.command) << int(row.window) << " " << row.keyCode << " " << row.shift;
        EXPECT_EQ(d.keyCode, row.keyAfter) << int(row.window) << " " << row.keyCode << " " << row.shift;
    }
    EXPECT_EQ(decideKeyPress(27), 0);
    EXPECT_EQ(decideKeyPress(13), 13);
    EXPECT_EQ(decideKeyPress('q'), 'q');
}

TEST(Keys, QtKeysToVirtualKeys) {
    EXPECT_EQ(virtualKeyOf(Qt::Key_Q), vk::Q);
    // The ends of the letters and digits: A is Calc's access key.
    for (const int key : {Qt::Key_A, Qt::Key_Z, Qt::Key_0, Qt::Key_9}) {
        EXPECT_EQ(virtualKeyOf(key), key);
    }
    EXPECT_EQ(virtualKeyOf(Qt::Key_Comma), vk::Comma);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Less), vk::Comma);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Period), vk::FullStop);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Greater), vk::FullStop);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Escape), vk::Escape);
    EXPECT_EQ(virtualKeyOf(Qt::Key_PageUp), vk::PageUp);
    EXPECT_EQ(virtualKeyOf(Qt::Key_PageDown), vk::PageDown);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Enter), vk::Enter);
    EXPECT_EQ(virtualKeyOf(Qt::Key_F1), 0);
    EXPECT_EQ(shiftStateOf(Qt::AltModifier | Qt::ShiftModifier), kAltBit | kShiftBit);
    EXPECT_EQ(shiftStateOf(Qt::ControlModifier | Qt::KeypadModifier), kCtrlBit);
}

// Which button an access key presses, in the main window's row and in the search window's.
TEST(Keys, AccessKeysOfEachRow) {
    struct Row {
        KeyWindow window;
        int qtKey;
        int position; // -1: none
    };
    const Row rows[] = {
        {KeyWindow::Main, Qt::Key_C, 0},    {KeyWindow::Main, Qt::Key_P, 1},
        {KeyWindow::Main, Qt::Key_S, 2},    {KeyWindow::Main, Qt::Key_I, -1},
        {KeyWindow::Main, Qt::Key_Less, 4}, {KeyWindow::Main, Qt::Key_Greater, 5},
        {KeyWindow::Main, Qt::Key_T, 6},    {KeyWindow::Main, Qt::Key_A, 7},
        {KeyWindow::Main, Qt::Key_H, 8},    {KeyWindow::Main, Qt::Key_N, 9},
        {KeyWindow::Main, Qt::Key_Q, -1},   {KeyWindow::Search, Qt::Key_I, 2},
        {KeyWindow::Search, Qt::Key_S, -1}, {KeyWindow::Index, Qt::Key_S, 2},
        {KeyWindow::History, Qt::Key_B, 3}, {KeyWindow::History, Qt::Key_T, 6},
    };
    for (const Row& row : rows) {
        const auto position = accessKeyPosition(toolbarOf(row.window), row.qtKey);
        EXPECT_EQ(position ? int(*position) : -1, row.position) << int(row.window) << " " << row.qtKey;
    }
}

} // namespace
