#include <base/messagebox.h>
#include <platform/pathprobe.h>
#include <secondcopy/existencechecks.h>

namespace torvane::secondcopy {

namespace mb = base::mb;
using base::kAppTitle;

using platform::PathState;

bool FolderThere(const QString& path, MessageBoxes& boxes) {
    if (path.isEmpty()) {
        return false;
    }
    for (;;) {
        const auto probe = platform::probePath(path);
        if (probe.state != PathState::Error) {
            return probe.state == PathState::Directory;
        }
        const int answer = boxes.show(
            {QStringLiteral("File Error"), mb::OKCancel | mb::Exclamation, QStringLiteral("File Error")});
        if (answer != mb::OK) {
            return false;
        }
    }
}

bool FileThere(const QString& path, MessageBoxes& boxes, const std::function<void()>& onCancel) {
    for (;;) {
        const auto probe = platform::probePath(path);
        if (probe.state != PathState::Error) {
            return probe.state == PathState::File;
        }
        const int answer = boxes.show({QStringLiteral("Please run Setup on the USB"),
                                       mb::OKCancel | mb::Exclamation, QString::fromLatin1(kAppTitle)});
        if (answer != mb::OK) {
            onCancel();
            return false;
        }
    }
}

} // namespace torvane::secondcopy
