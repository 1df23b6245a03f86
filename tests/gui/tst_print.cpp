// Printing from the main window, checked in what reaches the printer: the help picture at its natural
// size whatever the printer's resolution, and a page print that fails.
#include "viewerharness.h"

#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTransform>
#include <memory>
#include <optional>

using torvane::shell::frmTRV;
using torvane::shell::ViewerServices;
using torvane::testing::toolbarButton;
using torvane::testing::ViewerHarness;

namespace {

constexpr int kWait = 20000;

std::unique_ptr<QPrinter> pdfPrinter(const QString& path, int dpi) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    if (dpi > 0) {
        printer->setResolution(dpi);
    }
    return printer;
}

// The page content of a PDF as Qt writes it: the one compressed stream that draws an image.
QByteArray pageContent(const QByteArray& pdf) {
    static const QRegularExpression stream(QStringLiteral("stream\\n(.*?)endstream"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression drawsImage(QStringLiteral("/Im\\d+\\s+Do"));
    // The text is matched as Latin-1, one character a byte, so offsets are byte offsets.
    const QString text = QString::fromLatin1(pdf);
    for (auto it = stream.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // qUncompress wants the expected size in front (a hint: it grows the buffer as needed).
        const QByteArray framed =
            QByteArray("\x00\x01\x00\x00", 4) + pdf.mid(m.capturedStart(1), m.capturedLength(1));
        const QByteArray content = qUncompress(framed);
        if (drawsImage.match(QString::fromLatin1(content)).hasMatch()) {
            return content;
        }
    }
    return {};
}

// Where the first image of a page content is drawn, in PDF user space (points, origin bottom left):
// the transformations are followed through the save and restore operators to the image.
std::optional<QRectF> imageRect(const QByteArray& content) {
    std::vector<QTransform> saved;
    QTransform ctm;
    std::vector<double> operands;
    for (const QByteArray& token : content.simplified().split(' ')) {
        bool number = false;
        const double value = token.toDouble(&number);
        if (number) {
            operands.push_back(value);
            continue;
        }
        if (token == "q") {
            saved.push_back(ctm);
        } else if (token == "Q" && !saved.empty()) {
            ctm = saved.back();
            saved.pop_back();
        } else if (token == "cm" && operands.size() >= 6) {
            const double* m = &operands[operands.size() - 6];
            ctm = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]) * ctm;
        } else if (token == "Do") {
            return ctm.mapRect(QRectF(0, 0, 1, 1)); // an image fills the unit square
        }
        operands.clear();
    }
    return std::nullopt;
}

} // namespace

class TestPrint final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void helpPicturePrintsAtItsNaturalSize_data();
    void helpPicturePrintsAtItsNaturalSize();
    void pagePrintThatFailsIsReported();
};

void TestPrint::helpPicturePrintsAtItsNaturalSize_data() {
    QTest::addColumn<int>("dpi");
    QTest::newRow("600 dpi") << 600;
    QTest::newRow("1200 dpi") << 1200;
    QTest::newRow("300 dpi") << 300;
    QTest::newRow("96 dpi, one dot a pixel") << 96;
}

void TestPrint::helpPicturePrintsAtItsNaturalSize() {
    QFETCH(int, dpi);
    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(QStringLiteral("help.pdf"));
    QRectF paintArea; // the printable area of the page, in points from its top-left corner
    ViewerHarness h;
    ViewerServices services = h.services();
    services.printing.defaultPrinter = [&] {
        auto printer = pdfPrinter(pdf, dpi);
        paintArea = printer->pageLayout().paintRect(QPageLayout::Point);
        return printer;
    };
    frmTRV& w = h.make(std::move(services));
    h.showFirstCopy();
    toolbarButton(w, 8)->click(); // Help
    QVERIFY(w.view().helpShown);
    const QSize picture = w.view().helpDrawn;
    QCOMPARE(picture, QSize(820, 692));
    toolbarButton(w, 1)->click(); // Print: the picture, on the default printer
    QVERIFY(h.boxes.asked.empty());

    QFile file(pdf);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(pdf));
    const QByteArray bytes = file.readAll();
    static const QRegularExpression mediaBox(
        QStringLiteral("/MediaBox \\[\\s*[-\\d.]+ [-\\d.]+ [-\\d.]+ ([-\\d.]+)\\s*\\]"));
    const QRegularExpressionMatch media = mediaBox.match(QString::fromLatin1(bytes));
    QVERIFY(media.hasMatch());
    const double pageHeight = media.captured(1).toDouble();
    const std::optional<QRectF> drawn = imageRect(pageContent(bytes));
    QVERIFY2(drawn.has_value(), "no image drawn on the page");

    // A picture pixel is 15 twips, 1/96 inch: 3/4 of a point, at any printer resolution.
    QVERIFY2(qAbs(drawn->width() - picture.width() * 0.75) < 0.5,
             qPrintable(QString::number(drawn->width())));
    QVERIFY2(qAbs(drawn->height() - picture.height() * 0.75) < 0.5,
             qPrintable(QString::number(drawn->height())));
    // At the top-left corner of what the printer can print on.
    QVERIFY2(qAbs(drawn->left() - paintArea.left()) < 0.5, qPrintable(QString::number(drawn->left())));
    QVERIFY2(qAbs(pageHeight - drawn->bottom() - paintArea.top()) < 0.5,
             qPrintable(QString::number(pageHeight - drawn->bottom())));
}

void TestPrint::pagePrintThatFailsIsReported() {
    QTemporaryDir scratch;
    // A printer that cannot start: its output goes into a folder that does not exist.
    const QString pdf = scratch.filePath(QStringLiteral("no-such-folder/page.pdf"));
    ViewerHarness h;
    ViewerServices services = h.services();
    services.printing.defaultPrinter = [&] { return pdfPrinter(pdf, 0); };
    services.printing.printDialog = [](QPrinter&, QWidget*) { return true; };
    frmTRV& w = h.make(std::move(services));
    h.showFirstCopy();
    QVERIFY(h.go(QStringLiteral("tr010005.trv"), QStringLiteral("tr010005.trv")));
    QSignalSpy printed(&w, &frmTRV::pagePrinted);
    toolbarButton(w, 1)->click();
    QTRY_COMPARE_WITH_TIMEOUT(printed.count(), 1, kWait);
    QCOMPARE(printed.at(0).at(0).toBool(), false);
    QTRY_COMPARE(h.boxes.asked.size(), std::size_t{1});
    const QString text = h.boxes.asked[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("Print command Error: ")), qPrintable(text));
    QVERIFY(text.size() > QStringLiteral("Print command Error: ").size()); // with the description
    QCOMPARE(h.boxes.asked[0].title, QStringLiteral("Torvane"));
    QCOMPARE(h.boxes.asked[0].style & 7, 0); // OK only
    QVERIFY(!QFile::exists(pdf));
}

TORVANE_GUI_TEST_MAIN(TestPrint)
#include "tst_print.moc"
