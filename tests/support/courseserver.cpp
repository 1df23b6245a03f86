#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <support/courseserver.h>

namespace torvane::testing {

namespace {

int freeLoopbackPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        return 0;
    }
    return probe.serverPort();
}

QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool answers(int port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(200);
}

} // namespace

QString demoCourseRoot() {
    return QStringLiteral(TORVANE_BIN_DIR "/course");
}

bool copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target)) {
            return false;
        }
    }
    return true;
}

CourseServer::CourseServer(QString courseRoot) : courseRoot_(std::move(courseRoot)) {}

CourseServer::~CourseServer() {
    stop();
}

bool CourseServer::start() {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    if (port_ == 0) {
        port_ = freeLoopbackPort(); // a server started again keeps its address
    }
    QString server = readFile(QStringLiteral(TORVANE_SOURCE_DIR "/deploy/nginx/torvane-course.conf"));
    QString listen = QStringLiteral("127.0.0.1:%1").arg(port_);
    if (tls_) {
        listen += QStringLiteral(" ssl; ssl_certificate %1/cert.pem; ssl_certificate_key %1/key.pem")
                      .arg(dir_.path());
    }
    server.replace(QStringLiteral("@LISTEN@"), listen);
    server.replace(QStringLiteral("@COURSE_ROOT@"), courseRoot_);
    const QString d = dir_.path();
    const QString conf = QStringLiteral("pid %1/nginx.pid;\n"
                                        "error_log %1/error.log;\n"
                                        "events { worker_connections 64; }\n"
                                        "http {\n"
                                        "  log_format plain '$request_uri $status';\n"
                                        "  access_log %1/access.log plain;\n"
                                        "  client_body_temp_path %1/body;\n"
                                        "  proxy_temp_path %1/proxy;\n"
                                        "  fastcgi_temp_path %1/fastcgi;\n"
                                        "  uwsgi_temp_path %1/uwsgi;\n"
                                        "  scgi_temp_path %1/scgi;\n"
                                        "%2\n"
                                        "}\n")
                             .arg(d, server);
    QFile file(d + QStringLiteral("/nginx.conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(conf.toUtf8()) < 0) {
        error_ = QStringLiteral("cannot write the nginx configuration");
        return false;
    }
    file.close();
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral("nginx"),
                   {QStringLiteral("-e"), d + QStringLiteral("/error.log"), QStringLiteral("-p"), d,
                    QStringLiteral("-c"), d + QStringLiteral("/nginx.conf"), QStringLiteral("-g"),
                    QStringLiteral("daemon off; master_process off;")});
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("nginx did not start: ") + process_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (answers(port_)) {
            return true;
        }
        if (process_.state() == QProcess::NotRunning) {
            break;
        }
        QThread::msleep(50);
    }
    error_ = QStringLiteral("nginx does not answer: ") + QString::fromUtf8(process_.readAll()) +
             readFile(d + QStringLiteral("/error.log"));
    return false;
}

void CourseServer::stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
}

QString CourseServer::courseUrl() const {
    return QStringLiteral("%1://127.0.0.1:%2/trv_cbt/trv2/").arg(tls_ ? "https" : "http").arg(port_);
}

bool CourseServer::useUntrustedTls() {
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                   QStringLiteral("-keyout"), dir_.path() + QStringLiteral("/key.pem"),
                   QStringLiteral("-out"), dir_.path() + QStringLiteral("/cert.pem")});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        error_ = QStringLiteral("no certificate: ") + QString::fromUtf8(openssl.readAll());
        return false;
    }
    tls_ = true;
    return true;
}

QStringList CourseServer::requests() const {
    return readFile(dir_.path() + QStringLiteral("/access.log")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace torvane::testing
