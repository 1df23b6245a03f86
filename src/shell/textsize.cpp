#include <QLabel>
#include <QTimer>
#include <shell/coursebrowser.h>
#include <shell/textsize.h>
#include <shell/textsizesteps.h>

namespace torvane::shell {

namespace {
constexpr int kIndicatorMs = 1200;
} // namespace

TextSize::TextSize(QWidget& window, CourseBrowser& browser) : QObject(&window), browser_(browser) {
    indicator_ = new QLabel(&window);
    indicator_->setObjectName(QStringLiteral("textSizeIndicator"));
    indicator_->setAlignment(Qt::AlignCenter);
    indicator_->setStyleSheet(QStringLiteral("QLabel { background: rgba(32, 32, 32, 215); color: white; "
                                             "border-radius: 8px; padding: 8px 16px; font-size: 15px; }"));
    indicator_->hide();
    hide_ = new QTimer(this);
    hide_->setSingleShot(true);
    hide_->setInterval(kIndicatorMs);
    connect(hide_, &QTimer::timeout, indicator_, &QWidget::hide);
}

TextSize::~TextSize() = default;

void TextSize::bigger() {
    apply(nextTextSize(size_, true));
}

void TextSize::smaller() {
    apply(nextTextSize(size_, false));
}

void TextSize::normal() {
    apply(kNormalTextSize);
}

void TextSize::set(int percent) {
    size_ = isTextSizeStep(percent) ? percent : kNormalTextSize;
    browser_.setTextSize(size_);
}

void TextSize::apply(int percent) {
    const bool changedSize = percent != size_;
    size_ = percent;
    browser_.setTextSize(size_);
    indicator_->setText(QStringLiteral("Text size %1 %").arg(size_));
    indicator_->adjustSize();
    QWidget* window = indicator_->parentWidget();
    indicator_->move((window->width() - indicator_->width()) / 2, indicator_->y());
    indicator_->show();
    indicator_->raise();
    hide_->start();
    if (changedSize) {
        emit changed(size_);
    }
}

void TextSize::place(const QRect& pageArea) {
    indicator_->adjustSize();
    indicator_->move(pageArea.left() + (pageArea.width() - indicator_->width()) / 2, pageArea.top() + 24);
}

bool TextSize::indicatorShown() const {
    return indicator_->isVisible();
}

} // namespace torvane::shell
