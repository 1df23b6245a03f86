#pragma once

#include <QString>
#include <functional>

namespace torvane::base {
class MessageBoxes;
}

namespace torvane::secondcopy {

using base::MessageBoxes;

// True when `path` names an existing folder. An empty path is no folder. When the look itself fails the
// learner is asked "File Error" with OK (look again) and Cancel (take it as no folder).
bool FolderThere(const QString& path, MessageBoxes& boxes);

// True when `path` names an existing file (hidden ones included; a folder is no file). When the look
// itself fails the learner is asked "Please run Setup on the USB" with OK (look again) and Cancel, which
// calls `onCancel` (the program ends there) and then gives false.
bool FileThere(const QString& path, MessageBoxes& boxes, const std::function<void()>& onCancel);

} // namespace torvane::secondcopy
