#include "wordlistbuilder.h"

#include "pagetext.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <courselists/ansitext.h>
#include <courselists/recordreader.h>
#include <map>
#include <router/moduletable.h>
#include <router/pagenames.h>
#include <set>

namespace torvane::tools {

namespace {

constexpr char kVariantLetters[] = "abcdefg";

bool codeUnitLess(const QString& a, const QString& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](QChar x, QChar y) { return x.unicode() < y.unicode(); });
}

// The first variant of `base` the folder holds, in letter order.
std::optional<QString> firstVariant(const std::set<QString>& names, const QString& base) {
    for (const char letter : std::string_view(kVariantLetters)) {
        const QString name = base + QLatin1Char(letter) + QStringLiteral(".trv");
        if (names.count(name) != 0) {
            return name;
        }
    }
    return std::nullopt;
}

// A name the lists can carry: Windows-1252 only, and nothing that would break a record or a field.
bool listable(const QString& name) {
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n') &&
               courselists::ansiByte(c).has_value();
    });
}

// Whether a page's named entity is read as its character: Windows-1252 has it, or it is a space, the
// minus sign or an arrow (U+2190..U+2194), signs between words whose names would only be noise words.
bool readAsCharacter(char32_t c) {
    const bool sign =
        c == 0x2002 || c == 0x2003 || c == 0x2009 || c == 0x2212 || (c >= 0x2190 && c <= 0x2194);
    return sign || (c <= 0xFFFF && courselists::ansiByte(QChar(static_cast<char16_t>(c))).has_value());
}

} // namespace

HtmlPage readListedPage(const QByteArray& bytes, const QUrl& address) {
    return readHtmlPage(bytes, address, &readAsCharacter);
}

QString listTitle(const HtmlPage& page, const QString& name) {
    return page.title.isEmpty() ? name : page.title;
}

std::vector<ListedPage> selectPages(const QStringList& pageNames) {
    static const QRegularExpression coursePage(QStringLiteral("^tr[0-9]{6}\\.trv$"));
    static const QRegularExpression courseWide(
        QStringLiteral("^(trvprac|trvsumm|trvtech|trvtvid)[a-g]\\.trv$"));
    const std::set<QString> names(pageNames.begin(), pageNames.end());

    std::vector<ListedPage> pages;
    for (const QString& name : names) {
        if (coursePage.match(name).hasMatch()) {
            ListedPage page{name, name, true};
            if (const std::optional<QString> base = router::placeholderBase(name)) {
                page.textSource = firstVariant(names, *base).value_or(name);
            }
            pages.push_back(page);
        } else if (const QRegularExpressionMatch m = courseWide.match(name); m.hasMatch()) {
            pages.push_back(ListedPage{name, name, firstVariant(names, m.captured(1)) == name});
        } else if (router::isContentsPage(name) || router::isSecondContentsPage(name)) {
            pages.push_back(ListedPage{name, name, false});
        }
    }
    std::sort(pages.begin(), pages.end(),
              [](const ListedPage& a, const ListedPage& b) { return codeUnitLess(a.name, b.name); });
    return pages;
}

BuildResult buildWordLists(const QStringList& pageNames, const PageReader& read) {
    BuildResult result;
    BuiltLists lists;
    std::vector<ListedPage> selected = selectPages(pageNames);
    std::erase_if(selected, [&](const ListedPage& page) {
        if (listable(page.name)) {
            return false;
        }
        lists.warnings << QStringLiteral("%1: left out, the word lists cannot hold its name").arg(page.name);
        return true;
    });
    if (selected.size() > static_cast<std::size_t>(courselists::kTableCapacity)) {
        result.error = QStringLiteral("%1 pages to list, but the viewer reads at most %2 from files.trv")
                           .arg(selected.size())
                           .arg(courselists::kTableCapacity);
        return result;
    }

    std::map<QString, std::vector<int>, decltype(&codeUnitLess)> pagesOf(&codeUnitLess);
    QString files;
    int number = 0;
    for (const ListedPage& page : selected) {
        ++number;
        HtmlPage text;
        if (const std::optional<QByteArray> bytes = read(page.textSource)) {
            text = readListedPage(*bytes);
        } else {
            lists.warnings
                << QStringLiteral("%1: could not be read; listed under its name").arg(page.textSource);
        }
        const QString title = listTitle(text, page.name);
        files += QString::number(number) + QLatin1Char('\t') + page.name + QLatin1Char('\t') + title +
                 QStringLiteral("\r\n");
        if (page.searched) {
            for (const QString& word : indexWords(text.body)) {
                std::vector<int>& numbers = pagesOf[word];
                if (numbers.empty() || numbers.back() != number) {
                    numbers.push_back(number);
                }
            }
        }
    }
    if (pagesOf.size() > static_cast<std::size_t>(courselists::kTableCapacity)) {
        result.error = QStringLiteral("%1 different words, but the viewer reads at most %2 from words.trv")
                           .arg(pagesOf.size())
                           .arg(courselists::kTableCapacity);
        return result;
    }

    QString words;
    for (const auto& [word, numbers] : pagesOf) {
        words += word + QLatin1Char('\t');
        for (const int n : numbers) {
            words += QString::number(n) + QLatin1Char('\t');
        }
        words += QStringLiteral("\r\n");
    }
    lists.files = courselists::toAnsi(files);
    lists.words = courselists::toAnsi(words);
    lists.pageCount = number;
    lists.wordCount = static_cast<int>(pagesOf.size());
    result.lists = std::move(lists);
    return result;
}

std::optional<QString> writeWordLists(const QString& courseFolder, const QString& outFolder,
                                      QStringList& report) {
    const QDir course(courseFolder);
    if (!course.exists()) {
        return QStringLiteral("no course folder %1").arg(courseFolder);
    }
    const QStringList names = course.entryList({QStringLiteral("*.trv")}, QDir::Files, QDir::Name);
    const BuildResult built = buildWordLists(names, [&](const QString& name) -> std::optional<QByteArray> {
        QFile file(course.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return file.readAll();
    });
    if (!built.lists) {
        return built.error;
    }
    if (!QDir().mkpath(outFolder)) {
        return QStringLiteral("cannot make the folder %1").arg(outFolder);
    }
    const QDir out(outFolder);
    for (const auto& [fileName, bytes] : {std::pair{QStringLiteral("files.trv"), built.lists->files},
                                          std::pair{QStringLiteral("words.trv"), built.lists->words}}) {
        QSaveFile file(out.filePath(fileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            return QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        }
    }
    report << QStringLiteral("%1 pages in files.trv, %2 words in words.trv")
                  .arg(built.lists->pageCount)
                  .arg(built.lists->wordCount);
    report << built.lists->warnings;
    return std::nullopt;
}

} // namespace torvane::tools
