// The "TRVwav" block a tool fills with the name of a narration clip: arbitrary bytes, decoded, and the
// address made from a clip that is played.

#include <QUrl>
#include <check.h>
#include <cstddef>
#include <cstdint>
#include <media/narrationrequest.h>
#include <vector>

using namespace torvane;
using media::NarrationKind;

namespace {

const QString kCourseFolders[] = {
    QStringLiteral("http://127.0.0.1:8080/trv_cbt/trv2/"),
    QStringLiteral("torvane://course/trv_cbt/trv2/"),
};

bool sameRequest(const media::NarrationRequest& a, const media::NarrationRequest& b) {
    return a.kind == b.kind && a.clip == b.clip;
}

void checkClipAddress(const QString& clip) {
    for (const QString& fileLocn : kCourseFolders) {
        const QString address = media::narrationClipAddress(fileLocn, clip);
        FUZZ_CHECK(address.startsWith(fileLocn) && address.endsWith(QStringLiteral(".wav")),
                   fuzz::shown(address));
        // Exactly one folder below the course folder, and no segment that moves up or stays put.
        const QStringList segments = address.mid(fileLocn.size()).split(QLatin1Char('/'));
        FUZZ_CHECK(segments.size() == 2, fuzz::shown(address));
        for (const QString& segment : segments) {
            FUZZ_CHECK(segment != QStringLiteral("..") && segment != QStringLiteral("."),
                       fuzz::shown(address));
        }
        const QUrl url(address, QUrl::StrictMode);
        const QUrl base(fileLocn);
        FUZZ_CHECK(url.isValid(), fuzz::shown(address));
        FUZZ_CHECK(url.scheme() == base.scheme() && url.host() == base.host() && url.port() == base.port(),
                   fuzz::shown(address));
        FUZZ_CHECK(url.adjusted(QUrl::NormalizePathSegments).path().startsWith(base.path()),
                   fuzz::shown(address));
        FUZZ_CHECK(!url.hasQuery() && !url.hasFragment(), fuzz::shown(address));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> block(data, size);
    const media::NarrationRequest request = media::decodeNarrationRequest(block);

    FUZZ_CHECK((request.kind == NarrationKind::None) == (size == 0 || data[0] == 0), QString());
    FUZZ_CHECK(!request.clip.startsWith(QLatin1Char(' ')) && !request.clip.endsWith(QLatin1Char(' ')),
               fuzz::shown(request.clip));
    FUZZ_CHECK(!request.clip.contains(QChar(0)), fuzz::shown(request.clip));
    FUZZ_CHECK((request.kind == NarrationKind::Stop) == (request.clip == QStringLiteral("v0000")),
               fuzz::shown(request.clip));

    if (request.kind == NarrationKind::Play) {
        const QString& clip = request.clip;
        FUZZ_CHECK(!clip.isEmpty(), QString());
        FUZZ_CHECK(!clip.contains(QLatin1Char('/')) && !clip.contains(QLatin1Char('\\')), fuzz::shown(clip));
        FUZZ_CHECK(!clip.contains(QStringLiteral("..")) && !clip.contains(QLatin1Char(':')),
                   fuzz::shown(clip));
        for (const QChar c : clip) {
            FUZZ_CHECK(c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_') ||
                                              c == QLatin1Char('-') || c == QLatin1Char('.')),
                       fuzz::shown(clip));
        }
        checkClipAddress(clip);
    }

    // Tools pad the name with zero bytes or spaces: padding an even-sized block changes nothing.
    if (size % 2 == 0 && size > 0) {
        std::vector<std::uint8_t> padded(data, data + size);
        padded.insert(padded.end(), {' ', 0, ' ', 0, 0, 0, 0, 0});
        FUZZ_CHECK(sameRequest(media::decodeNarrationRequest(padded), request), fuzz::shown(request.clip));
    }
    return 0;
}
