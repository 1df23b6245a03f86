// Printing: the page in the browser through the print dialog, or a help picture on the default printer.
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWebEngineView>
#include <base/twips.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

std::unique_ptr<QPrinter> frmTRV::defaultPrinter() const {
    if (services_.defaultPrinter) {
        return services_.defaultPrinter();
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? nullptr : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void frmTRV::printCommand(const QImage* picture) {
    QString error;
    if (picture == nullptr) {
        auto printer = defaultPrinter();
        if (!printer) {
            // No printer set up: the browser's print command is not available.
            message(QStringLiteral("The Print command is currently disabled."));
            error = QStringLiteral("No printer is set up on this computer.");
        } else if (!Web1->url().isEmpty() && !pagePrinter_) {
            const bool chosen = services_.printDialog
                                    ? services_.printDialog(*printer, this)
                                    : QPrintDialog(printer.get(), this).exec() == QDialog::Accepted;
            if (chosen) {
                // The browser prints in the background; the printer must live until it has finished.
                pagePrinter_ = std::move(printer);
                connect(
                    Web1, &QWebEngineView::printFinished, this,
                    [this](bool printed) {
                        pagePrinter_.reset();
                        if (!printed) {
                            message(QStringLiteral("Print command Error: The page could not be printed."));
                        }
                        emit pagePrinted(printed);
                    },
                    Qt::SingleShotConnection);
                Web1->print(pagePrinter_.get());
            }
        }
    } else {
        auto printer = defaultPrinter();
        QPainter painter;
        if (!printer) {
            error = QStringLiteral("No printer is set up on this computer.");
        } else if (!painter.begin(printer.get())) {
            error = QStringLiteral("The printer could not be started.");
        } else {
            // At the page's top-left corner, at its natural size: a picture pixel is a screen pixel
            // of 15 twips (1/96 inch), which a printer covers with many of its own dots.
            const double pixelsPerInch = static_cast<double>(base::kTwipsPerInch) / base::kTwipsPerPixel;
            const QSizeF size(picture->width() * printer->logicalDpiX() / pixelsPerInch,
                              picture->height() * printer->logicalDpiY() / pixelsPerInch);
            painter.drawImage(QRectF(QPointF(0, 0), size), *picture);
            painter.end();
        }
    }
    if (!error.isEmpty()) {
        message(QStringLiteral("Print command Error: ") + error);
    }
}

} // namespace torvane::shell
