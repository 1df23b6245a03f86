// The yardstick for the viewer's start-up: the least a program needs to show the course's first page,
// one browser view reading the bundled course through the same scheme. It loads the contents page of
// the screen's size class, asks the page for its address with one script call as the viewer does, traces
// the completed page like the viewer and ends. With "--turn" it stays, and Page Down follows the page's
// third link as the viewer's >> does: the yardstick for a page turn.
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <base/trace.h>
#include <router/courselocation.h>
#include <router/coursescheme.h>
#include <router/pagenames.h>
#include <shell/sizeclass.h>

namespace {

// Page Down anywhere in the program: the page's third link, read in the viewer's world as the viewer reads
// its links.
class PageTurner final : public QObject {
public:
    explicit PageTurner(QWebEngineView& view) : view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_PageDown) {
            view_.page()->runJavaScript(
                QStringLiteral("document.links.length > 2 ? document.links[2].href : ''"),
                QWebEngineScript::ApplicationWorld, [this](const QVariant& next) {
                    if (!next.toString().isEmpty()) {
                        view_.setUrl(QUrl(next.toString()));
                    }
                });
            return true;
        }
        return QObject::eventFilter(watched, e);
    }

private:
    QWebEngineView& view_;
};

} // namespace

int main(int argc, char* argv[]) {
    using namespace torvane;
    const bool turn = argc > 1 && QByteArray(argv[1]) == "--turn";
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
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&view, turn](bool) {
        base::trace("load-finished", {});
        view.page()->runJavaScript(QStringLiteral("location.href"), QWebEngineScript::ApplicationWorld,
                                   [turn](const QVariant& href) {
                                       base::trace("document-complete", href.toString().toStdString());
                                       if (!turn) {
                                           QCoreApplication::quit();
                                       }
                                   });
    });
    PageTurner turner(view);
    if (turn) {
        app.installEventFilter(&turner);
    }
    view.setUrl(QUrl(QString::fromLatin1(router::kBundledCourseUrl) + router::contentsPage(size)));
    base::trace("window-built", {});
    view.showMaximized();
    base::trace("window-shown", {});
    return QApplication::exec();
}
