#include <base/boxplacement.h>
#include <cmath>
#include <limits>

namespace torvane::base {

std::optional<PlacementAxis> parsePlacementAxis(const QVariant& argument) {
    if (!argument.isValid() || argument.isNull()) {
        return PlacementAxis{};
    }
    if (argument.typeId() == QMetaType::QString &&
        argument.toString().compare(QStringLiteral("Center"), Qt::CaseInsensitive) == 0) {
        return PlacementAxis{true, 0};
    }
    bool ok = false;
    const double value = argument.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return PlacementAxis{false, static_cast<int>(std::lround(value))};
}

std::optional<BoxPlacement> makeBoxPlacement(const QVariant& x, const QVariant& y, bool desktop) {
    const auto across = parsePlacementAxis(x);
    const auto down = parsePlacementAxis(y);
    if (!across || !down) {
        return std::nullopt;
    }
    return BoxPlacement{across->centre, down->centre, across->offset, down->offset, desktop};
}

QPoint placeBox(const QRect& reference, const QSize& box, const BoxPlacement& placement) {
    const int x = placement.centreX ? reference.left() + (reference.width() - box.width()) / 2
                                    : reference.left() + placement.offsetX;
    const int y = placement.centreY ? reference.top() + (reference.height() - box.height()) / 2
                                    : reference.top() + placement.offsetY;
    return {x, y};
}

} // namespace torvane::base
