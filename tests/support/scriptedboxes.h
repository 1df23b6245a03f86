#pragma once

#include <base/messagebox.h>
#include <deque>
#include <vector>

namespace torvane::testing {

// Answers message boxes from a script instead of the learner, and remembers every box it was asked
// to show. With the script used up it answers Cancel (or No for a yes/no question).
class ScriptedBoxes final : public base::MessageBoxes {
public:
    explicit ScriptedBoxes(std::deque<int> answers = {}) : answers_(std::move(answers)) {}
    int show(const base::MessageBoxRequest& request) override;
    void answerNext(int result) { answers_.push_back(result); }

    std::vector<base::MessageBoxRequest> asked;

private:
    std::deque<int> answers_;
};

} // namespace torvane::testing
