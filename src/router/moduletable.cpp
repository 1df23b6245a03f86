#include <QLatin1String>
#include <router/moduletable.h>

namespace torvane::router {

namespace {

const PlaceholderRow* findPlaceholder(QStringView name) {
    for (const PlaceholderRow& row : kPlaceholderRows) {
        if (name == QLatin1String(row.name.data()))
            return &row;
    }
    return nullptr;
}

} // namespace

std::optional<QString> placeholderBase(QStringView name) {
    if (const PlaceholderRow* row = findPlaceholder(name))
        return QString::fromLatin1(row->base.data());
    return std::nullopt;
}

bool isPlaceholder(QStringView name) {
    return findPlaceholder(name) != nullptr;
}

} // namespace torvane::router
