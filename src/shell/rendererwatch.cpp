#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <base/timing.h>
#include <shell/rendererwatch.h>

namespace torvane::shell {

RendererWatch::RendererWatch(QWebEnginePage& page,
                             std::function<void(const std::function<void()>& navigation)> hung)
    : QObject(&page), page_(page), hung_(std::move(hung)) {
    look_.setSingleShot(true);
    look_.setInterval(base::kNavigationLookMs);
    answer_.setSingleShot(true);
    answer_.setInterval(base::kRendererAnswerMs);
    connect(&look_, &QTimer::timeout, this, &RendererWatch::look);
    connect(&answer_, &QTimer::timeout, this, &RendererWatch::unanswered);
}

void RendererWatch::started(const QUrl& target, const QUrl& leaving, std::function<void()> navigation) {
    navigation_ = std::move(navigation);
    target_ = target;
    leaving_ = leaving;
    answer_.stop();
    ++question_;
    look_.start();
}

void RendererWatch::finished(const QUrl& url, bool succeeded) {
    if (!navigation_ || !(url == target_ || (succeeded && url != leaving_))) {
        return;
    }
    navigation_ = nullptr;
    look_.stop();
    answer_.stop();
    ++question_;
}

void RendererWatch::look() {
    if (!navigation_) {
        return;
    }
    const int question = ++question_;
    answer_.start();
    const QPointer<RendererWatch> self(this);
    page_.runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                        [self, question](const QVariant&) {
                            if (self && question == self->question_) {
                                // The renderer answers: the navigation is merely slow. Looked at again later.
                                self->answer_.stop();
                                self->look_.start();
                            }
                        });
}

void RendererWatch::unanswered() {
    if (!navigation_) {
        return;
    }
    const std::function<void()> navigation = std::move(navigation_);
    navigation_ = nullptr;
    ++question_;
    hung_(navigation);
}

} // namespace torvane::shell
