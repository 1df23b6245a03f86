#include <QUrl>
#include <router/courselocation.h>
#include <router/moduletable.h>
#include <router/navigation.h>

namespace torvane::router {

namespace {

const QString kCourseMarker = QStringLiteral("trv2/");

std::vector<Step> stepsFor(PageClass pageClass) {
    switch (pageClass) {
    case PageClass::Video:
        return {Step::Video};
    case PageClass::Narration:
        return {Step::Narration};
    case PageClass::ModulePage:
        return {Step::KeepLinks};
    case PageClass::SearchWindow:
    case PageClass::IndexWindow:
    case PageClass::HistoryWindow:
        return {Step::OpenWindow};
    case PageClass::Contents:
        return {Step::KeepLinks, Step::Record};
    case PageClass::SecondContents:
        return {Step::ContentsRedirect, Step::Record};
    case PageClass::ModulePlaceholder:
        return {Step::ShowPage};
    case PageClass::Ordinary:
        return {Step::KeepLinks, Step::Record};
    }
    return {};
}

SecondaryWindow windowFor(PageClass pageClass) {
    switch (pageClass) {
    case PageClass::IndexWindow:
        return SecondaryWindow::Index;
    case PageClass::HistoryWindow:
        return SecondaryWindow::History;
    default:
        return SecondaryWindow::Search;
    }
}

} // namespace

PageDecision decidePage(const QString& locationUrl, const QString& fileLocn) {
    PageDecision decision;
    decision.curPage = locationUrl;
    if (locationUrl.isEmpty() || locationUrl.toUpper() == QStringLiteral("HTTP:///")) {
        return decision;
    }
    const qsizetype marker = locationUrl.indexOf(kCourseMarker);
    if (marker < 0) {
        return decision; // pages outside the course folder are left alone
    }
    decision.inCourse = true;
    decision.curPage = locationUrl.mid(marker + kCourseMarker.size());
    decision.module = moduleNumber(decision.curPage);
    decision.caption = caption(decision.curPage);
    decision.pageClass = classify(decision.curPage);
    decision.steps = stepsFor(decision.pageClass);
    switch (decision.pageClass) {
    case PageClass::Video:
        decision.mediaAddress = videoAddress(fileLocn, decision.curPage).value_or(QString());
        break;
    case PageClass::Narration:
        decision.mediaAddress = narrationAddress(fileLocn, decision.curPage).value_or(QString());
        break;
    case PageClass::ModulePlaceholder:
        decision.placeholderBase = placeholderBase(decision.curPage).value_or(QString());
        break;
    default:
        decision.window = windowFor(decision.pageClass);
        break;
    }
    return decision;
}

bool followable(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String(kCourseScheme) || scheme == QLatin1String("http") ||
           scheme == QLatin1String("https");
}

QString coursePageAddress(const QString& fileLocn, const QString& page) {
    QUrl url(fileLocn, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return {};
    }
    url.setPath(url.path(QUrl::FullyDecoded) + page, QUrl::DecodedMode);
    return url.isValid() ? url.toString(QUrl::FullyEncoded) : QString();
}

LinkTargets keepLinks(const LinkTargets& current, const QStringList& documentLinks) {
    LinkTargets kept = current;
    const auto keep = [&documentLinks](qsizetype index, QString& target) {
        if (documentLinks.size() > index && followable(documentLinks[index])) {
            target = documentLinks[index];
        }
    };
    keep(0, kept.section);
    keep(1, kept.previous);
    keep(2, kept.next);
    return kept;
}

QString modulePageAddress(const QString& fileLocn, const QString& base, ScreenSize screenSize) {
    return fileLocn + base + letterOrA(screenSize) + QStringLiteral(".trv");
}

namespace {

// One rewrite row: a page name holding `marker` becomes `marker`, `keep` characters that follow its
// first occurrence, the variant letter and ".trv".
struct RewriteRow {
    const char* marker;
    int keep;
};
constexpr RewriteRow kRewriteRows[] = {
    {"mod", 2}, {"obj", 2}, {"rev", 2}, {"trvprac", 0}, {"trvsumm", 0}, {"trvtech", 0}, {"trvtvid", 0},
};
constexpr const char* kContentsPages[] = {"trva.trv", "trvb.trv", "trvc.trv", "trvd.trv",
                                          "trve.trv", "trvf.trv", "trvg.trv"};

} // namespace

QString resizeAddress(const QString& address, const QString& fileLocn, ScreenSize screenSize) {
    const qsizetype marker = address.indexOf(kCourseMarker);
    if (marker < 0) {
        return address;
    }
    QString name = address.mid(marker + kCourseMarker.size());
    const QChar letter = letterOrA(screenSize);
    bool rewritten = false;
    for (const RewriteRow& row : kRewriteRows) {
        const QString rowMarker = QString::fromLatin1(row.marker);
        const qsizetype at = name.indexOf(rowMarker);
        if (at >= 0) {
            name = rowMarker + name.mid(at + rowMarker.size(), row.keep) + letter + QStringLiteral(".trv");
            rewritten = true;
        }
    }
    for (const char* contents : kContentsPages) {
        if (name.contains(QString::fromLatin1(contents))) {
            name = contentsPage(screenSize);
            rewritten = true;
            break;
        }
    }
    return rewritten ? fileLocn + name : address;
}

bool resizeReloads(const QString& address) {
    const PageDecision decision = decidePage(address, QString());
    if (!decision.inCourse) {
        return !address.isEmpty();
    }
    switch (decision.pageClass) {
    case PageClass::Video:
    case PageClass::Narration:
    case PageClass::SearchWindow:
    case PageClass::IndexWindow:
    case PageClass::HistoryWindow:
        return false;
    default:
        return true;
    }
}

} // namespace torvane::router
