#pragma once

#include <base/messagebox.h>

namespace torvane::secondcopy {

// Real message boxes on screen.
class ScreenMessageBoxes final : public base::MessageBoxes {
public:
    int show(const base::MessageBoxRequest& request) override;
};

} // namespace torvane::secondcopy
