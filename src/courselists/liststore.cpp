#include <QDir>
#include <QFileInfo>
#include <base/trace.h>
#include <courselists/ansitext.h>
#include <courselists/liststore.h>
#include <courselists/recordreader.h>

namespace torvane::courselists {

namespace {

// Reads the list at `path` into its table with `reader`; traces which list was read from where.
template <typename Table, typename Reader>
std::optional<ListReadResult> readList(const QString& path, Table& into, Reader reader) {
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    const ListReadResult read = reader(fromAnsi(*bytes), into);
    base::trace("list-read", QStringLiteral("%1 %2").arg(path).arg(read.records).toStdString());
    return read;
}

} // namespace

QString ListStore::pageListPath() const {
    return QDir(folder_()).filePath(QString::fromLatin1(kPageListFileName));
}

QString ListStore::wordListPath() const {
    return QDir(folder_()).filePath(QString::fromLatin1(kWordListFileName));
}

const std::optional<ListReadResult>& ListStore::readPages() {
    if (!pagesRead_) {
        pagesRead_ = true;
        pages_ = readList(pageListPath(), tables_.pages, readPageList);
    }
    return pages_;
}

const std::optional<ListReadResult>& ListStore::readWords() {
    if (!wordsRead_) {
        wordsRead_ = true;
        words_ = readList(wordListPath(), tables_.words, readWordList);
    }
    return words_;
}

const std::optional<ListReadResult>& ListStore::readPagesAsOnDisk() {
    const QString path = pageListPath();
    const QFileInfo info(path);
    const FileStamp stamp{info.exists() ? info.size() : -1, info.lastModified()};
    if (current_.stamp != stamp) {
        current_.pages = PageTable();
        current_.read = readList(path, current_.pages, readPageList);
        current_.stamp = stamp;
    }
    return current_.read;
}

} // namespace torvane::courselists
