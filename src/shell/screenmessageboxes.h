#pragma once

#include <shell/messagebox.h>

namespace torvane::shell {

// Real message boxes on screen.
class ScreenMessageBoxes final : public MessageBoxes {
public:
    int show(const MessageBoxRequest& request) override;
};

} // namespace torvane::shell
