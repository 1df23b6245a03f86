#pragma once

// Screen size classes: the course ships each layout-sensitive page in seven variants ('a'..'g'),
// each drawn for a range of screen resolutions. The class picks the largest variant that fits.

namespace torvane::shell {

// Size class 1..7 for a screen of width x height pixels.
int sizeClassFor(int width, int height);

} // namespace torvane::shell
