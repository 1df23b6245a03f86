#include <QFile>
#include <QTemporaryDir>
#include <Qt>
#include <gtest/gtest.h>
#include <shell/preferences.h>
#include <shell/readingkeys.h>
#include <shell/textsizesteps.h>

namespace {

using namespace torvane::shell;
using C = ReadingCommand;

TEST(ReadingKeys, EachKeyAndItsModifiers) {
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int alt = Qt::AltModifier;
    const int keypad = Qt::KeypadModifier;
    struct Row {
        int key;
        int modifiers;
        bool reading;
        C command;
    };
    const Row rows[] = {
        {Qt::Key_Plus, ctrl, false, C::TextBigger},
        {Qt::Key_Equal, ctrl, false, C::TextBigger},
        {Qt::Key_Plus, ctrl | keypad, false, C::TextBigger},
        {Qt::Key_Minus, ctrl, false, C::TextSmaller},
        {Qt::Key_Minus, ctrl | keypad, true, C::TextSmaller},
        {Qt::Key_0, ctrl, false, C::TextNormal},
        {Qt::Key_F, ctrl, false, C::Find},
        {Qt::Key_F3, 0, false, C::FindNext},
        {Qt::Key_F3, shift, false, C::FindPrevious},
        {Qt::Key_S, ctrl | shift, false, C::ReadAloud},
        {Qt::Key_S, ctrl | shift, true, C::ReadAloud},
        // Plus typed with Shift is the text size until something is read aloud; then the rate.
        {Qt::Key_Plus, ctrl | shift, false, C::TextBigger},
        {Qt::Key_Plus, ctrl | shift, true, C::ReadFaster},
        {Qt::Key_Underscore, ctrl | shift, true, C::ReadSlower},
        {Qt::Key_Minus, ctrl | shift, true, C::ReadSlower},
        {Qt::Key_D, ctrl | shift, false, C::DarkMode},
        {Qt::Key_F1, 0, false, C::KeysPanel},
        {Qt::Key_F6, 0, false, C::SwitchFocus},
        // Not reading keys: the access keys, plain letters, other combinations.
        {Qt::Key_S, alt, false, C::None},
        {Qt::Key_Plus, ctrl | alt, false, C::None},
        {Qt::Key_U, ctrl | shift, false, C::None},
        {Qt::Key_F, 0, false, C::None},
        {Qt::Key_S, ctrl, false, C::None},
        {Qt::Key_F1, shift, false, C::None},
        {Qt::Key_PageDown, 0, false, C::None},
        {Qt::Key_Escape, 0, true, C::None},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(decideReadingKey(row.key, row.modifiers, row.reading), row.command)
            << std::hex << row.key << " " << row.modifiers << " " << row.reading;
    }
}

TEST(TextSize, StepsUpAndDownStayWithinTheirEnds) {
    EXPECT_EQ(nextTextSize(100, true), 110);
    EXPECT_EQ(nextTextSize(100, false), 90);
    EXPECT_EQ(nextTextSize(300, true), 300);
    EXPECT_EQ(nextTextSize(50, false), 50);
    EXPECT_EQ(nextTextSize(120, true), 125); // a size between steps goes to the next one
    EXPECT_EQ(nextTextSize(120, false), 110);
    EXPECT_TRUE(isTextSizeStep(125));
    EXPECT_FALSE(isTextSizeStep(120));
}

TEST(Preferences, FileTextBothWays) {
    struct Row {
        const char* text;
        ReaderPreferences expected;
    };
    const Row rows[] = {
        {"[Reading]\nTextSize=125\nReadingRate=0.3\nVoice=English (Great Britain)\nDarkMode=true\n",
         {125, 0.3, "English (Great Britain)", true}},
        {"", {}},
        {"garbage\x01\xff", {}},
        // Values that cannot be read or lie outside their range are the defaults; the rest count.
        {"[Reading]\nTextSize=120\nReadingRate=2\nDarkMode=maybe\n", {}},
        {"[Reading]\r\nTextSize = 200 \r\nDarkMode=1\r\n", {200, 0.0, "", true}},
        {"[Other]\nTextSize=150\n[Reading]\nDarkMode=true\n", {100, 0.0, "", true}},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(parsePreferences(row.text) == row.expected) << row.text;
    }
    const ReaderPreferences kept{75, -0.5, "espeak en", true};
    EXPECT_TRUE(parsePreferences(preferencesText(kept)) == kept);
}

TEST(Preferences, KeptInTheDataFolderOnlyAsTheLearnersOwnFile) {
    QTemporaryDir folder;
    const QString billDir = folder.path() + QLatin1Char('/');
    const QString path = billDir + QString::fromLatin1(kPreferencesFileName);
    EXPECT_TRUE(loadPreferences(billDir) == ReaderPreferences{});
    const ReaderPreferences chosen{150, 0.2, "", true};
    ASSERT_TRUE(savePreferences(billDir, chosen));
    EXPECT_TRUE(loadPreferences(billDir) == chosen);
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    // A link in its place is neither read nor written through.
    const QString elsewhere = folder.path() + QStringLiteral("/elsewhere.ini");
    ASSERT_TRUE(QFile::rename(path, elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, path));
    EXPECT_TRUE(loadPreferences(billDir) == ReaderPreferences{});
    EXPECT_FALSE(savePreferences(billDir, ReaderPreferences{}));
    QFile target(elsewhere);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_TRUE(parsePreferences(target.readAll()) == chosen);

    // No data folder: the defaults, and nothing kept.
    EXPECT_TRUE(loadPreferences(QString()) == ReaderPreferences{});
    EXPECT_FALSE(savePreferences(QString(), chosen));
}

} // namespace
