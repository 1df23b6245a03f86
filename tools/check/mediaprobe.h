#pragma once

// Decoding media files with GStreamer's discoverer (libgstpbutils), as the viewer's player would meet
// them: a file that the discoverer cannot bring to the point of playing does not play.

#include "coursecheck.h"

#include <QString>
#include <chrono>
#include <map>
#include <vector>

namespace torvane::tools::check {

// Starts GStreamer once; on failure, says why.
bool startGStreamer(QString& error);

// Decodes every file (absolute paths, each once) with `workers` discoverers side by side, each file for
// at most `limit`. The result is keyed by the paths given.
std::map<QString, MediaInfo> decodeMedia(const std::vector<QString>& paths, int workers,
                                         std::chrono::milliseconds limit);

} // namespace torvane::tools::check
