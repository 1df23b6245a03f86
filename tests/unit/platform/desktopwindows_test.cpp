#include <gtest/gtest.h>
#include <platform/desktopwindows.h>

namespace {

using torvane::platform::chooseWindowByTitle;

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

} // namespace
