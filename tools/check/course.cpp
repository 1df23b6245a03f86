#include "coursecheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <router/pagenames.h>
#include <thread>
#include <wordlistbuilder.h>

namespace torvane::tools::check {

namespace {

int ruleIndex(const QString& rule) {
    const auto it = std::find_if(std::begin(kRules), std::end(kRules),
                                 [&](const char* r) { return rule == QLatin1String(r); });
    return static_cast<int>(it - std::begin(kRules));
}

} // namespace

void sortFindings(std::vector<Finding>& findings) {
    std::sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        const int ra = ruleIndex(a.rule);
        const int rb = ruleIndex(b.rule);
        if (ra != rb) {
            return ra < rb;
        }
        if (a.file != b.file) {
            return a.file < b.file;
        }
        return a.reason < b.reason;
    });
}

Course listCourse(const QString& folder, const QString& address) {
    Course course;
    course.folder = folder;
    course.address = address;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = root.relativeFilePath(it.next());
        course.files.insert(relative);
        if (!relative.contains(QLatin1Char('/')) && relative.endsWith(QLatin1String(".trv"))) {
            course.pages.emplace(relative, HtmlPage());
        }
    }
    return course;
}

void readPages(Course& course, int jobs) {
    std::vector<std::pair<const QString, HtmlPage>*> pages;
    for (auto& entry : course.pages) {
        pages.push_back(&entry);
    }
    // libxml2 reads separate documents in separate threads; each thread fills the pages it took.
    const QDir root(course.folder);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < pages.size(); i = next++) {
            QFile file(root.filePath(pages[i]->first));
            if (file.open(QIODevice::ReadOnly)) {
                pages[i]->second = readListedPage(file.readAll(), QUrl(course.address + pages[i]->first));
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < jobs; ++t) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& t : threads) {
        t.join();
    }
}

std::optional<QString> mediaOf(QStringView name) {
    switch (router::classify(name)) {
    case router::PageClass::Video:
        return router::videoAddress(u"", name);
    case router::PageClass::Narration:
        return router::narrationAddress(u"", name);
    default:
        return std::nullopt;
    }
}

std::vector<QString> mediaToDecode(const Course& course) {
    std::set<QString> media;
    for (const auto& [name, page] : course.pages) {
        if (const std::optional<QString> file = mediaOf(name); file && course.files.count(*file) != 0) {
            media.insert(*file);
        }
    }
    return {media.begin(), media.end()};
}

} // namespace torvane::tools::check
