#include "ondemandboxes.h"

namespace torvane::app {

QApplication& OnDemandBoxes::application() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    // The browser engine, should this process become the viewer, shares its graphics contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    return *application_;
}

int OnDemandBoxes::show(const base::MessageBoxRequest& request) {
    if (QCoreApplication::instance() != nullptr &&
        qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        pending_.push_back(request);
        return base::mb::OK;
    }
    application();
    return screen_.show(request);
}

void OnDemandBoxes::showPending() {
    std::vector<base::MessageBoxRequest> pending;
    pending.swap(pending_);
    for (const base::MessageBoxRequest& request : pending) {
        show(request);
    }
}

} // namespace torvane::app
