#include <QRegularExpression>
#include <QUrl>
#include <cmath>
#include <courselists/ansitext.h>
#include <courselists/recordreader.h>
#include <secondcopy/commandline.h>

namespace torvane::secondcopy {

namespace {

const QString kPopup = QStringLiteral("/POPJPG=");
const QString kPractice = QStringLiteral("/PRAC=");
constexpr int kMaxPopupPixels = 32767;

// The 1-based characters [start, start + length) of `text`; out-of-range parts are simply absent.
QString mid(const QString& text, qsizetype start, qsizetype length = -1) {
    return text.mid(start - 1, length);
}

// A whole number of pixels written at the start of `text`, or -1.
int pixels(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 && value <= kMaxPopupPixels ? value : -1;
}

bool climbsOut(const QString& path) {
    const QStringList parts =
        QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    return parts.contains(QStringLiteral(".."));
}

bool isAbsoluteOrRemote(const QString& path) {
    return path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')) ||
           path.contains(QLatin1Char(':'));
}

bool isSafeRelativePath(const QString& path) {
    return !path.isEmpty() && !isAbsoluteOrRemote(path) && !climbsOut(path) && !path.contains(QChar(0));
}

bool isRelativeName(const QString& path) {
    return !path.isEmpty() && !isAbsoluteOrRemote(path) && !path.contains(QChar(0));
}

// A popup picture is appended to the course address, and the browser reads "%2e" as a dot and "\" as
// "/" there. The name must be a relative name both as written and percent-decoded, and the address it
// comes to, once the browser has taken its "." and ".." steps, must lie on the course's own server.
bool isSafePicturePath(const QString& path, const QString& fileLocn) {
    if (!isRelativeName(path) || !isRelativeName(QUrl::fromPercentEncoding(path.toUtf8()))) {
        return false;
    }
    const QUrl course(fileLocn, QUrl::StrictMode);
    const QUrl picture = pictureAddress(fileLocn, path);
    return course.isValid() && picture.isValid() && picture.scheme() == course.scheme() &&
           picture.host() == course.host() && picture.port() == course.port();
}

SecondCopyJob popupJob(const QString& line, const QString& fileLocn) {
    if (!line.contains(QStringLiteral("/W")) || !line.contains(QStringLiteral("/H"))) {
        return {};
    }
    const qsizetype pW = line.indexOf(QStringLiteral("/W")) + 1;
    const qsizetype pH = line.indexOf(QStringLiteral("/H")) + 1;
    if (pW < 10 || pH - pW - 4 < 0) {
        return {}; // the parts overlap: no file, or no width between "/W" and "/H"
    }
    SecondCopyJob job;
    job.popFile = mid(line, 9, pW - 10);
    job.widthPixels = pixels(mid(line, pW + 3, pH - pW - 4));
    job.heightPixels = pixels(mid(line, pH + 3));
    if (!isSafePicturePath(job.popFile, fileLocn) || job.widthPixels < 0 || job.heightPixels < 0) {
        return {};
    }
    job.kind = JobKind::Popup;
    return job;
}

SecondCopyJob practiceJob(const QString& line) {
    static const QRegularExpression plainName(QStringLiteral("\\A[A-Za-z0-9_-]+\\z"));
    SecondCopyJob job;
    // Spaces only: a TAB or a line break around the name is part of it, and makes it no plain name.
    job.testName = courselists::trimSpaces(mid(line, 7)).toString();
    if (plainName.match(job.testName).hasMatch()) {
        job.kind = JobKind::ChapterTest;
    }
    return job;
}

SecondCopyJob handOffJob(const QString& line, JobKind kind) {
    SecondCopyJob job;
    if (isSafeRelativePath(line)) {
        job.kind = kind;
        job.writeRequestCode = line != QStringLiteral("trv0000");
    }
    return job;
}

} // namespace

QUrl pictureAddress(const QString& fileLocn, const QString& popFile) {
    const QString decoded =
        QUrl::fromPercentEncoding(popFile.toUtf8()).replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QUrl(fileLocn + decoded).adjusted(QUrl::NormalizePathSegments);
}

SecondCopyJob parseCommandLine(const QString& line, const QString& fileLocn) {
    if (line.isEmpty()) {
        return {JobKind::BringViewerToFront};
    }
    if (line.left(8) == kPopup) {
        return popupJob(line, fileLocn);
    }
    if (line.left(6) == kPractice) {
        return practiceJob(line);
    }
    const QString ending = line.right(4);
    if (ending == QStringLiteral(".cir") || ending == QStringLiteral(".prb")) {
        return handOffJob(line, JobKind::SolidraHandOff);
    }
    if (ending == QStringLiteral(".ckt") || line == QStringLiteral("trv0000")) {
        return handOffJob(line, JobKind::KirvoltHandOff);
    }
    return {};
}

QByteArray pathBuffer(const QString& path) {
    QByteArray buffer = courselists::toAnsi(QStringView(path).left(kPathBufferSize));
    buffer.append(QByteArray(kPathBufferSize - buffer.size(), '\0'));
    return buffer;
}

PopupGeometry popupGeometry(int widthPixels, int heightPixels, QPoint pointerPixels, QSize screenTwips,
                            double twipsPerPixelX, double twipsPerPixelY) {
    PopupGeometry g;
    g.widthTwips = static_cast<int>(std::lround(widthPixels * twipsPerPixelX + 700));
    g.heightTwips = static_cast<int>(std::lround(heightPixels * twipsPerPixelY + 300));
    g.topTwips = static_cast<int>(std::lround(pointerPixels.y() * twipsPerPixelY));
    g.leftTwips = static_cast<int>(std::lround(pointerPixels.x() * twipsPerPixelX));
    if (screenTwips.height() < g.topTwips + g.heightTwips) {
        g.topTwips = screenTwips.height() - g.heightTwips - 200;
    }
    if (screenTwips.width() < g.leftTwips + g.widthTwips) {
        g.leftTwips = screenTwips.width() - g.widthTwips - 200;
    }
    return g;
}

} // namespace torvane::secondcopy
