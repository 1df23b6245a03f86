#pragma once

#include <QString>
#include <optional>
#include <shell/boxplacement.h>

class QWidget;

namespace torvane::shell {

// Message-box style bits and results, numbered as the course's tools and documents know them.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int SetForeground = 65536;

inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace mb

// The application title a message box shows when it is given none.
inline constexpr char kAppTitle[] = "Torvane";

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

} // namespace torvane::shell
