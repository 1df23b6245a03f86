#include <QFile>
#include <QTcpSocket>
#include <router/coursepath.h>
#include <support/captureserver.h>

namespace torvane::testing {

namespace {

const QByteArray kCourseFolder = "/trv_cbt/trv2/";

QByteArray response(const QByteArray& status, const QByteArray& headers, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

CaptureServer::CaptureServer(QString courseRoot) : courseRoot_(std::move(courseRoot)) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] { pending_.remove(socket); });
        }
    });
}

bool CaptureServer::start() {
    return server_.listen(QHostAddress::LocalHost, 0);
}

QString CaptureServer::courseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1/trv_cbt/trv2/").arg(server_.serverPort());
}

void CaptureServer::serve(QTcpSocket* socket) {
    const QByteArray bytes = socket->readAll();
    received_ += bytes;
    QByteArray& request = pending_[socket];
    request += bytes;
    const qsizetype headerEnd = request.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return;
    }
    qsizetype length = 0;
    for (const QByteArray& line : request.left(headerEnd).split('\n')) {
        if (line.toLower().startsWith("content-length:")) {
            length = line.mid(15).trimmed().toLongLong();
        }
    }
    if (request.size() < headerEnd + 4 + length) {
        return; // the body is still on its way
    }
    const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
    socket->write(answer(first.value(1)));
    socket->disconnectFromHost();
    pending_.remove(socket);
}

QByteArray CaptureServer::answer(const QByteArray& path) const {
    const QByteArray plain = path.left(path.indexOf('?') >= 0 ? path.indexOf('?') : path.size());
    if (!plain.startsWith(kCourseFolder)) {
        return response("404 Not Found", "Content-Type: text/plain\r\n", "not found");
    }
    const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(plain.mid(kCourseFolder.size())));
    if (redirects_.contains(name)) {
        return response("302 Found", "Location: " + redirects_.value(name) + "\r\n", {});
    }
    const auto file =
        router::courseFilePath(courseRoot_, QString::fromUtf8(QByteArray::fromPercentEncoding(plain)));
    QFile content(file.value_or(QString()));
    if (!file || !content.open(QIODevice::ReadOnly)) {
        return response("404 Not Found", "Content-Type: text/plain\r\n", "not found");
    }
    return response("200 OK", "Content-Type: " + router::courseMimeType(*file) + "\r\n", content.readAll());
}

} // namespace torvane::testing
