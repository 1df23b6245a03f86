#pragma once

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <router/coursescheme.h>
#include <shell/frmtrv.h>
#include <support/courseserver.h>
#include <support/scriptedboxes.h>

namespace torvane::testing {

// A main window on private folders: its own APPDATA and runtime folder, scripted message boxes, an
// environment of the test's choosing, and an end of program that is only counted.
class ViewerHarness final {
public:
    ViewerHarness() {
        env[QStringLiteral("APPDATA")] = home.path() + QStringLiteral("/appdata");
        env[QStringLiteral("XDG_RUNTIME_DIR")] = home.path() + QStringLiteral("/run");
        env[QStringLiteral("HOME")] = home.path();
        QDir().mkpath(home.path() + QStringLiteral("/run")); // a session's runtime folder always exists
    }

    shell::frmTRV& make() {
        shell::ViewerServices services;
        services.messageBoxes = &boxes;
        services.environment = [this](const QString& name) { return env.value(name); };
        if (screen) {
            services.screenSize = [size = *screen] { return size; };
        }
        services.endProcess = [this] { ++ended; };
        services.courseRoot = demoCourseRoot();
        viewer = std::make_unique<shell::frmTRV>(std::move(services));
        return *viewer;
    }

    // Waits until a document whose address ends with `suffix` has completed in Web1.
    bool waitForDocument(const QString& suffix, int timeoutMs = 20000) {
        QSignalSpy spy(viewer.get(), &shell::frmTRV::documentCompleted);
        if (viewer->lastDocument().locationUrl.endsWith(suffix)) {
            return true;
        }
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            if (viewer->lastDocument().locationUrl.endsWith(suffix)) {
                return true;
            }
            spy.wait(100);
        }
        return viewer->lastDocument().locationUrl.endsWith(suffix);
    }

    QString runtimeFolder() const { return home.path() + QStringLiteral("/run/torvane"); }

    QTemporaryDir home;
    QHash<QString, QString> env;
    std::optional<QSize> screen;
    ScriptedBoxes boxes;
    int ended = 0;
    std::unique_ptr<shell::frmTRV> viewer;
};

} // namespace torvane::testing

// A test main that registers the course scheme before the application object exists.
#define TORVANE_GUI_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char** argv) {                                                                        \
        torvane::router::registerCourseScheme();                                                             \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
