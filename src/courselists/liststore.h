#pragma once

#include <QDateTime>
#include <QString>
#include <courselists/pagelist.h>
#include <courselists/wordlists.h>
#include <functional>
#include <optional>

namespace torvane::courselists {

// How a window's request for one of the course's lists went. The window decides what, if anything, the
// learner is told about it.
struct ListReport final {
    enum class Outcome {
        Missing,    // the existence test found no file: nothing was read, the tables keep what they held
        Unreadable, // the file is there but could not be read: the tables keep what they held
        Read,       // the list was read, now or earlier in the run; the fields below say how it went
    };
    Outcome outcome = Outcome::Missing;
    QString path;          // the file the request was about
    int records = 0;       // records read, the empty ones included
    bool overflow = false; // more than 20000 records: the first 20000 were kept
    bool failed = false;   // a bad record ended the reading; the records before it were kept

    bool read() const { return outcome == Outcome::Read; }
};

// The course's two lists, "files.trv" and "words.trv" in the program's folder, shared by the windows that
// show them: the windows get tables and reports, never files. Every request first asks the requesting
// window's existence test about the file (the test may ask the learner to mend a medium it cannot look
// at); a list it does not find is passed over.
class ListStore final {
public:
    // The existence test of the window that asks for a list.
    using ExistenceTest = std::function<bool(const QString& path)>;

    // `folder` gives the folder the lists lie in; asked at each request.
    explicit ListStore(std::function<QString()> folder) : folder_(std::move(folder)) {}

    QString pageListPath() const;
    QString wordListPath() const;

    // The page list (the word list) into tables(), read at most once per run: by the first request that
    // finds the file. Later requests that find it report that same read.
    ListReport loadPages(const ExistenceTest& exists);
    ListReport loadWords(const ExistenceTest& exists);
    const SearchTables& tables() const { return tables_; }

    // The page list as the file is now, into pagesAsOnDisk(), for a window that shows it as it stands at
    // each opening: read again whenever the file's size or modification time differs from the last read's.
    ListReport loadPagesAsOnDisk(const ExistenceTest& exists);
    const PageTable& pagesAsOnDisk() const { return pagesAsOnDisk_; }

private:
    // What a file looked like when it was read.
    struct FileStamp final {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };
    // One table's reading: when the file was read, and how it went (none: it could not be read).
    struct Reading final {
        std::optional<FileStamp> stamp; // none: never read
        std::optional<ListReadResult> result;
    };
    enum class Again { Never, WhenChanged };

    // The one way a list is loaded: the existence test, the read into `table` when `reading` calls for
    // it, and the report.
    template <typename Table, typename Reader>
    ListReport load(const QString& path, const ExistenceTest& exists, Reading& reading, Again again,
                    Table& table, Reader reader);

    std::function<QString()> folder_;
    SearchTables tables_;
    Reading pages_;
    Reading words_;
    PageTable pagesAsOnDisk_;
    Reading pagesOnDisk_;
};

} // namespace torvane::courselists
