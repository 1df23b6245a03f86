#include <QFileInfo>
#include <QStandardPaths>
#include <platform/calculator.h>

namespace torvane::platform {

QString findCalculator() {
#ifdef Q_OS_WIN
    return QStandardPaths::findExecutable(QStringLiteral("calc.exe"));
#else
    for (const char* name : {"gnome-calculator", "kcalc", "mate-calc", "galculator", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
#endif
}

QStringList calculatorArguments(const QString& calculator, const QRect& area) {
    if (area.isEmpty()) {
        return {};
    }
    // X11 geometry: width x height, then the offsets, each with its sign.
    const QString geometry =
        QString::asprintf("%dx%d%+d%+d", area.width(), area.height(), area.x(), area.y());
    const QString program = QFileInfo(calculator).fileName();
    if (program == QLatin1String("xcalc")) {
        return {QStringLiteral("-geometry"), geometry};
    }
    if (program == QLatin1String("kcalc")) {
        return {QStringLiteral("-qwindowgeometry"), geometry};
    }
    return {};
}

} // namespace torvane::platform
