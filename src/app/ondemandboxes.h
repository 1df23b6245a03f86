#pragma once

#include <QApplication>
#include <base/messagebox.h>
#include <memory>
#include <secondcopy/screenmessageboxes.h>
#include <vector>

namespace torvane::app {

// Message boxes for a process that has no window yet: the application object that a box needs is made
// when the first box is shown. While a plain event loop runs (a second copy waiting for a tool's
// window), boxes cannot be made; their messages are kept (as if answered OK) until showPending().
class OnDemandBoxes final : public base::MessageBoxes {
public:
    OnDemandBoxes(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    int show(const base::MessageBoxRequest& request) override;
    // The application object for windows, made now if there is none.
    QApplication& application();
    // Shows the kept messages; call once the plain event loop and its application object are gone.
    void showPending();

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> application_;
    std::vector<base::MessageBoxRequest> pending_;
    secondcopy::ScreenMessageBoxes screen_;
};

} // namespace torvane::app
