#include <Qt>
#include <gtest/gtest.h>
#include <shell/keyrules.h>
#include <shell/toolbartargets.h>

namespace {

using namespace torvane::shell;

TEST(MainKeys, KeyDownRules) {
    struct Row {
        int keyCode;
        int shift;
        KeyCommand command;
        int keyAfter;
    };
    const Row rows[] = {
        {vk::Q, kAltBit, KeyCommand::AskQuit, 0},
        {vk::Comma, kAltBit, KeyCommand::Previous, 0},
        {vk::FullStop, kAltBit, KeyCommand::Next, 0},
        {vk::Comma, kAltBit | kShiftBit, KeyCommand::Previous, 0},
        {vk::Q, 0, KeyCommand::None, vk::Q}, // Q alone is just a key
        {vk::Q, kCtrlBit, KeyCommand::None, vk::Q},
        {vk::Comma, 0, KeyCommand::None, vk::Comma},
        {vk::Escape, 0, KeyCommand::StopVideo, vk::Escape}, // Esc goes on to the key-press handler
        {vk::Escape, kAltBit, KeyCommand::StopVideo, vk::Escape},
        {vk::PageUp, 0, KeyCommand::Previous, 0},
        {vk::PageDown, 0, KeyCommand::Next, 0},
        {vk::PageDown, kAltBit, KeyCommand::Next, 0},
        {65, kAltBit, KeyCommand::None, 65},
        {0, 0, KeyCommand::None, 0},
    };
    for (const Row& row : rows) {
        const auto d = decideMainKeyDown(row.keyCode, row.shift);
        EXPECT_EQ(d.command, row.command) << row.keyCode << " " << row.shift;
        EXPECT_EQ(d.keyCode, row.keyAfter) << row.keyCode << " " << row.shift;
    }
    EXPECT_EQ(decideMainKeyPress(27), 0);
    EXPECT_EQ(decideMainKeyPress(13), 13);
    EXPECT_EQ(decideMainKeyPress('q'), 'q');
}

TEST(MainKeys, QtKeysToVirtualKeys) {
    EXPECT_EQ(virtualKeyOf(Qt::Key_Q), vk::Q);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Comma), vk::Comma);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Less), vk::Comma);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Period), vk::FullStop);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Greater), vk::FullStop);
    EXPECT_EQ(virtualKeyOf(Qt::Key_Escape), vk::Escape);
    EXPECT_EQ(virtualKeyOf(Qt::Key_PageUp), vk::PageUp);
    EXPECT_EQ(virtualKeyOf(Qt::Key_PageDown), vk::PageDown);
    EXPECT_EQ(virtualKeyOf(Qt::Key_F1), 0);
}

TEST(ContentsButton, AlternatesBetweenTheTwoContentsPages) {
    const QString locn = "torvane://course/trv_cbt/trv2/";
    struct Row {
        const char* curPage;
        int size;
        const char* target;
    };
    const Row rows[] = {
        {"trvb.trv", 2, "trvcrb.trv"}, {"trvcrb.trv", 2, "trvb.trv"}, {"tr010003.trv", 2, "trvb.trv"},
        {"trvc.trv", 2, "trvb.trv"},   // another class's contents page is just a page
        {"trva.trv", 0, "trvcra.trv"}, // outside 2..7: the "a" pages
        {"trva.trv", 9, "trvcra.trv"}, {"trvg.trv", 7, "trvcrg.trv"}, {"", 4, "trvd.trv"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(contentsTarget(locn, row.curPage, row.size), locn + row.target) << row.curPage;
    }
}

} // namespace
