#include <base/logging.h>

namespace torvane::base {

Q_LOGGING_CATEGORY(lcBrowser, "torvane.browser", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMedia, "torvane.media", QtWarningMsg)
Q_LOGGING_CATEGORY(lcBlocks, "torvane.blocks", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLists, "torvane.lists", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHistory, "torvane.history", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "torvane.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSecondCopy, "torvane.secondcopy", QtWarningMsg)

} // namespace torvane::base
