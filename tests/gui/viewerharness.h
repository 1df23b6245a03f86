#pragma once

#include "parts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <base/toolbar.h>
#include <memory>
#include <optional>
#include <platform/sharedblock.h>
#include <router/coursescheme.h>
#include <secondcopy/startup.h>
#include <shell/frmtrv.h>
#include <shell/wholescreen.h>
#include <support/courseserver.h>
#include <support/scriptedboxes.h>

namespace torvane::testing {

// The main window's toolbar button at `position` (0 leftmost), found by its name.
inline QPushButton* toolbarButton(const QWidget& window, int position) {
    return &part<QPushButton>(window, base::kMainToolbar.at(static_cast<std::size_t>(position)).name);
}

// The page names (after "trv2/") of the documents a documentCompleted spy has seen, in order.
inline QStringList completedPages(const QSignalSpy& spy) {
    QStringList pages;
    for (const QList<QVariant>& args : spy) {
        const QString url = args.at(0).value<router::DocumentSnapshot>().locationUrl;
        pages << url.mid(url.indexOf(QStringLiteral("trv2/")) + 5);
    }
    return pages;
}

// A screen of a test's size, which the test can change under a running viewer (another resolution, another
// monitor).
class FakeScreen final : public shell::WholeScreen {
public:
    QSize sizeFor(const QWidget&) const override { return size_; }
    void setSize(QSize size) {
        const bool changed = size != size_;
        size_ = size;
        if (changed) {
            emit this->changed();
        }
    }

private:
    QSize size_;
};

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

    // The services of a viewer on the harness's folders, environment, screen and boxes; a test adds
    // its own (printer, program starts) before make().
    shell::ViewerServices services() {
        shell::ViewerServices services;
        services.messageBoxes = &boxes;
        services.environment = [this](const QString& name) { return env.value(name); };
        if (screen) {
            fakeScreen.setSize(*screen);
            services.screen = &fakeScreen;
        }
        services.endProcess = [this] { ++ended; };
        services.courseRoot = demoCourseRoot();
        return services;
    }

    shell::frmTRV& make() { return make(services()); }
    shell::frmTRV& make(shell::ViewerServices withServices) {
        viewer = std::make_unique<shell::frmTRV>(std::move(withServices));
        return *viewer;
    }

    // Serves `courseRoot` with nginx on loopback and points the viewer at it.
    std::unique_ptr<CourseServer> serveCourse(const QString& courseRoot) {
        auto server = std::make_unique<CourseServer>(courseRoot);
        if (!server->start()) {
            qFatal("%s", qPrintable(server->error()));
        }
        env[QStringLiteral("TORVANE_COURSE_URL")] = server->courseUrl();
        return server;
    }

    // Takes the start-up steps as the program does, on the harness's folders, environment, boxes and
    // `commandLine`: what this copy is.
    secondcopy::Role startUp() {
        secondcopy::StartServices services;
        services.messageBoxes = &boxes;
        services.environment = [this](const QString& name) { return env.value(name); };
        services.commandLine = commandLine;
        start = std::make_unique<secondcopy::StartUp>(std::move(services));
        return start->run();
    }

    // The start-up steps, then the made viewer takes over from them.
    secondcopy::Role load() {
        startUp();
        return viewer->Form_Load(*start);
    }

    // Loads the made viewer as the first copy, shows it as the program does (maximised) or normal,
    // and waits for its first contents page `contents`.
    shell::frmTRV& showFirstCopy(const QString& contents = QStringLiteral("trvc.trv"),
                                 bool maximised = true) {
        if (load() != secondcopy::Role::FirstCopy) {
            qFatal("not the first copy");
        }
        maximised ? viewer->showMaximized() : viewer->show();
        if (!waitForDocument(QStringLiteral("trv2/") + contents)) {
            qFatal("the contents page %s did not complete", qPrintable(contents));
        }
        return *viewer;
    }

    // Waits until a document whose address ends with `suffix` has completed in the browser.
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

    // Navigates the browser to `page` and waits until the document `completes` (a page name) has completed.
    bool go(const QString& page, const QString& completes, int timeoutMs = 20000) {
        QSignalSpy spy(viewer.get(), &shell::frmTRV::documentCompleted);
        viewer->navigateTo(viewer->state().FileLocn + page);
        return QTest::qWaitFor([&] { return completedPages(spy).contains(completes); }, timeoutMs);
    }

    QString historyPath() const { return viewer->state().BillDir + QStringLiteral("history.trv"); }
    QByteArray history() const {
        QFile file(historyPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString runtimeFolder() const { return home.path() + QStringLiteral("/run/torvane"); }
    // The shared block `name` of the runtime folder, opened as another program (a tool, a copy) opens it.
    platform::SharedBlock block(const char* name, std::size_t size) const {
        return platform::SharedBlock::open(runtimeFolder().toStdString(), name, size).block;
    }

    QTemporaryDir home;
    QHash<QString, QString> env;
    QString commandLine;         // what the copy was started with
    std::optional<QSize> screen; // the whole screen the viewer sees; none: the real one
    FakeScreen fakeScreen;       // that screen, which a test may change while the viewer runs
    ScriptedBoxes boxes;
    int ended = 0;
    std::unique_ptr<secondcopy::StartUp> start; // what the start-up steps found
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
