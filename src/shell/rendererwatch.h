#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <functional>

class QWebEnginePage;

namespace torvane::shell {

// Watches the navigations the viewer starts (toolbar, keys, hand-over, resize). A page whose script
// never returns holds its renderer, and a navigation away from it then never completes: the browser
// waits on that renderer. A navigation that has not completed after a while has the page's renderer
// asked a trivial question; when that goes unanswered too, the renderer is stuck and `hung` is called
// with the navigation, which the caller carries out again once it has ended that renderer. A slow
// server or a long page is no hang: its renderer answers.
class RendererWatch final : public QObject {
public:
    RendererWatch(QWebEnginePage& page, std::function<void(const std::function<void()>& navigation)> hung);

    // A navigation to `target` the viewer has just started by calling `navigation`, leaving `leaving`.
    void started(const QUrl& target, const QUrl& leaving, std::function<void()> navigation);
    // The browser has finished loading `url`, successfully or not. The watched navigation is over when
    // that is its target, or when any page other than the one being left has loaded (a redirect).
    void finished(const QUrl& url, bool succeeded);

private:
    void look();
    void unanswered();

    QWebEnginePage& page_;
    std::function<void(const std::function<void()>&)> hung_;
    std::function<void()> navigation_; // the one watched; empty when none is
    QUrl target_;
    QUrl leaving_;
    QTimer look_;
    QTimer answer_;
    int question_ = 0; // which question an answer belongs to
};

} // namespace torvane::shell
