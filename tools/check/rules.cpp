// The rules on the course folder itself: which pages must be there, where their toolbar links lead,
// whether their media play, whether every page can be reached, and whether the viewer reads each name
// as the kind of page it was meant to be.

#include "coursecheck.h"

#include <QRegularExpression>
#include <deque>
#include <router/courselocation.h>
#include <router/moduletable.h>
#include <router/navigation.h>
#include <router/pagenames.h>

namespace torvane::tools::check {

namespace {

using router::PageClass;

constexpr char kLetters[] = "abcdefg";
constexpr int kSizeClasses = 7;

QString variant(const QString& base, int sizeClass) {
    return base + QLatin1Char(kLetters[sizeClass - 1]) + QStringLiteral(".trv");
}

QString sizeClassText(int sizeClass) {
    return QStringLiteral("size class %1 (%2)").arg(sizeClass).arg(QLatin1Char(kLetters[sizeClass - 1]));
}

// Where a link of a page leads, seen from the course folder.
struct Target {
    enum Kind { Foreign, Outside, Inside } kind = Foreign;
    QString name; // Inside: the page name the viewer reads (the address after the course folder's)
    QString file; // Inside: the file the address loads, relative to the course folder
};

Target targetOf(const QString& link, const QString& address) {
    if (!router::followable(link)) {
        return {};
    }
    if (!link.startsWith(address)) {
        return {Target::Outside, {}, {}};
    }
    const QString name = link.mid(address.size());
    qsizetype end = name.indexOf(QLatin1Char('?'));
    const qsizetype hash = name.indexOf(QLatin1Char('#'));
    if (end < 0 || (hash >= 0 && hash < end)) {
        end = hash;
    }
    return {Target::Inside, name, QUrl::fromPercentEncoding((end < 0 ? name : name.left(end)).toUtf8())};
}

// The kind of page, with its article.
QString describe(PageClass pageClass) {
    switch (pageClass) {
    case PageClass::Video:
        return QStringLiteral("a video placeholder");
    case PageClass::Narration:
        return QStringLiteral("a narration placeholder");
    case PageClass::ModulePage:
        return QStringLiteral("a module page");
    case PageClass::SearchWindow:
    case PageClass::IndexWindow:
    case PageClass::HistoryWindow:
        return QStringLiteral("a window placeholder");
    case PageClass::Contents:
        return QStringLiteral("a contents page");
    case PageClass::SecondContents:
        return QStringLiteral("a second contents page");
    case PageClass::ModulePlaceholder:
        return QStringLiteral("a module placeholder");
    case PageClass::Ordinary:
        break;
    }
    return QStringLiteral("an ordinary page");
}

// The name a resize of the window to `sizeClass` loads in place of `name`.
QString resized(const QString& name, int sizeClass = 1) {
    const QString address = QString::fromLatin1(router::kBundledCourseUrl);
    return router::resizeAddress(address + name, address, static_cast<router::ScreenSize>(sizeClass))
        .mid(address.size());
}

bool isCourseWideVariant(const QString& name) {
    static const QRegularExpression shape(QStringLiteral("^trv(prac|summ|tech|tvid)[a-g]\\.trv$"));
    return shape.match(name).hasMatch();
}

// The modules of the module page table that have a page in the course (a course page "trMM....", a
// module page "modMM?", "objMM?" or "revMM?").
std::set<int> modulesOf(const Course& course) {
    std::set<int> modules;
    for (const auto& [name, page] : course.pages) {
        const std::optional<int> module = router::moduleNumber(name);
        if (module && *module >= 1 && *module <= router::kModuleCount) {
            modules.insert(*module);
        }
    }
    return modules;
}

void contentsRule(const Course& course, std::vector<Finding>& out) {
    for (int size = 1; size <= kSizeClasses; ++size) {
        for (const auto& [base, what] :
             {std::pair{"trv", "contents page"}, std::pair{"trvcr", "second contents page"}}) {
            const QString name = variant(QString::fromLatin1(base), size);
            if (course.pages.count(name) == 0) {
                out.push_back({QStringLiteral("contents-missing"), name,
                               QStringLiteral("the %1 of %2 is missing")
                                   .arg(QLatin1String(what), sizeClassText(size))});
            }
        }
    }
}

void variantRule(const Course& course, const std::set<int>& modules, std::vector<Finding>& out) {
    const std::pair<const char*, const char*> kinds[] = {
        {"mod", "first page"}, {"obj", "objectives page"}, {"rev", "review page"}};
    for (const int module : modules) {
        for (const auto& [prefix, what] : kinds) {
            const QString base =
                QLatin1String(prefix) + QStringLiteral("%1").arg(module, 2, 10, QLatin1Char('0'));
            for (int size = 1; size <= kSizeClasses; ++size) {
                const QString name = variant(base, size);
                if (course.pages.count(name) == 0) {
                    out.push_back({QStringLiteral("variant-missing"), name,
                                   QStringLiteral("module %1's %2 has no variant for %3")
                                       .arg(module)
                                       .arg(QLatin1String(what), sizeClassText(size))});
                }
            }
        }
    }
    for (const char* family : {"trvprac", "trvsumm", "trvtech", "trvtvid"}) {
        const QString base = QString::fromLatin1(family);
        std::vector<int> missing;
        for (int size = 1; size <= kSizeClasses; ++size) {
            if (course.pages.count(variant(base, size)) == 0) {
                missing.push_back(size);
            }
        }
        if (missing.size() == static_cast<std::size_t>(kSizeClasses)) {
            continue; // the course has no such page at all
        }
        for (const int size : missing) {
            out.push_back({QStringLiteral("variant-missing"), variant(base, size),
                           QStringLiteral("%1 has variants, but none for %2, which a resize loads")
                               .arg(base, sizeClassText(size))});
        }
    }
}

void placeholderRule(const Course& course, const std::set<int>& modules, std::vector<Finding>& out) {
    for (const router::PlaceholderRow& row : router::kPlaceholderRows) {
        const QString name = QString::fromLatin1(row.name.data());
        if (modules.count(row.module) != 0 && course.pages.count(name) == 0) {
            out.push_back({QStringLiteral("placeholder-missing"), name,
                           QStringLiteral("module %1 has pages, but not this placeholder, which the viewer "
                                          "turns into %2?.trv")
                               .arg(row.module)
                               .arg(QString::fromLatin1(row.base.data()))});
        }
    }
}

QString linkRole(int index) {
    switch (index) {
    case 0:
        return QStringLiteral("link 0 (Section)");
    case 1:
        return QStringLiteral("link 1 (<<)");
    case 2:
        return QStringLiteral("link 2 (>>)");
    default:
        return QStringLiteral("link %1 (to the contents page)").arg(index);
    }
}

void navigationRule(const Course& course, std::vector<Finding>& out) {
    for (const auto& [name, page] : course.pages) {
        const router::PageDecision decision = router::decidePage(course.address + name, course.address);
        const auto has = [&](router::Step step) {
            return std::find(decision.steps.begin(), decision.steps.end(), step) != decision.steps.end();
        };
        if (!has(router::Step::KeepLinks) && !has(router::Step::ShowPage) &&
            !has(router::Step::ContentsRedirect)) {
            continue; // video, narration and window placeholders: their links count for nothing
        }
        std::vector<int> needed = {0, 1, 2};
        if (has(router::Step::ContentsRedirect)) {
            needed.push_back(5);
        }
        QStringList absent;
        for (const int index : needed) {
            if (index >= page.links.size()) {
                absent << linkRole(index);
                continue;
            }
            const QString& link = page.links[index];
            const Target target = targetOf(link, course.address);
            QString problem;
            if (target.kind == Target::Foreign) {
                problem = QStringLiteral(
                              "is %1, not an address of the course's kinds: the viewer does not follow it")
                              .arg(link);
            } else if (target.kind == Target::Outside) {
                problem = QStringLiteral("leads outside the course folder %1: %2").arg(course.address, link);
            } else if (course.files.count(target.file) == 0) {
                problem = QStringLiteral("leads to %1, which is not there").arg(target.name);
            }
            if (!problem.isEmpty()) {
                out.push_back(
                    {QStringLiteral("nav-link"), name, linkRole(index) + QLatin1Char(' ') + problem});
            }
        }
        if (!absent.isEmpty()) {
            out.push_back(
                {QStringLiteral("nav-link"), name,
                 QStringLiteral("has %1 link(s); missing: %2, so the toolbar keeps the last page's target")
                     .arg(page.links.size())
                     .arg(absent.join(QStringLiteral(", ")))});
        }
    }
}

void mediaRules(const Course& course, const std::map<QString, MediaInfo>& media, std::vector<Finding>& out) {
    for (const auto& [name, page] : course.pages) {
        const std::optional<QString> file = mediaOf(name);
        if (!file) {
            continue;
        }
        const bool narration = router::classify(name) == PageClass::Narration;
        if (course.files.count(*file) == 0) {
            if (!misnamed(name, false)) {
                out.push_back({QStringLiteral("media-missing"), name,
                               QStringLiteral("plays %1, which is not there").arg(*file)});
            }
            continue;
        }
        const auto it = media.find(*file);
        if (it == media.end()) {
            continue;
        }
        const MediaInfo& info = it->second;
        QString problem;
        if (!info.decodes) {
            problem = QStringLiteral("does not decode: %1").arg(info.problem);
        } else if (narration ? !info.audio : !info.video) {
            problem = narration ? QStringLiteral("holds no sound") : QStringLiteral("holds no video");
        }
        if (!problem.isEmpty()) {
            out.push_back({QStringLiteral("media-undecodable"), name,
                           QStringLiteral("plays %1, which %2").arg(*file, problem)});
        }
    }
}

void reachRule(const Course& course, std::vector<Finding>& out) {
    std::set<QString> reached;
    std::deque<QString> queue;
    const auto reach = [&](const QString& file) {
        if (course.pages.count(file) == 0 || !reached.insert(file).second) {
            return;
        }
        queue.push_back(file);
        // A resize of the window loads the page's variant of each size class.
        for (int size = 1; size <= kSizeClasses; ++size) {
            const QString other = resized(file, size);
            if (course.pages.count(other) != 0 && reached.insert(other).second) {
                queue.push_back(other);
            }
        }
    };
    for (int size = 1; size <= kSizeClasses; ++size) {
        reach(router::contentsPage(static_cast<router::ScreenSize>(size)));
    }
    if (reached.empty()) {
        return; // no contents page at all: the contents rule says so, and every page would be unreached
    }
    while (!queue.empty()) {
        const QString current = queue.front();
        queue.pop_front();
        for (const QString& link : course.pages.at(current).links) {
            const Target target = targetOf(link, course.address);
            if (target.kind != Target::Inside) {
                continue;
            }
            reach(target.file);
            // A placeholder leads to its module page of every size class (also one that is missing
            // itself: that is the placeholder rule's finding).
            if (const std::optional<QString> base = router::placeholderBase(target.file)) {
                for (int size = 1; size <= kSizeClasses; ++size) {
                    reach(variant(*base, size));
                }
            }
        }
    }
    for (const auto& [name, page] : course.pages) {
        if (reached.count(name) == 0) {
            out.push_back({QStringLiteral("unreached"), name,
                           QStringLiteral("no chain of links leads here from the contents pages")});
        }
    }
}

void classRule(const Course& course, std::vector<Finding>& out) {
    for (const auto& [name, page] : course.pages) {
        const std::optional<QString> file = mediaOf(name);
        if (const std::optional<QString> reason = misnamed(name, file && course.files.count(*file) != 0)) {
            out.push_back({QStringLiteral("page-class"), name, *reason});
        }
        // A query or fragment after a name makes it another name to the viewer.
        std::set<QString> told;
        for (const QString& link : page.links) {
            const Target target = targetOf(link, course.address);
            if (target.kind != Target::Inside || target.name == target.file ||
                !told.insert(target.name).second) {
                continue;
            }
            const PageClass asLinked = router::classify(target.name);
            const PageClass asFile = router::classify(target.file);
            if (asLinked != asFile) {
                out.push_back({QStringLiteral("page-class"), name,
                               QStringLiteral("links to %1, which the viewer takes for %2, not %3 as %4 is")
                                   .arg(target.name, describe(asLinked), describe(asFile), target.file)});
            }
        }
    }
}

} // namespace

std::optional<QString> misnamed(const QString& name, bool mediaThere) {
    static const QRegularExpression placeholderShape(
        QStringLiteral("^(title\\.trv|fig[0-9]{2}[A-Za-z0-9_]*\\.trv|ttv[A-Za-z0-9]{2}\\.trv|v[0-9]{2}[A-Za-"
                       "z0-9_]*\\.trv)$"));
    static const QRegularExpression modulePageShape(QStringLiteral("^(mod|obj|rev)[0-9]{2}[a-g]\\.trv$"));
    const PageClass pageClass = router::classify(name);

    if (pageClass == PageClass::Video || pageClass == PageClass::Narration) {
        if (mediaThere || placeholderShape.match(name).hasMatch()) {
            return std::nullopt; // a placeholder: the media rules judge it
        }
        const bool narration = pageClass == PageClass::Narration;
        return QStringLiteral("the viewer takes a name beginning \"%1\" for %2: it goes back and plays %3 "
                              "(which is not there) instead of showing the page")
            .arg(narration ? name.left(1) : name.left(3), describe(pageClass),
                 mediaOf(name).value_or(QString()));
    }
    if (pageClass == PageClass::ModulePage && !modulePageShape.match(name).hasMatch()) {
        return QStringLiteral(
                   "the viewer takes a name beginning \"%1\" for a module page: it never records it in "
                   "the history, and a resize loads %2 instead")
            .arg(name.left(3), resized(name));
    }
    const QString lower = name.toLower();
    if (lower != name) {
        const PageClass asLower = router::classify(lower);
        if (asLower != pageClass || router::moduleNumber(lower) != router::moduleNumber(name)) {
            return QStringLiteral(
                       "the viewer tells letter case apart: to it this is %1%2, while %3 would be %4%5")
                .arg(describe(pageClass),
                     router::moduleNumber(name)
                         ? QStringLiteral(" of module %1").arg(*router::moduleNumber(name))
                         : QString(),
                     lower, describe(asLower),
                     router::moduleNumber(lower)
                         ? QStringLiteral(" of module %1").arg(*router::moduleNumber(lower))
                         : QString());
        }
    }
    const bool variantPage = pageClass == PageClass::ModulePage || pageClass == PageClass::Contents ||
                             pageClass == PageClass::SecondContents || isCourseWideVariant(name);
    if (!variantPage) {
        const QString after = resized(name);
        if (after != name) {
            return QStringLiteral(
                       "a resize of the window loads %1 instead: the viewer fits every name holding "
                       "\"mod\", \"obj\", \"rev\", a course-wide or a contents page's name to the screen")
                .arg(after);
        }
    }
    return std::nullopt;
}

std::vector<Finding> checkCourse(const Course& course, const std::map<QString, MediaInfo>& media) {
    std::vector<Finding> out;
    const std::set<int> modules = modulesOf(course);
    contentsRule(course, out);
    variantRule(course, modules, out);
    placeholderRule(course, modules, out);
    navigationRule(course, out);
    mediaRules(course, media, out);
    reachRule(course, out);
    classRule(course, out);
    return out;
}

} // namespace torvane::tools::check
