#pragma once

// trvcheck's rules: what a course folder (and the word lists beside the viewer) must be for the viewer
// to work as the author means it to. Each finding names its rule, a file and the reason in one line.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <map>
#include <optional>
#include <pagereader/htmlpage.h>
#include <set>
#include <vector>

namespace torvane::tools::check {

struct Finding {
    QString rule;
    QString file;
    QString reason;
    friend bool operator==(const Finding&, const Finding&) = default;
};

// The rules in the order they are reported.
inline constexpr const char* kRules[] = {
    "contents-missing",    // a contents or second contents page of a size class is missing
    "variant-missing",     // a module or course-wide page lacks the variant of a size class
    "placeholder-missing", // a module the course has lacks a placeholder of the module page table
    "nav-link",            // link 0, 1, 2 (5 on second contents pages) missing, broken or leading out
    "media-missing",       // a video or narration placeholder's media file is missing
    "media-undecodable",   // ... or does not decode (GStreamer's discoverer)
    "unreached",           // no chain of links leads to the page from the contents pages
    "page-class",          // the viewer would take the page for another kind of page than meant
    "list-missing",        // files.trv or words.trv is not there
    "list-capacity",       // more than 20000 records
    "list-page",           // a files.trv record names a page the course lacks, or stops the list
    "list-title",          // a files.trv title differs from its page's
    "list-reference",      // a words.trv reference names no page of files.trv
    "list-text",           // text Windows-1252 cannot hold
};

// Findings in report order: by rule, then file, then reason.
void sortFindings(std::vector<Finding>& findings);

// What GStreamer's discoverer found in a media file.
struct MediaInfo {
    bool decodes = false;
    bool video = false; // it holds a video stream
    bool audio = false; // it holds an audio stream
    QString problem;    // why it does not decode
};

// A course folder as the checker sees it.
struct Course {
    QString folder;  // on disk
    QString address; // the course folder's address (ends in "/trv_cbt/trv2/"), the base of the pages' links
    std::set<QString> files;           // every file under the folder, relative, separated by '/'
    std::map<QString, HtmlPage> pages; // the pages: the ".trv" files directly in the folder, read as
                                       // the word lists read them (readListedPage)
};

// Lists the folder's files; the pages are there, still unread.
Course listCourse(const QString& folder, const QString& address);
// Reads the listed pages, `jobs` at a time.
void readPages(Course& course, int jobs);

// The media file a page name plays, relative to the course folder, for a video or narration
// placeholder; nothing for any other name.
std::optional<QString> mediaOf(QStringView name);

// The media files the course's placeholders play that are there, each once.
std::vector<QString> mediaToDecode(const Course& course);

// The rules on the course folder. `media` holds what was found in the files of mediaToDecode; a file
// it does not hold is not judged (media not decoded at all).
std::vector<Finding> checkCourse(const Course& course, const std::map<QString, MediaInfo>& media);

// The word-list rules on the lists in `listsFolder`.
std::vector<Finding> checkLists(const Course& course, const QString& listsFolder);

// Why the viewer would take the page `name` for another kind of page than its author likely meant, or
// nothing. `mediaThere`: the media file it would play (if it is a video or narration placeholder) exists.
std::optional<QString> misnamed(const QString& name, bool mediaThere);

} // namespace torvane::tools::check
