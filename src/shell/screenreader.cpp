#include <QByteArray>
#include <QtGlobal>
#include <shell/screenreader.h>
#ifdef Q_OS_LINUX
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#endif

namespace torvane::shell {

namespace {

#ifdef Q_OS_LINUX
// One property of the session's AT-SPI status ("IsEnabled": assistive technology is wanted;
// "ScreenReaderEnabled": a screen reader runs). False when there is no session bus or no answer soon.
bool atSpiStatus(const char* property) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.a11y.Status") << QString::fromLatin1(property);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}
#endif

bool assistiveTechnologyWanted() {
    if (!qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
        return true;
    }
#ifdef Q_OS_LINUX
    return atSpiStatus("IsEnabled") || atSpiStatus("ScreenReaderEnabled");
#else
    return false;
#endif
}

} // namespace

void prepareBrowserForScreenReaders() {
    if (!assistiveTechnologyWanted()) {
        return;
    }
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--force-renderer-accessibility")) {
        flags += flags.isEmpty() ? "--force-renderer-accessibility" : " --force-renderer-accessibility";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
}

} // namespace torvane::shell
