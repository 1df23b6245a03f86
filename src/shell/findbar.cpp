#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <shell/coursebrowser.h>
#include <shell/findbar.h>

namespace torvane::shell {

namespace {
constexpr int kBarHeight = 36;

QToolButton* barButton(QWidget* parent, const QString& text, const QString& name, const QString& spoken) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(name);
    button->setAccessibleName(spoken);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus); // the keyboard stays in the box
    return button;
}
} // namespace

FindBar::FindBar(QWidget& window, CourseBrowser& browser) : QWidget(&window), browser_(browser) {
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(QStringLiteral("Find in the page"));
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    auto* label = new QLabel(QStringLiteral("Find:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setAccessibleName(QStringLiteral("Find in the page"));
    txtFind->setClearButtonEnabled(true);
    label->setBuddy(txtFind);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblFindStatus"));
    lblStatus->setMinimumWidth(90);
    auto* previousButton = barButton(this, QStringLiteral("\u25B2"), QStringLiteral("cmdFindPrevious"),
                                     QStringLiteral("Previous match"));
    auto* nextButton = barButton(this, QStringLiteral("\u25BC"), QStringLiteral("cmdFindNext"),
                                 QStringLiteral("Next match"));
    auto* closeButton = barButton(this, QStringLiteral("\u2715"), QStringLiteral("cmdFindClose"),
                                  QStringLiteral("Close find"));
    row->addWidget(label);
    row->addWidget(txtFind, 1);
    row->addWidget(lblStatus);
    row->addWidget(previousButton);
    row->addWidget(nextButton);
    row->addWidget(closeButton);
    connect(txtFind, &QLineEdit::textEdited, this, [this] { find(false); });
    connect(previousButton, &QToolButton::clicked, this, &FindBar::previous);
    connect(nextButton, &QToolButton::clicked, this, &FindBar::next);
    connect(closeButton, &QToolButton::clicked, this, &FindBar::close);
    txtFind->installEventFilter(this);
    hide();
}

FindBar::~FindBar() = default;

void FindBar::open() {
    show();
    raise();
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
}

void FindBar::close() {
    if (isHidden()) {
        return;
    }
    hide();
    ++asked_;
    browser_.find(QString(), false, {}); // the marks go
    lblStatus->clear();
    browser_.focusPage();
}

void FindBar::next() {
    if (isHidden()) {
        open();
    }
    find(false);
}

void FindBar::previous() {
    if (isHidden()) {
        open();
    }
    find(true);
}

void FindBar::find(bool backward) {
    const int asked = ++asked_;
    const QString text = txtFind->text();
    if (text.isEmpty()) {
        browser_.find(QString(), false, {});
        lblStatus->clear();
        return;
    }
    browser_.find(text, backward, [this, asked](int current, int count) {
        if (asked != asked_) {
            return; // a later search has been asked for
        }
        lblStatus->setText(count == 0 ? QStringLiteral("Not found")
                                      : QStringLiteral("%1 of %2").arg(current).arg(count));
    });
}

bool FindBar::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtFind && e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            find((key->modifiers() & Qt::ShiftModifier) != 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void FindBar::place(const QRect& pageArea) {
    setGeometry(pageArea.left(), pageArea.bottom() + 1 - kBarHeight, pageArea.width(), kBarHeight);
}

QString FindBar::status() const {
    return lblStatus->text();
}

QString FindBar::text() const {
    return txtFind->text();
}

} // namespace torvane::shell
