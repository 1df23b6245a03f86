// The yardstick for the viewer's start-up: the least a program needs to show the course's first page,
// one browser view reading the bundled course through the same scheme. It loads the contents page of
// the screen's size class, asks the page for its address with one script call as the viewer does, traces
// the completed page like the viewer and ends.
#include <QApplication>
#include <QScreen>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <base/trace.h>
#include <router/courselocation.h>
#include <router/coursescheme.h>
#include <router/pagenames.h>
#include <shell/sizeclass.h>

int main(int argc, char* argv[]) {
    using namespace torvane;
    base::trace("start", {});
    router::registerCourseScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    base::trace("application", {});
    QWebEngineView view;
    router::installCourseScheme(view.page()->profile(), router::bundledCourseRoot());
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const auto size = static_cast<router::ScreenSize>(shell::sizeClassFor(screen.width(), screen.height()));
    QObject::connect(&view, &QWebEngineView::loadStarted, &view, [] { base::trace("load-started", {}); });
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&view](bool) {
        base::trace("load-finished", {});
        view.page()->runJavaScript(QStringLiteral("location.href"), QWebEngineScript::ApplicationWorld,
                                   [](const QVariant& href) {
                                       base::trace("document-complete", href.toString().toStdString());
                                       QCoreApplication::quit();
                                   });
    });
    view.setUrl(QUrl(QString::fromLatin1(router::kBundledCourseUrl) + router::contentsPage(size)));
    base::trace("window-built", {});
    view.showMaximized();
    base::trace("window-shown", {});
    return QApplication::exec();
}
