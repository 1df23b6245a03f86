// The main window's layout and its resize handler, which reloads the page in the variant of the new
// size class.
#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineView>
#include <platform/twips.h>
#include <router/navigation.h>
#include <shell/frmtrv.h>

namespace torvane::shell {

namespace {
constexpr int kBrowserTopTwips = 360;
constexpr int kOffScreenJumpTwips = 1500;
} // namespace

void frmTRV::layoutBrowser() {
    // The browser covers the whole area below the toolbar row.
    const int top = platform::twipsToPixels(kBrowserTopTwips);
    Web1->setGeometry(0, top, width(), std::max(0, height() - top));
}

int frmTRV::captionHeight() const {
    // The title bar: the frame above the inner area less the border the frame has below it.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const int above = inner.top() - frame.top();
    const int below = frame.bottom() - inner.bottom();
    return std::max(0, above - below);
}

QSize frmTRV::wholeScreen() const {
    if (services_.screenSize) {
        return services_.screenSize();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

void frmTRV::Form_Resize() {
    // A minimised window has no size to classify; the page stays as it is until it is restored.
    if (isMinimized()) {
        return;
    }
    if (windowState() == Qt::WindowNoState && frameGeometry().left() < 0) {
        move(platform::twipsToPixels(kOffScreenJumpTwips), platform::twipsToPixels(kOffScreenJumpTwips));
    }
    layoutBrowser();
    ScreenHeight = height() + captionHeight();
    ScreenWidth = width();
    const QSize screen = wholeScreen();
    if (ScreenWidth == screen.width() && ScreenHeight == screen.height()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (isMaximized()) {
        ScreenWidth = screen.width();
        ScreenHeight = screen.height();
    }
    SizeClass();
    // Before the first document has completed there is nothing to reload: the first page is on its way.
    const QString address = lastDocument_.locationUrl;
    if (address.isEmpty()) {
        return;
    }
    Web1->setUrl(QUrl(router::resizeAddress(address, FileLocn, static_cast<router::ScreenSize>(ScreenSize))));
}

} // namespace torvane::shell
