// trvcheck: checks a course folder, and optionally the word lists beside the viewer, against what the
// viewer relies on. One line per finding (or a JSON array with --json); exit status 0 when there is
// none, 1 when there are findings, 2 when the check cannot run.
//
//     trvcheck [--json] [--course-url URL] [--jobs N] [--media-timeout SECONDS] [--no-media]
//              COURSE_FOLDER [LISTS_FOLDER]

#include "coursecheck.h"
#include "mediaprobe.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <future>
#include <router/courselocation.h>

namespace {

using namespace torvane::tools::check;

constexpr int kClean = 0;
constexpr int kFindings = 1;
constexpr int kCannotRun = 2;

int cannotRun(const QString& why) {
    std::fprintf(stderr, "trvcheck: %s\n", qPrintable(why));
    return kCannotRun;
}

void print(const std::vector<Finding>& findings, bool json) {
    if (json) {
        QJsonArray array;
        for (const Finding& f : findings) {
            array.append(QJsonObject{{"rule", f.rule}, {"file", f.file}, {"reason", f.reason}});
        }
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
        return;
    }
    for (const Finding& f : findings) {
        std::printf("%s: %s: %s\n", qPrintable(f.file), qPrintable(f.rule), qPrintable(f.reason));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trvcheck"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks a Torvane course folder (the folder served at .../trv_cbt/trv2/) and the word lists "
        "files.trv and words.trv in LISTS_FOLDER.\nExit status: 0 no findings, 1 findings, 2 the "
        "check could not run."));
    parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print a JSON array of {rule, file, reason}."));
    const QCommandLineOption courseUrl(
        QStringLiteral("course-url"),
        QStringLiteral("The course folder's address; links elsewhere lead outside it."),
        QStringLiteral("URL"), QString::fromLatin1(torvane::router::kBundledCourseUrl));
    const QCommandLineOption jobs(
        QStringLiteral("jobs"),
        QStringLiteral("Pages read and media decoded N at a time (default: one per processor)."),
        QStringLiteral("N"), QString::number(std::clamp(QThread::idealThreadCount(), 1, 64)));
    const QCommandLineOption mediaTimeout(
        QStringLiteral("media-timeout"),
        QStringLiteral("Time allowed to decode one media file (at least 1)."), QStringLiteral("SECONDS"),
        QStringLiteral("10"));
    const QCommandLineOption noMedia(QStringLiteral("no-media"),
                                     QStringLiteral("Do not decode media files (only look for them)."));
    parser.addOptions({json, courseUrl, jobs, mediaTimeout, noMedia});
    parser.addPositionalArgument(QStringLiteral("COURSE_FOLDER"), QStringLiteral("The course folder."));
    parser.addPositionalArgument(QStringLiteral("LISTS_FOLDER"),
                                 QStringLiteral("The folder of files.trv and words.trv (optional)."),
                                 QStringLiteral("[LISTS_FOLDER]"));
    if (!parser.parse(QCoreApplication::arguments())) {
        return cannotRun(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return kClean;
    }
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty() || args.size() > 2) {
        return cannotRun(QStringLiteral("give a course folder and, optionally, the folder of the word lists "
                                        "(trvcheck --help)"));
    }
    bool ok = false;
    const int jobCount = parser.value(jobs).toInt(&ok);
    if (!ok || jobCount < 1 || jobCount > 64) {
        return cannotRun(QStringLiteral("--jobs takes a whole number from 1 to 64"));
    }
    const double seconds = parser.value(mediaTimeout).toDouble(&ok);
    // GStreamer's discoverer allows no less than a second.
    if (!ok || seconds < 1 || seconds > 3600) {
        return cannotRun(QStringLiteral("--media-timeout takes a number of seconds from 1 to 3600"));
    }
    const QString address = QUrl(parser.value(courseUrl)).toString(QUrl::FullyEncoded);
    if (!torvane::router::isCourseFolderUrl(address)) {
        return cannotRun(QStringLiteral("%1 is not a course folder address (…/trv_cbt/trv2/)").arg(address));
    }
    const QString folder = args[0];
    if (!QFileInfo(folder).isDir()) {
        return cannotRun(QStringLiteral("no course folder %1").arg(folder));
    }
    const QString lists = args.value(1);
    if (!lists.isEmpty() && !QFileInfo(lists).isDir()) {
        return cannotRun(QStringLiteral("no folder %1 for the word lists").arg(lists));
    }
    const bool decode = !parser.isSet(noMedia);
    if (QString error; decode && !startGStreamer(error)) {
        return cannotRun(
            QStringLiteral("GStreamer cannot decode media (%1); --no-media checks without").arg(error));
    }

    Course course = listCourse(QDir(folder).absolutePath(), address);
    // Decoding the media takes longest: it runs while the pages are read.
    std::future<std::map<QString, MediaInfo>> media;
    if (decode) {
        std::vector<QString> paths;
        for (const QString& file : mediaToDecode(course)) {
            paths.push_back(QDir(course.folder).filePath(file));
        }
        media = std::async(std::launch::async, [paths, jobCount, seconds] {
            return decodeMedia(paths, jobCount,
                               std::chrono::milliseconds(static_cast<long long>(seconds * 1000)));
        });
    }
    readPages(course, jobCount);
    std::map<QString, MediaInfo> decoded;
    if (decode) {
        for (auto& [path, info] : media.get()) {
            decoded.emplace(QDir(course.folder).relativeFilePath(path), std::move(info));
        }
    }

    std::vector<Finding> findings = checkCourse(course, decoded);
    if (!lists.isEmpty()) {
        const std::vector<Finding> more = checkLists(course, lists);
        findings.insert(findings.end(), more.begin(), more.end());
    }
    sortFindings(findings);
    print(findings, parser.isSet(json));
    std::fprintf(stderr, "trvcheck: %zu pages, %zu media files decoded: %zu finding%s\n", course.pages.size(),
                 decoded.size(), findings.size(), findings.size() == 1 ? "" : "s");
    return findings.empty() ? kClean : kFindings;
}
