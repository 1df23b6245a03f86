// The page-name grammar on arbitrary names (UTF-8), at every screen size class and beyond.

#include <check.h>
#include <cstddef>
#include <cstdint>
#include <router/moduletable.h>
#include <router/pagenames.h>

using namespace torvane;
using router::PageClass;
using router::ScreenSize;

namespace {

const QString kFileLocn = QStringLiteral("http://127.0.0.1:8080/trv_cbt/trv2/");
constexpr ScreenSize kSizes[] = {INT16_MIN, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, INT16_MAX};

void checkModuleAndCaption(const QString& name) {
    const std::optional<int> module = router::moduleNumber(name);
    const QString caption = router::caption(name);
    if (module) {
        FUZZ_CHECK(*module >= 0 && *module <= 99, fuzz::shown(name));
        FUZZ_CHECK(caption == QStringLiteral("Torvane - Module ") + QString::number(*module),
                   fuzz::shown(name));
        FUZZ_CHECK(name.startsWith(QStringLiteral("tr")) || name.startsWith(QStringLiteral("mod")) ||
                       name.startsWith(QStringLiteral("obj")) || name.startsWith(QStringLiteral("rev")),
                   fuzz::shown(name));
    } else {
        FUZZ_CHECK(caption == QStringLiteral("Torvane"), fuzz::shown(name));
    }
}

void checkClass(const QString& name) {
    const PageClass pageClass = router::classify(name);
    const std::optional<QString> video = router::videoAddress(kFileLocn, name);
    const std::optional<QString> narration = router::narrationAddress(kFileLocn, name);

    FUZZ_CHECK((pageClass == PageClass::Video) == video.has_value(), fuzz::shown(name));
    if (video) {
        FUZZ_CHECK(video->startsWith(kFileLocn) && video->endsWith(QStringLiteral(".avi")),
                   fuzz::shown(*video));
    }
    // Every "v..." name that is no video is a narration page; narrationAddress answers for all "v..." names.
    FUZZ_CHECK(narration.has_value() == name.startsWith(QLatin1Char('v')), fuzz::shown(name));
    FUZZ_CHECK(pageClass != PageClass::Narration || narration.has_value(), fuzz::shown(name));
    if (narration) {
        FUZZ_CHECK(narration->startsWith(kFileLocn) && narration->endsWith(QStringLiteral(".wav")),
                   fuzz::shown(*narration));
    }

    FUZZ_CHECK((pageClass == PageClass::ModulePlaceholder) ==
                   (router::isPlaceholder(name) && !name.startsWith(QLatin1Char('v'))),
               fuzz::shown(name));
    if (pageClass == PageClass::ModulePlaceholder) {
        const std::optional<QString> base = router::placeholderBase(name);
        FUZZ_CHECK(base && base->size() == 5, fuzz::shown(name));
        FUZZ_CHECK(router::moduleNumber(*base) == router::moduleNumber(name), fuzz::shown(name));
    }
    if (pageClass == PageClass::Contents || pageClass == PageClass::SecondContents) {
        FUZZ_CHECK(router::isContentsPage(name) || router::isSecondContentsPage(name), fuzz::shown(name));
        FUZZ_CHECK(!router::moduleNumber(name).has_value(), fuzz::shown(name));
    }
    FUZZ_CHECK(!(router::isContentsPage(name) && router::isSecondContentsPage(name)), fuzz::shown(name));
    if (router::isContentsPage(name)) {
        FUZZ_CHECK(name.size() == 8, fuzz::shown(name));
    }
    if (router::isSecondContentsPage(name)) {
        FUZZ_CHECK(name.size() == 10, fuzz::shown(name));
    }
}

void checkVariants(const QString& name) {
    for (const ScreenSize size : kSizes) {
        const bool inRange = size >= 1 && size <= 7;
        const QChar letter = router::letterOrA(size);
        FUZZ_CHECK(letter >= QLatin1Char('a') && letter <= QLatin1Char('g'), QString::number(size));
        FUZZ_CHECK(router::variantLetter(size).has_value() == inRange, QString::number(size));

        const std::optional<QString> variant = router::variantPageName(name, size);
        FUZZ_CHECK(variant.has_value() == inRange, QString::number(size));
        if (variant) {
            FUZZ_CHECK(*variant == name + letter + QStringLiteral(".trv"), fuzz::shown(*variant));
        }
        // Whatever the size, the contents pages are pages of their own class.
        FUZZ_CHECK(router::classify(router::contentsPage(size)) == PageClass::Contents,
                   QString::number(size));
        FUZZ_CHECK(router::classify(router::secondContentsPage(size)) == PageClass::SecondContents,
                   QString::number(size));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkModuleAndCaption(name);
    checkClass(name);
    checkVariants(name);
    return 0;
}
