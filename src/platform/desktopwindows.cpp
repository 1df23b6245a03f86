#include <platform/desktopwindows.h>
#include <platform/titlechoice.h>

namespace torvane::platform {

std::optional<qsizetype> chooseWindowByTitle(const QStringList& titles, const QString& title) {
    const auto chosen = chooseTitle(titles, title);
    if (!chosen) {
        return std::nullopt;
    }
    return static_cast<qsizetype>(*chosen);
}

} // namespace torvane::platform
