#pragma once

#include <QDateTime>
#include <QString>
#include <courselists/pagelist.h>
#include <courselists/wordlists.h>
#include <functional>
#include <optional>

namespace torvane::courselists {

// The course's two lists, "files.trv" and "words.trv" in the program's folder, each read at most once per
// run and shared by the windows that show them: the windows get tables, never files. Whether a list is
// there at all is each window's question to the learner's file system, asked before it reads.
class ListStore final {
public:
    // `folder` gives the folder the lists lie in; asked when a list is first read.
    explicit ListStore(std::function<QString()> folder) : folder_(std::move(folder)) {}

    QString pageListPath() const;
    QString wordListPath() const;

    // Reads the page list (or the word list) the first time; how the read went, every time. None when
    // the file could not be read: the tables keep what they held.
    const std::optional<ListReadResult>& readPages();
    const std::optional<ListReadResult>& readWords();

    const SearchTables& tables() const { return tables_; }

    // The page list as the file is now, for a window that shows it as it stands at each opening: read
    // again whenever the file's size or modification time differs from the last read's. None when the
    // file could not be read.
    const std::optional<ListReadResult>& readPagesAsOnDisk();
    const PageTable& pagesAsOnDisk() const { return current_.pages; }

private:
    // What a file looked like when it was read.
    struct FileStamp final {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };
    struct CurrentPages final {
        std::optional<FileStamp> stamp; // none: never read
        std::optional<ListReadResult> read;
        PageTable pages;
    };

    std::function<QString()> folder_;
    CurrentPages current_;
    bool pagesRead_ = false;
    bool wordsRead_ = false;
    std::optional<ListReadResult> pages_;
    std::optional<ListReadResult> words_;
    SearchTables tables_;
};

} // namespace torvane::courselists
