#include <base/messageboxcodes.h>
#include <gtest/gtest.h>

namespace {

using torvane::base::quitConfirmed;

TEST(QuitQuestion, OnlyARealAnswerOtherThanNoEnds) {
    struct Row {
        std::optional<int> answer;
        bool ends;
    };
    const Row rows[] = {
        {7, false},            // No
        {6, true},             // Yes
        {1, true},             // OK: anything but No counts as Yes
        {2, true},             // Cancel
        {std::nullopt, false}, // the box could not be shown: no answer, nothing ends
    };
    for (const Row& row : rows) {
        EXPECT_EQ(quitConfirmed(row.answer), row.ends) << row.answer.value_or(-1);
    }
}

} // namespace
