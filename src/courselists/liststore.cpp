#include <QDir>
#include <QFileInfo>
#include <base/logging.h>
#include <base/trace.h>
#include <courselists/ansitext.h>
#include <courselists/liststore.h>
#include <courselists/recordreader.h>

namespace torvane::courselists {

QString ListStore::pageListPath() const {
    return QDir(folder_()).filePath(QString::fromLatin1(kPageListFileName));
}

QString ListStore::wordListPath() const {
    return QDir(folder_()).filePath(QString::fromLatin1(kWordListFileName));
}

ListReport ListStore::loadPages(const ExistenceTest& exists) {
    return load(pageListPath(), exists, pages_, Again::Never, tables_.pages, readPageList);
}

ListReport ListStore::loadWords(const ExistenceTest& exists) {
    return load(wordListPath(), exists, words_, Again::Never, tables_.words, readWordList);
}

ListReport ListStore::loadPagesAsOnDisk(const ExistenceTest& exists) {
    return load(pageListPath(), exists, pagesOnDisk_, Again::WhenChanged, pagesAsOnDisk_, readPageList);
}

template <typename Table, typename Reader>
ListReport ListStore::load(const QString& path, const ExistenceTest& exists, Reading& reading, Again again,
                           Table& table, Reader reader) {
    ListReport report;
    report.path = path;
    if (!exists(path)) {
        qCDebug(base::lcLists) << "no list at" << path;
        return report;
    }
    const QFileInfo info(path);
    const FileStamp stamp{info.exists() ? info.size() : -1, info.lastModified()};
    if (!reading.stamp || (again == Again::WhenChanged && *reading.stamp != stamp)) {
        if (again == Again::WhenChanged) {
            table = Table(); // the file as it is now, with nothing left from an earlier version
        }
        reading.stamp = stamp;
        reading.result.reset();
        if (const std::optional<QByteArray> bytes = readWholeFile(path)) {
            reading.result = reader(fromAnsi(*bytes), table);
            base::trace("list-read",
                        QStringLiteral("%1 %2").arg(path).arg(reading.result->records).toStdString());
            if (reading.result->failed) {
                qCWarning(base::lcLists) << path << "ends at record" << reading.result->records
                                         << "with a first field that is no whole number from -32768 to 32767";
            }
        } else {
            qCWarning(base::lcLists) << path << "could not be read (not a plain file, or unreadable)";
        }
    }
    if (!reading.result) {
        report.outcome = ListReport::Outcome::Unreadable;
        return report;
    }
    report.outcome = ListReport::Outcome::Read;
    report.records = reading.result->records;
    report.overflow = reading.result->overflow;
    report.failed = reading.result->failed;
    return report;
}

} // namespace torvane::courselists
