#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace torvane::testing {

// A course web server on loopback that keeps every byte it is sent: request lines, headers and bodies,
// of every connection, so that a test can tell whether anything (a local file's content) ever reached
// the network. Serves a course folder at /trv_cbt/trv2/ as the sample server does, and answers chosen
// page names with a redirect. Runs in the test's own event loop.
class CaptureServer final : public QObject {
public:
    explicit CaptureServer(QString courseRoot);

    bool start();
    // "http://127.0.0.1:<port>/trv_cbt/trv2/"
    QString courseUrl() const;
    // Answers the page `name` with "302 Found" and `location`.
    void redirect(const QString& name, const QByteArray& location) { redirects_.insert(name, location); }
    // Everything received so far.
    const QByteArray& received() const { return received_; }

private:
    void serve(QTcpSocket* socket);
    QByteArray answer(const QByteArray& path) const;

    QString courseRoot_;
    QTcpServer server_;
    QHash<QString, QByteArray> redirects_;
    QByteArray received_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

} // namespace torvane::testing
