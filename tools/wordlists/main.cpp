// trvwordlists: builds the word lists "files.trv" and "words.trv" of a course folder for the viewer's
// search, index and history windows.
//
//     trvwordlists COURSE_FOLDER OUTPUT_FOLDER

#include "wordlistbuilder.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr,
                     "usage: trvwordlists COURSE_FOLDER OUTPUT_FOLDER\n"
                     "Writes OUTPUT_FOLDER/files.trv and OUTPUT_FOLDER/words.trv for the course's pages.\n");
        return 2;
    }
    QStringList report;
    if (const std::optional<QString> error = torvane::tools::writeWordLists(args[1], args[2], report)) {
        std::fprintf(stderr, "trvwordlists: %s; nothing written\n", qPrintable(*error));
        return 1;
    }
    for (const QString& line : report) {
        std::printf("trvwordlists: %s\n", qPrintable(line));
    }
    return 0;
}
