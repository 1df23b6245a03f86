// A second copy's command line (arbitrary UTF-8), the path buffer it hands to a tool, and the popup's
// window for the sizes it names.

#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <check.h>
#include <cmath>
#include <courselists/ansitext.h>
#include <cstddef>
#include <cstdint>
#include <secondcopy/commandline.h>

using namespace torvane;
using secondcopy::JobKind;

namespace {

const QString kLocn = QStringLiteral("http://course.example:8080/trv_cbt/trv2/");

// `path` stays inside a folder it is appended to, whichever separator it uses.
bool staysInside(const QString& path) {
    const QString root = QStringLiteral("/course/trv_cbt/trv2/");
    const QString joined = QDir::cleanPath(root + QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    return (joined + QLatin1Char('/')).startsWith(root) && !path.contains(QLatin1Char(':')) &&
           !path.contains(QChar(0));
}

// `path`, appended to the course folder's address, reaches a file on the course's own server, whichever
// separator it uses, and names no other kind of address.
bool staysOnServer(const QString& path) {
    const QUrl joined(kLocn + QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    return joined.isValid() && joined.scheme() == QLatin1String("http") &&
           joined.host() == QLatin1String("course.example") && joined.port() == 8080 &&
           !path.contains(QLatin1Char(':')) && !path.contains(QChar(0));
}

void checkPathBuffer(const QString& path) {
    const QByteArray buffer = secondcopy::pathBuffer(path);
    FUZZ_CHECK(buffer.size() == secondcopy::kPathBufferSize, QString::number(buffer.size()));
    const qsizetype copied = std::min<qsizetype>(path.size(), secondcopy::kPathBufferSize);
    for (qsizetype i = 0; i < buffer.size(); ++i) {
        const char expected = i < copied ? courselists::ansiByte(path[i]).value_or('?') : '\0';
        FUZZ_CHECK(buffer[i] == expected, QStringLiteral("byte %1 of %2").arg(i).arg(fuzz::shown(path)));
    }
}

struct Screen {
    int widthPixels;
    int heightPixels;
    double twipsPerPixelX;
    double twipsPerPixelY;
};
constexpr Screen kScreens[] = {
    {1280, 800, 15, 15},    {1920, 1080, 15, 15}, {800, 600, 12, 12},
    {3840, 2160, 7.5, 7.5}, {1024, 768, 15, 20},
};

void checkGeometry(int widthPixels, int heightPixels) {
    for (const Screen& s : kScreens) {
        const QSize screenTwips(static_cast<int>(std::lround(s.widthPixels * s.twipsPerPixelX)),
                                static_cast<int>(std::lround(s.heightPixels * s.twipsPerPixelY)));
        const QPoint pointers[] = {{0, 0},
                                   {s.widthPixels / 2, s.heightPixels / 2},
                                   {s.widthPixels - 1, s.heightPixels - 1},
                                   {s.widthPixels + 400, s.heightPixels + 400},
                                   {-300, -300}};
        for (const QPoint pointer : pointers) {
            const secondcopy::PopupGeometry g = secondcopy::popupGeometry(
                widthPixels, heightPixels, pointer, screenTwips, s.twipsPerPixelX, s.twipsPerPixelY);
            const QString where = QStringLiteral("%1x%2 at %3,%4 on %5x%6")
                                      .arg(widthPixels)
                                      .arg(heightPixels)
                                      .arg(pointer.x())
                                      .arg(pointer.y())
                                      .arg(s.widthPixels)
                                      .arg(s.heightPixels);
            FUZZ_CHECK(g.widthTwips >= 700 && g.heightTwips >= 300, where);
            FUZZ_CHECK(std::abs(g.widthTwips - (widthPixels * s.twipsPerPixelX + 700)) <= 0.5, where);
            FUZZ_CHECK(std::abs(g.heightTwips - (heightPixels * s.twipsPerPixelY + 300)) <= 0.5, where);
            // At the pointer when it fits (exactly fitting included), else 200 twips inside the edge.
            const int left = static_cast<int>(std::lround(pointer.x() * s.twipsPerPixelX));
            const int top = static_cast<int>(std::lround(pointer.y() * s.twipsPerPixelY));
            if (left + g.widthTwips <= screenTwips.width()) {
                FUZZ_CHECK(g.leftTwips == left, where);
            } else {
                FUZZ_CHECK(g.leftTwips + g.widthTwips == screenTwips.width() - 200, where);
            }
            if (top + g.heightTwips <= screenTwips.height()) {
                FUZZ_CHECK(g.topTwips == top, where);
            } else {
                FUZZ_CHECK(g.topTwips + g.heightTwips == screenTwips.height() - 200, where);
            }
        }
    }
}

void checkJob(const QString& line, const secondcopy::SecondCopyJob& job) {
    static const QRegularExpression plainName(QStringLiteral("\\A[A-Za-z0-9_-]+\\z"));
    FUZZ_CHECK((job.kind == JobKind::BringViewerToFront) == line.isEmpty(), fuzz::shown(line));
    switch (job.kind) {
    case JobKind::Popup:
        FUZZ_CHECK(line.startsWith(QStringLiteral("/POPJPG=") + job.popFile), fuzz::shown(line));
        FUZZ_CHECK(!job.popFile.isEmpty() && staysOnServer(job.popFile), fuzz::shown(job.popFile));
        // The picture's name goes into an address, where a browser reads "%2e" as a dot.
        FUZZ_CHECK(staysOnServer(QUrl::fromPercentEncoding(job.popFile.toUtf8())), fuzz::shown(job.popFile));
        FUZZ_CHECK(!job.popFile.startsWith(QLatin1Char('/')) && !job.popFile.startsWith(QLatin1Char('\\')),
                   fuzz::shown(job.popFile));
        FUZZ_CHECK(job.widthPixels >= 0 && job.heightPixels >= 0, fuzz::shown(line));
        FUZZ_CHECK(line.contains(QStringLiteral("/W")) && line.contains(QStringLiteral("/H")),
                   fuzz::shown(line));
        checkGeometry(job.widthPixels, job.heightPixels);
        break;
    case JobKind::ChapterTest:
        FUZZ_CHECK(line.startsWith(QStringLiteral("/PRAC=")), fuzz::shown(line));
        FUZZ_CHECK(plainName.match(job.testName).hasMatch(), fuzz::shown(job.testName));
        FUZZ_CHECK(line.contains(job.testName), fuzz::shown(line));
        break;
    case JobKind::SolidraHandOff:
        FUZZ_CHECK(line.endsWith(QStringLiteral(".cir")) || line.endsWith(QStringLiteral(".prb")),
                   fuzz::shown(line));
        FUZZ_CHECK(job.writeRequestCode, fuzz::shown(line));
        FUZZ_CHECK(staysInside(line) && !line.startsWith(QLatin1Char('/')), fuzz::shown(line));
        break;
    case JobKind::KirvoltHandOff:
        FUZZ_CHECK(line.endsWith(QStringLiteral(".ckt")) || line == QStringLiteral("trv0000"),
                   fuzz::shown(line));
        FUZZ_CHECK(job.writeRequestCode == (line != QStringLiteral("trv0000")), fuzz::shown(line));
        FUZZ_CHECK(staysInside(line) && !line.startsWith(QLatin1Char('/')), fuzz::shown(line));
        break;
    case JobKind::BringViewerToFront:
    case JobKind::Nothing:
        break;
    }
    // The rows are compared with their letter case: a line that is not exactly "/POPJPG=..." is no popup.
    if (job.kind == JobKind::Popup || job.kind == JobKind::ChapterTest) {
        FUZZ_CHECK(line.startsWith(QLatin1Char('/')), fuzz::shown(line));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const secondcopy::SecondCopyJob job = secondcopy::parseCommandLine(line, kLocn);
    checkJob(line, job);
    checkPathBuffer(line);
    checkPathBuffer(QStringLiteral("/home/learner/.local/share/Parlenta/Kirvolt/TRV_CKTS/") + line);
    return 0;
}
