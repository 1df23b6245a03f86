#include <support/scriptedboxes.h>

namespace torvane::testing {

int ScriptedBoxes::show(const shell::MessageBoxRequest& request) {
    asked.push_back(request);
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    switch (request.style & 7) {
    case shell::mb::YesNo:
        return shell::mb::No;
    case shell::mb::OKCancel:
        return shell::mb::Cancel;
    default:
        return shell::mb::OK;
    }
}

} // namespace torvane::testing
