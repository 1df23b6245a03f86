#include <support/scriptedboxes.h>

namespace torvane::testing {

int ScriptedBoxes::show(const base::MessageBoxRequest& request) {
    asked.push_back(request);
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    switch (request.style & 7) {
    case base::mb::YesNo:
        return base::mb::No;
    case base::mb::OKCancel:
        return base::mb::Cancel;
    default:
        return base::mb::OK;
    }
}

} // namespace torvane::testing
