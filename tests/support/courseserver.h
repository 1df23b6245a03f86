#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace torvane::testing {

// An nginx course web server on a free loopback port, serving a course folder at /trv_cbt/trv2/
// with the project's sample server configuration. Stopped when destroyed.
class CourseServer final {
public:
    explicit CourseServer(QString courseRoot);
    ~CourseServer();
    CourseServer(const CourseServer&) = delete;
    CourseServer& operator=(const CourseServer&) = delete;

    // Serves over https with a certificate of its own, which nothing trusts. Call before start();
    // false (with error()) when the certificate cannot be made.
    bool useUntrustedTls();

    // Starts nginx and waits until it answers; false (with error()) when it does not. Started again
    // after stop(), it serves on the same port and goes on with the same request log.
    bool start();
    void stop();
    QString error() const { return error_; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port>/trv_cbt/trv2/" (https with TLS)
    QString courseUrl() const;
    // Request paths served so far, in order ("/trv_cbt/trv2/trvc.trv", ...), with their status.
    QStringList requests() const;

private:
    QString courseRoot_;
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    bool tls_ = false;
    QString error_;
};

// The demo course built beside the programs.
QString demoCourseRoot();

// Copies the files of folder `from` and its subfolders into `to`; false when one cannot be copied.
bool copyFolder(const QString& from, const QString& to);

} // namespace torvane::testing
