#include <base/messagebox.h>

namespace torvane::base {

std::optional<int> MsgBoxAt(MessageBoxes& boxes, const QString& prompt, int style,
                            const std::optional<QString>& title, QWidget* owner, bool desktop,
                            const QVariant& x, const QVariant& y) {
    MessageBoxRequest request;
    request.text = prompt;
    request.style = style;
    request.title = title.value_or(QString::fromLatin1(kAppTitle));
    request.owner = owner;
    if (owner != nullptr) {
        request.placement = makeBoxPlacement(x, y, desktop);
        if (!request.placement) {
            return std::nullopt;
        }
    }
    return boxes.show(request);
}

} // namespace torvane::base
