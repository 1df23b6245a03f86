#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVariant>
#include <optional>

namespace torvane::base {

// Where a placed message box goes, relative to a reference window (its owner, or the whole desktop).
struct BoxPlacement final {
    bool centreX = false;
    bool centreY = false;
    int offsetX = 0; // pixels from the reference's left edge, when not centring across
    int offsetY = 0; // pixels from the reference's top edge, when not centring down
    bool desktop = false;
};

// One placement argument: the text "Center" in any letter case, or a whole number of pixels (a number
// written as text counts). Nothing for anything else; a missing argument means 0.
struct PlacementAxis final {
    bool centre = false;
    int offset = 0;
};
std::optional<PlacementAxis> parsePlacementAxis(const QVariant& argument);

// Both arguments together; nothing when either cannot be read.
std::optional<BoxPlacement> makeBoxPlacement(const QVariant& x, const QVariant& y, bool desktop);

// The box's top-left corner for a reference rectangle R and a box of size D: centred halves truncate
// toward zero, offsets count from R's top-left corner.
QPoint placeBox(const QRect& reference, const QSize& box, const BoxPlacement& placement);

} // namespace torvane::base
