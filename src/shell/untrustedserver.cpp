// A course served over https by a server whose certificate this computer does not trust: the learner
// is told so, by name, instead of getting the browser's "This site can't be reached". There is no way
// past it; the toolbar goes on working.
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <shell/frmtrv.h>

namespace torvane::shell {

QString untrustedServerPage(const QString& host, const QString& reason) {
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Course server not trusted</title>"
               "</head><body style=\"font-family: sans-serif; margin: 2em;\">"
               "<h2>The course server %1 is not trusted</h2>"
               "<p>This computer does not trust the certificate of the course server <b>%1</b> (%2), so "
               "Torvane does not show pages from it: someone could be reading or changing them on the "
               "way.</p>"
               "<p>Ask whoever runs the course to give the server a certificate this computer trusts. "
               "The toolbar still works.</p></body></html>")
        .arg(host.toHtmlEscaped(), reason.toHtmlEscaped());
}

void frmTRV::watchCertificates() {
    connect(Web1->page(), &QWebEnginePage::certificateError, this,
            [this](const QWebEngineCertificateError& e) {
                QWebEngineCertificateError error = e;
                error.rejectCertificate();
                untrusted_ = UntrustedServer{error.url(), error.description()};
            });
}

bool frmTRV::showUntrustedServer() {
    if (!untrusted_ ||
        untrusted_->url.adjusted(QUrl::RemoveFragment) != Web1->url().adjusted(QUrl::RemoveFragment)) {
        untrusted_.reset();
        return false;
    }
    const UntrustedServer server = *untrusted_;
    untrusted_.reset();
    // A page of its own, outside the course: nothing is recorded or kept from it.
    Web1->setHtml(untrustedServerPage(server.url.host(), server.reason));
    return true;
}

} // namespace torvane::shell
