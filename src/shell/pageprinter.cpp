#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <base/twips.h>
#include <shell/coursebrowser.h>
#include <shell/pageprinter.h>

namespace torvane::shell {

namespace {
const QString kNoPrinter = QStringLiteral("No printer is set up on this computer.");
} // namespace

PagePrinter::PagePrinter(QWidget& owner, CourseBrowser& browser, PrintServices services,
                         std::function<void(const QString&)> tell)
    : QObject(&owner), owner_(owner), browser_(browser), services_(std::move(services)),
      tell_(std::move(tell)) {
    connect(&browser_, &CourseBrowser::printFinished, this, [this](bool printed) {
        if (!pagePrinter_) {
            return; // not a print of ours
        }
        pagePrinter_.reset();
        if (!printed) {
            tell_(QStringLiteral("Print command Error: The page could not be printed."));
        }
        emit pagePrinted(printed);
    });
}

PagePrinter::~PagePrinter() = default;

std::unique_ptr<QPrinter> PagePrinter::defaultPrinter() const {
    if (services_.defaultPrinter) {
        return services_.defaultPrinter();
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? nullptr : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void PagePrinter::printCommand(const QImage* picture) {
    const QString error = picture == nullptr ? printPage() : printPicture(*picture);
    if (!error.isEmpty()) {
        tell_(QStringLiteral("Print command Error: ") + error);
    }
}

QString PagePrinter::printPage() {
    auto printer = defaultPrinter();
    if (!printer) {
        // No printer set up: the browser's print command is not available.
        tell_(QStringLiteral("The Print command is currently disabled."));
        return kNoPrinter;
    }
    if (browser_.url().isEmpty() || pagePrinter_) {
        return {};
    }
    const bool chosen = services_.printDialog
                            ? services_.printDialog(*printer, &owner_)
                            : QPrintDialog(printer.get(), &owner_).exec() == QDialog::Accepted;
    if (chosen) {
        // The browser prints in the background; the printer must live until it has finished.
        pagePrinter_ = std::move(printer);
        browser_.print(*pagePrinter_);
    }
    return {};
}

QString PagePrinter::printPicture(const QImage& picture) {
    auto printer = defaultPrinter();
    if (!printer) {
        return kNoPrinter;
    }
    QPainter painter;
    if (!painter.begin(printer.get())) {
        return QStringLiteral("The printer could not be started.");
    }
    // At the page's top-left corner, at its natural size: a picture pixel is a screen pixel of 15 twips
    // (1/96 inch), which a printer covers with many of its own dots.
    const double pixelsPerInch = static_cast<double>(base::kTwipsPerInch) / base::kTwipsPerPixel;
    const QSizeF size(picture.width() * printer->logicalDpiX() / pixelsPerInch,
                      picture.height() * printer->logicalDpiY() / pixelsPerInch);
    painter.drawImage(QRectF(QPointF(0, 0), size), picture);
    painter.end();
    return {};
}

} // namespace torvane::shell
