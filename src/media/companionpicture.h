#pragma once

#include <QImage>

namespace torvane::media {

// The companion window's face, 178 x 65 pixels: "back to the course" with the right click's hint.
// `pressed` gives the picture shown while the left button is held down on it.
QImage drawCompanionFace(bool pressed);

} // namespace torvane::media
