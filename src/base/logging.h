#pragma once

// The viewer's diagnostics, one category per area, for whoever runs it from a terminal: what failed and
// why, where the viewer goes on without a word to the learner (a history record that cannot be written,
// a clip the player cannot play, a block that cannot be flushed, a list that cannot be read, a window
// that cannot be found). Warnings are shown; debug lines only when switched on, e.g.
//   QT_LOGGING_RULES="torvane.*.debug=true"  or  QT_LOGGING_RULES="torvane.blocks.debug=true"

#include <QLoggingCategory>

namespace torvane::base {

Q_DECLARE_LOGGING_CATEGORY(lcBrowser)    // "torvane.browser": page loads, renderers, certificates
Q_DECLARE_LOGGING_CATEGORY(lcMedia)      // "torvane.media": videos and narration
Q_DECLARE_LOGGING_CATEGORY(lcBlocks)     // "torvane.blocks": the blocks shared with the tools and copies
Q_DECLARE_LOGGING_CATEGORY(lcLists)      // "torvane.lists": files.trv and words.trv
Q_DECLARE_LOGGING_CATEGORY(lcHistory)    // "torvane.history": the history of visited pages
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)   // "torvane.platform": folders, windows, programs, the lock
Q_DECLARE_LOGGING_CATEGORY(lcSecondCopy) // "torvane.secondcopy": a second copy's job

} // namespace torvane::base
