#pragma once

#include <QString>
#include <base/boxplacement.h>
#include <base/messageboxcodes.h>
#include <optional>

class QWidget;

namespace torvane::base {

struct MessageBoxRequest final {
    QString text;
    int style = mb::OKOnly;
    QString title = QString::fromLatin1(kAppTitle);
    QWidget* owner = nullptr;
    std::optional<BoxPlacement>
        placement; // relative to the owner (or desktop); none: where the system puts it
};

// Shows message boxes. The viewer asks through this interface so that a test can answer for the learner.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box modally and returns the result code of the button pressed (mb::OK, mb::Yes...).
    virtual int show(const MessageBoxRequest& request) = 0;
};

// Shows a message box placed relative to its owner: `x` and `y` are pixel offsets from the owner's
// top-left corner or "Center" (any letter case); with `desktop` the whole desktop is the reference.
// Without an owner the box goes where the system puts it. A title left out is the application title.
// Nothing is shown, and nothing returned, when x or y is neither a number nor "Center".
std::optional<int> MsgBoxAt(MessageBoxes& boxes, const QString& prompt, int style,
                            const std::optional<QString>& title = std::nullopt, QWidget* owner = nullptr,
                            bool desktop = false, const QVariant& x = {}, const QVariant& y = {});

} // namespace torvane::base
