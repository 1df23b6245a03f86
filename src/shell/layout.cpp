// The main window's layout and its resize handler, which reloads the page in the variant of the new
// size class.
#include <QTimer>
#include <base/twips.h>
#include <router/navigation.h>
#include <shell/coursebrowser.h>
#include <shell/frmtrv.h>
#include <shell/readingaids.h>
#include <shell/sizeclass.h>
#include <shell/videopresenter.h>
#include <shell/wholescreen.h>

namespace torvane::shell {

namespace {
constexpr int kBrowserTopTwips = 360;
constexpr int kOffScreenJumpTwips = 1500;
} // namespace

void frmTRV::layoutBrowser() {
    // The browser covers the whole area below the toolbar row.
    const int top = base::twipsToPixels(kBrowserTopTwips);
    const QRect page(0, top, width(), std::max(0, height() - top));
    browser_->setGeometry(page);
    aids_->place(page);
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
    return screen_->sizeFor(*this);
}

void frmTRV::screenChanged() {
    if (isMaximized()) {
        sizeOrStateChanged(false);
    }
}

void frmTRV::SizeClass() {
    state_.ScreenSize = sizeClassFor(state_.ScreenWidth, state_.ScreenHeight);
    video_->sizeBackdrop(QSize(state_.ScreenWidth, state_.ScreenHeight));
}

frmTRV::WindowLayout frmTRV::currentLayout() const {
    if (isMaximized()) {
        // A maximised window is classified by the whole screen, whatever the frame leaves inside it: it
        // changes when the screen does.
        return {true, wholeScreen()};
    }
    // A hidden window still has the size it was last shown with; a normal window handed the normal
    // state while hidden comes back at its normal size.
    return {false, isVisible() ? size() : normalGeometry().size()};
}

void frmTRV::sizeOrStateChanged(bool stateChanged) {
    layoutBrowser();
    if (!loaded_ || isMinimized()) {
        // Before start-up nothing is classified; a minimised window has no size to classify, and the
        // page stays as it is until it is restored.
        return;
    }
    // The window manager moves and sizes a window it unmaps and maps again (a hidden window, one shown
    // again). Those passing sizes are no resize: what counts is a change of the window's size on screen,
    // or of its state, from the last one handled. A hidden window's new state (handed over to it from a
    // secondary window) is classified at once: the window manager applies it only when the window is
    // shown again, and the page shown then is not loaded a second time.
    if (!isVisible() && !stateChanged) {
        return;
    }
    // A window manager reports a restored (no longer maximised) state before the window has its restored
    // size: taken at once, the maximised size it still has would fill the screen and maximise it again.
    // The restore is classified with the resize that follows, or after a moment when none follows.
    if (stateChanged && isVisible() && handledLayout_.maximized && !isMaximized()) {
        restoreSettling_->start();
        return;
    }
    if (restoreSettling_->isActive()) {
        if (stateChanged) {
            return;
        }
        restoreSettling_->stop();
    }
    if (currentLayout() == handledLayout_) {
        return;
    }
    Form_Resize();
}

void frmTRV::Form_Resize() {
    if (isMinimized()) {
        return;
    }
    handledLayout_ = currentLayout();
    if (windowState() == Qt::WindowNoState && frameGeometry().left() < 0) {
        move(base::twipsToPixels(kOffScreenJumpTwips), base::twipsToPixels(kOffScreenJumpTwips));
    }
    layoutBrowser();
    state_.ScreenHeight = height() + captionHeight();
    state_.ScreenWidth = width();
    const QSize screen = wholeScreen();
    if (state_.ScreenWidth == screen.width() && state_.ScreenHeight == screen.height()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (isMaximized()) {
        state_.ScreenWidth = screen.width();
        state_.ScreenHeight = screen.height();
    }
    SizeClass();
    // The page the browser shows now; after a load that failed, the address that failed, so that the
    // resize tries it again.
    const QString address = browser_->url().toString();
    if (!router::resizeReloads(address)) {
        return;
    }
    const QUrl target(
        router::resizeAddress(address, state_.FileLocn, static_cast<router::ScreenSize>(state_.ScreenSize)));
    // The very page asked for is still loading (the first page while the window is first shown):
    // asking again would only start its load over.
    if (target == browser_->pageOnItsWay()) {
        return;
    }
    browser_->load(target);
}

} // namespace torvane::shell
