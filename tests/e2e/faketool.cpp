// A stand-in for the circuit simulator or the 3-D laboratory: a window with a given title that talks to
// the viewer through the shared blocks of the runtime folder, as the real tools do.
//
//   faketool --title TEXT      the window's title ("Kirvolt", "Solidra - lab", ...)
//            [--narrate CLIP]  once the window shows, asks the viewer to play CLIP (written into "TRVwav"
//                              as UTF-16LE, zero-padded; byte 0 goes in last, so the request is whole
//                              before it is seen)
//            [--pad-spaces]    pads the narration request with spaces instead of zero bytes
//            [--dump FILE]     appends a line "<KirvoltPrev hex> <KirvoltName hex>" to FILE at start, then
//                              another whenever either block changes
//            [--end FILE]      appends a line with the value of byte 0 of "KirvoltEnd" to FILE at start and
//                              whenever it changes
//
// The blocks are looked at every 20 ms. The program runs until it is killed.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <platform/runtimefolder.h>
#include <platform/sharedblock.h>

namespace {

using torvane::platform::SharedBlock;

SharedBlock openBlock(const QString& folder, const char* name, std::size_t size) {
    auto outcome = SharedBlock::open(folder.toStdString(), name, size);
    if (!outcome.block.isMapped()) {
        std::fprintf(stderr, "faketool: cannot open %s: %s\n", name, outcome.reason.c_str());
    }
    return std::move(outcome.block);
}

QByteArray bytesOf(const SharedBlock& block) {
    const std::vector<std::uint8_t> bytes = block.read(0, block.size());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// One line per report, appended in a single write.
void report(const QString& file, const QByteArray& text) {
    QFile out(file);
    if (out.open(QIODevice::WriteOnly | QIODevice::Append)) {
        out.write(text + '\n');
    }
}

void askForNarration(SharedBlock& trvWav, const QString& clip, char padding) {
    QByteArray request(static_cast<qsizetype>(trvWav.size()), '\0');
    for (qsizetype i = 0; i < request.size(); i += 2) {
        request[i] = padding; // the low byte of a UTF-16LE space, or zero
    }
    for (qsizetype i = 0; i < clip.size() && 2 * i + 1 < request.size(); ++i) {
        request[2 * i] = static_cast<char>(clip[i].unicode() & 0xff);
        request[2 * i + 1] = static_cast<char>(clip[i].unicode() >> 8);
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(request.constData());
    trvWav.writeAndFlush(1, std::span(bytes + 1, static_cast<std::size_t>(request.size() - 1)));
    trvWav.writeAndFlush(0, std::span(bytes, 1));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("window title"),
                                   QStringLiteral("text"));
    const QCommandLineOption narrate(QStringLiteral("narrate"), QStringLiteral("clip to ask for"),
                                     QStringLiteral("clip"));
    const QCommandLineOption dump(QStringLiteral("dump"), QStringLiteral("request report"),
                                  QStringLiteral("file"));
    const QCommandLineOption end(QStringLiteral("end"), QStringLiteral("end flag report"),
                                 QStringLiteral("file"));
    const QCommandLineOption padSpaces(QStringLiteral("pad-spaces"),
                                       QStringLiteral("pad the request with spaces"));
    parser.addOptions({title, narrate, padSpaces, dump, end});
    parser.process(app);

    const auto folder = torvane::platform::runtimeFolder();
    if (!folder.ok()) {
        std::fprintf(stderr, "faketool: %s\n", qPrintable(folder.error));
        return 1;
    }
    SharedBlock trvWav = openBlock(folder.path, "TRVwav", 255);
    SharedBlock kirvoltPrev = openBlock(folder.path, "KirvoltPrev", 1);
    SharedBlock kirvoltEnd = openBlock(folder.path, "KirvoltEnd", 1);
    SharedBlock kirvoltName = openBlock(folder.path, "KirvoltName", 255);

    QLabel window(QStringLiteral("exercise"));
    window.setWindowTitle(parser.value(title));
    window.setGeometry(100, 300, 240, 120); // clear of the companion window's corner of the screen
    window.show();

    if (parser.isSet(narrate)) {
        QTimer::singleShot(
            0, [&] { askForNarration(trvWav, parser.value(narrate), parser.isSet(padSpaces) ? ' ' : '\0'); });
    }

    QByteArray lastRequest;
    QByteArray lastEnd;
    const auto look = [&] {
        if (parser.isSet(dump)) {
            const QByteArray request = bytesOf(kirvoltPrev).toHex() + ' ' + bytesOf(kirvoltName).toHex();
            if (request != lastRequest) {
                lastRequest = request;
                report(parser.value(dump), request);
            }
        }
        if (parser.isSet(end)) {
            const std::vector<std::uint8_t> byte0 = kirvoltEnd.read(0, 1);
            const QByteArray flag = byte0.empty() ? QByteArray("?") : QByteArray::number(byte0[0]);
            if (flag != lastEnd) {
                lastEnd = flag;
                report(parser.value(end), flag);
            }
        }
    };
    look(); // the state the tool finds when it starts
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, look);
    watch.start(20);
    return QApplication::exec();
}
