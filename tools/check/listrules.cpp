// The rules on the word lists "files.trv" and "words.trv": read with the viewer's own readers, and
// compared with the pages they stand for.

#include "coursecheck.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <climits>
#include <courselists/ansitext.h>
#include <courselists/pagelist.h>
#include <courselists/recordreader.h>
#include <courselists/wordlists.h>
#include <search/searchengine.h>
#include <wordlistbuilder.h>

namespace torvane::tools::check {

namespace {

using courselists::kTableCapacity;

const QString kFiles = QString::fromLatin1(courselists::kPageListFileName);
const QString kWords = QString::fromLatin1(courselists::kWordListFileName);

// `text` as files.trv holds it: a character Windows-1252 cannot hold reads back as '?'.
QString asListed(const QString& text) {
    return courselists::fromAnsi(courselists::toAnsi(text));
}

// Bytes Windows-1252 leaves without a character.
bool unassigned(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

void textRule(const QByteArray& bytes, const QString& list, std::vector<Finding>& out) {
    const auto bad = std::find_if(bytes.begin(), bytes.end(), unassigned);
    if (bad != bytes.end()) {
        const auto record = std::count(bytes.begin(), bad, '\r') + 1;
        out.push_back(
            {QStringLiteral("list-text"), list,
             QStringLiteral("record %1 holds the byte 0x%2, which Windows-1252 has no character for")
                 .arg(record)
                 .arg(static_cast<unsigned char>(*bad), 2, 16, QLatin1Char('0'))});
    }
    const auto nonAscii = std::find_if(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) != 0; });
    if (nonAscii == bytes.end()) {
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return;
    }
    const auto c = std::find_if(text.begin(), text.end(), [](QChar ch) { return ch.unicode() >= 0x80; });
    const QString meant(*c);
    out.push_back(
        {QStringLiteral("list-text"), list,
         QStringLiteral("is written in UTF-8, but the viewer reads Windows-1252: \"%1\" shows as \"%2\"")
             .arg(meant, courselists::fromAnsi(meant.toUtf8()))});
}

int countRecords(const QString& text) {
    return courselists::forEachRecord(text, INT_MAX, [](int, QStringView) { return true; }).records;
}

void capacityRule(const QString& text, const QString& list, const char* message, std::vector<Finding>& out) {
    const int records = countRecords(text);
    if (records > kTableCapacity) {
        out.push_back({QStringLiteral("list-capacity"), list,
                       QStringLiteral("holds %1 records; the viewer says \"%2\" and reads the first %3")
                           .arg(records)
                           .arg(QLatin1String(message))
                           .arg(kTableCapacity)});
    }
}

// The page whose title and words stand for each listed page name, as trvwordlists chooses it.
std::map<QString, QString> textSources(const Course& course) {
    QStringList names;
    for (const auto& [name, page] : course.pages) {
        names << name;
    }
    std::map<QString, QString> sources;
    for (const ListedPage& listed : selectPages(names)) {
        sources[listed.name] = listed.textSource;
    }
    return sources;
}

HtmlPage pageOf(const Course& course, const QString& name) {
    if (const auto it = course.pages.find(name); it != course.pages.end()) {
        return it->second;
    }
    QFile file(QDir(course.folder).filePath(name));
    return file.open(QIODevice::ReadOnly) ? readListedPage(file.readAll()) : HtmlPage();
}

void pageListRules(const Course& course, const QString& text, courselists::PageTable& table, int& records,
                   std::vector<Finding>& out) {
    const courselists::ListReadResult read = courselists::readPageList(text, table);
    records = read.records;
    if (read.failed) {
        --records; // the record that stopped the list holds no page
        QString first;
        courselists::forEachRecord(text, read.records, [&](int k, QStringView record) {
            if (k == read.records) {
                first = record.left(record.indexOf(QLatin1Char('\t'))).toString();
            }
            return true;
        });
        out.push_back(
            {QStringLiteral("list-page"), kFiles,
             QStringLiteral("record %1 begins with \"%2\", not a whole number from -32768 to 32767: "
                            "the viewer reads no record from there on")
                 .arg(read.records)
                 .arg(first)});
    }
    const std::map<QString, QString> sources = textSources(course);
    std::set<QString> toldUnencodable;
    for (int k = 1; k <= std::min(records, kTableCapacity); ++k) {
        const QString& file = table.at(k).file;
        if (file.isEmpty()) {
            continue;
        }
        if (course.files.count(file) == 0) {
            out.push_back({QStringLiteral("list-page"), kFiles,
                           QStringLiteral("record %1 names %2, which the course folder does not have")
                               .arg(k)
                               .arg(file)});
            continue;
        }
        const auto source = sources.find(file);
        const QString sourceName = source == sources.end() ? file : source->second;
        const QString& listed = table.at(k).title;
        const QString title = listTitle(pageOf(course, sourceName), file);
        const QString listable = asListed(title);
        // A placeholder's record may also carry the placeholder's own title.
        const bool ownTitle = sourceName != file && asListed(listTitle(pageOf(course, file), file)) == listed;
        if (listable != listed && !ownTitle) {
            out.push_back({QStringLiteral("list-title"), kFiles,
                           QStringLiteral("record %1 titles %2 \"%3\", but its page (%4) says \"%5\"")
                               .arg(k)
                               .arg(file, listed, sourceName, title)});
        }
        if (listable != title && toldUnencodable.insert(sourceName).second) {
            out.push_back(
                {QStringLiteral("list-text"), sourceName,
                 QStringLiteral("its title \"%1\" holds characters Windows-1252 cannot hold; files.trv "
                                "shows \"%2\"")
                     .arg(title, listable)});
        }
    }
}

void wordListRules(const QString& text, const courselists::PageTable& pages, int pageRecords,
                   std::vector<Finding>& out) {
    courselists::WordTable words;
    const courselists::ListReadResult read = courselists::readWordList(text, words);
    for (int k = 1; k <= std::min(read.records, kTableCapacity); ++k) {
        const QString& word = words.at(k).text;
        QStringList pieces = words.at(k).refs.split(QLatin1Char('\t'));
        if (word.isEmpty() && pieces.size() == 1 && pieces.front().isEmpty()) {
            continue; // a record without a TAB stores nothing
        }
        QStringList bad;
        int good = 0;
        for (const QString& piece : pieces) {
            if (courselists::trimSpaces(piece).isEmpty()) {
                continue; // the TAB after the last number leaves an empty piece; the viewer passes over it
            }
            // The piece holds no TAB: the viewer reads one number from it, or none.
            const std::vector<int> value = search::parseReferences(piece);
            if (!value.empty() && value[0] >= 1 && value[0] <= pageRecords &&
                !pages.at(value[0]).file.isEmpty()) {
                ++good;
            } else {
                bad << QStringLiteral("\"%1\"").arg(piece);
            }
        }
        if (!bad.isEmpty()) {
            out.push_back(
                {QStringLiteral("list-reference"), kWords,
                 QStringLiteral("record %1 (%2) refers to %3, which name%4 no page of files.trv (%5 records)")
                     .arg(QString::number(k), word, bad.join(QStringLiteral(", ")),
                          bad.size() == 1 ? QStringLiteral("s") : QString(), QString::number(pageRecords))});
        } else if (good == 0) {
            out.push_back({QStringLiteral("list-reference"), kWords,
                           QStringLiteral("record %1 (%2) refers to no page").arg(QString::number(k), word)});
        }
    }
}

} // namespace

std::vector<Finding> checkLists(const Course& course, const QString& listsFolder) {
    std::vector<Finding> out;
    const QDir dir(listsFolder);
    const std::optional<QByteArray> files = courselists::readWholeFile(dir.filePath(kFiles));
    const std::optional<QByteArray> words = courselists::readWholeFile(dir.filePath(kWords));
    if (!files) {
        out.push_back({QStringLiteral("list-missing"), kFiles,
                       QStringLiteral(
                           "is not there (or cannot be read): the search and history windows know no page")});
    }
    if (!words) {
        out.push_back(
            {QStringLiteral("list-missing"), kWords,
             QStringLiteral("is not there (or cannot be read): the search and index windows know no word")});
    }
    courselists::PageTable pages;
    int pageRecords = 0;
    if (files) {
        textRule(*files, kFiles, out);
        const QString text = courselists::fromAnsi(*files);
        capacityRule(text, kFiles, "Too many files!", out);
        pageListRules(course, text, pages, pageRecords, out);
    }
    if (words) {
        textRule(*words, kWords, out);
        const QString text = courselists::fromAnsi(*words);
        capacityRule(text, kWords, "Too many words!", out);
        if (files) {
            wordListRules(text, pages, std::min(pageRecords, kTableCapacity), out);
        }
    }
    return out;
}

} // namespace torvane::tools::check
