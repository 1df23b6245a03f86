#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace torvane::platform {

// The learner's own data: the data folder and the history file in it. Nothing else may redirect them,
// so they are never used through a symbolic link, nor when they belong to another user, and a file
// with a second name (a hard link) is not written either: its records would land in the other file.

// Why the folder `path` cannot hold the learner's data; empty when it can, or when it does not exist.
QString ownFolderProblem(const QString& path);

// Appends to the regular file `path` of this user's own (created, readable by the user only, when
// missing) the bytes `compose` makes, given the byte the file now ends with (none for an empty file),
// in one write. False when nothing was written: the file is a symbolic link, is no regular file, has
// other names, belongs to someone else, or cannot be opened or written.
bool appendToOwnFile(const QString& path, const std::function<QByteArray(std::optional<char> last)>& compose);

// Replaces the content of `path` with `bytes` at once: written to a new file beside it, then put in its
// place, so that a reader never sees half of it and a failure leaves the old content. Only where no file
// is yet, or where `isOwnFile` holds: a link, another user's file or a file with other names is left as
// it is. The file is readable by the user only. False when nothing was replaced.
bool replaceOwnFile(const QString& path, const QByteArray& bytes);

// Whether `path` names a regular file of this user's own with no other name, reached without a
// symbolic link: one the viewer may read as its own record.
bool isOwnFile(const QString& path);

} // namespace torvane::platform
