#include <platform/desktopwindows.h>

namespace torvane::platform {

std::optional<qsizetype> chooseWindowByTitle(const QStringList& titles, const QString& title) {
    if (title.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype exact = titles.indexOf(title);
    if (exact >= 0) {
        return exact;
    }
    for (qsizetype i = 0; i < titles.size(); ++i) {
        if (titles[i].startsWith(title)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace torvane::platform
