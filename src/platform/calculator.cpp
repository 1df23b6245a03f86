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

} // namespace torvane::platform
