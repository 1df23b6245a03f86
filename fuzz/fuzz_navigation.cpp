// What the router decides for a completed document: an arbitrary address and link list (UTF-8; the
// first line is the address, each further line one link), and the address a resize reloads.

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <check.h>
#include <cstddef>
#include <cstdint>
#include <router/moduletable.h>
#include <router/navigation.h>

using namespace torvane;
using router::PageClass;
using router::ScreenSize;
using router::Step;

namespace {

const QString kFileLocn = QStringLiteral("http://127.0.0.1:8080/trv_cbt/trv2/");
const QString kMarker = QStringLiteral("trv2/");
constexpr ScreenSize kSizes[] = {INT16_MIN, 0, 1, 3, 7, 8};

bool has(const std::vector<Step>& steps, Step step) {
    return std::find(steps.begin(), steps.end(), step) != steps.end();
}

void checkDecision(const QString& address) {
    const router::PageDecision d = router::decidePage(address, kFileLocn);
    if (!d.inCourse) {
        FUZZ_CHECK(d.curPage == address && d.steps.empty() && d.caption.isEmpty(), fuzz::shown(address));
        FUZZ_CHECK(!d.module.has_value() && d.mediaAddress.isEmpty(), fuzz::shown(address));
        return;
    }
    // The page name is what follows the first "trv2/", whatever the server part holds.
    const qsizetype marker = address.indexOf(kMarker);
    FUZZ_CHECK(marker >= 0 && address.mid(marker + kMarker.size()) == d.curPage, fuzz::shown(address));
    FUZZ_CHECK(d.pageClass == router::classify(d.curPage), fuzz::shown(address));
    FUZZ_CHECK(d.caption == router::caption(d.curPage) && d.module == router::moduleNumber(d.curPage),
               fuzz::shown(address));
    FUZZ_CHECK(!d.steps.empty(), fuzz::shown(address));
    // A page is recorded only when its links are kept or it is a contents redirect; media pages and
    // window placeholders are stepped back from and never recorded.
    if (has(d.steps, Step::Record)) {
        FUZZ_CHECK(has(d.steps, Step::KeepLinks) || has(d.steps, Step::ContentsRedirect),
                   fuzz::shown(address));
    }
    switch (d.pageClass) {
    case PageClass::Video:
    case PageClass::Narration:
        FUZZ_CHECK(d.mediaAddress.startsWith(kFileLocn), fuzz::shown(d.mediaAddress));
        FUZZ_CHECK(!has(d.steps, Step::Record) && !has(d.steps, Step::KeepLinks), fuzz::shown(address));
        break;
    case PageClass::ModulePlaceholder:
        FUZZ_CHECK(d.steps == std::vector<Step>{Step::ShowPage}, fuzz::shown(address));
        for (const ScreenSize size : kSizes) {
            const QString page = router::modulePageAddress(kFileLocn, d.placeholderBase, size);
            FUZZ_CHECK(page.startsWith(kFileLocn), fuzz::shown(page));
            // The module page is shown, never the placeholder again (no loop).
            FUZZ_CHECK(router::classify(page.mid(kFileLocn.size())) == PageClass::ModulePage,
                       fuzz::shown(page));
        }
        break;
    default:
        FUZZ_CHECK(d.mediaAddress.isEmpty() && d.placeholderBase.isEmpty(), fuzz::shown(address));
        break;
    }
}

void checkLinks(const QStringList& links) {
    const router::LinkTargets before{QStringLiteral("s0"), QStringLiteral("p0"), QStringLiteral("n0")};
    const router::LinkTargets kept = router::keepLinks(before, links);
    const QString* fields[] = {&kept.section, &kept.previous, &kept.next};
    const QString* old[] = {&before.section, &before.previous, &before.next};
    for (qsizetype i = 0; i < 3; ++i) {
        const bool taken = i < links.size() && router::followable(links[i]);
        FUZZ_CHECK(*fields[i] == (taken ? links[i] : *old[i]), QString::number(i));
        // Whatever a page says, a kept target is an address of the course's own kinds.
        const QString scheme = QUrl(*fields[i]).scheme().toLower();
        FUZZ_CHECK(*fields[i] == *old[i] || scheme == QLatin1String("http") ||
                       scheme == QLatin1String("https") || scheme == QLatin1String("torvane"),
                   fuzz::shown(*fields[i]));
    }
}

void checkResize(const QString& address) {
    for (const ScreenSize size : kSizes) {
        const QString once = router::resizeAddress(address, kFileLocn, size);
        if (!address.contains(kMarker)) {
            FUZZ_CHECK(once == address, fuzz::shown(address));
            continue;
        }
        if (once != address) {
            // A rewritten address is the course folder and a page variant of this size.
            FUZZ_CHECK(once.startsWith(kFileLocn), fuzz::shown(once));
            FUZZ_CHECK(once.endsWith(router::letterOrA(size) + QStringLiteral(".trv")), fuzz::shown(once));
        }
        // Resizing again to the same size reloads the same page. (A "mod", "obj" or "rev" with fewer than
        // two characters after it keeps what there is, so such a name, which no course page has, grows.)
        static const QRegularExpression shortKeep(QStringLiteral("/(mod|obj|rev).?[a-g]\\.trv$"));
        if (!shortKeep.match(once).hasMatch()) {
            FUZZ_CHECK(router::resizeAddress(once, kFileLocn, size) == once,
                       fuzz::shown(address) + QStringLiteral(" -> ") + fuzz::shown(once));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList lines = text.split(QLatin1Char('\n'));
    const QString address = lines.takeFirst();
    checkDecision(address);
    checkLinks(lines);
    checkResize(address);
    return 0;
}
